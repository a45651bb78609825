#pragma once
#include <windows.h>

// Layout units: one sixth of the font's average character width across and
// one thirteenth of its height down, so the form scales with its font.
enum { kReferenceBaseX = 6, kReferenceBaseY = 13 };

// number * multiplier / divisor to the nearest integer, halves away from
// zero, for a multiplier of 0 to 65535, a divisor of 1 to 65535 (font metrics
// and screen DPI) and a result that fits an int.
int MulDivRounded(int number, int multiplier, int divisor);
// The screen's logical pixels per inch, read once per process.
int GetScreenDpiX();
int GetScreenDpiY();
// Pixels for a length in layout units of a font of these base units. With no
// font base (0, nothing measured) the length is taken as pixels at 96 DPI;
// with no reference base (0), as dialog units.
int UnitsToPixelsX(int length, int fontBase, int referenceBase);
int UnitsToPixelsY(int length, int fontBase, int referenceBase);
