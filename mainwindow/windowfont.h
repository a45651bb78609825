#pragma once
#include <windows.h>

// The window font lives in the window property "FONT" and nowhere else.
LRESULT HandleSetFont(HWND window, HFONT font, BOOL redraw);
LRESULT HandleGetFont(HWND window);
// Removes the font from the window and deletes it: the window owns it.
void ReleaseWindowFont(HWND window);
