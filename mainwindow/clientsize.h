#pragma once
#include <windows.h>

// The form's client area, in layout units of its font.
enum { kClientWidthUnits = 394, kClientHeightUnits = 136 };

// Gives the window that client area for a font of these base units, without
// moving or activating it.
void SetFormClientSize(HWND window, int baseX, int baseY);
// The same, measured from the window's own font; nothing else moves.
void RestoreClientSize(HWND window);
