#pragma once
#include <windows.h>

// A font's base units: its average character width and its character height
// in pixels, measured on the screen.
void GetFontBaseUnits(HFONT font, int* averageWidth, int* height);

// Average character width from the extent of "A".."Z" "a".."z" in pixels.
int AverageCharWidth(int alphabetExtent);
