#pragma once
#include <windows.h>

// Resizes the window, without moving or activating it, so that its client
// area is width x height pixels.
void SetClientSize(HWND window, int width, int height);

// Centres the window on the reference window, or on the primary work area
// when there is none, keeping it inside the work area.
BOOL CenterWindow(HWND window, HWND reference);
