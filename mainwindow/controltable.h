#pragma once
#include <windows.h>

enum { kControlCount = 29 };

// Creates the form's 29 controls in tab order, placed in layout units scaled
// by the font's base units; all but the separator lines get the font.
void CreateFormControls(HWND window, HFONT font, int baseX, int baseY);
