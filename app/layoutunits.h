#pragma once
#include <windows.h>

// Layout units: one sixth of the font's average character width across and
// one thirteenth of its height down, so the form scales with its font.
enum { kReferenceBaseX = 6, kReferenceBaseY = 13 };

// Average character width from the extent of "A".."Z" "a".."z" in pixels.
int AverageCharWidth(int alphabetExtent);
void GetFontBaseUnits(HFONT font, int* averageWidth, int* height);
int MulDivRounded(int number, int multiplier, int divisor);
int GetScreenDpiX();
int GetScreenDpiY();
int UnitsToPixelsX(int length, int fontBase, int referenceBase);
int UnitsToPixelsY(int length, int fontBase, int referenceBase);
