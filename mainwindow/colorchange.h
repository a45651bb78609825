#pragma once
#include <windows.h>

// WM_SYSCOLORCHANGE: passed on to every control. The system sends it to
// top-level windows only, and the common controls refresh the colours they
// keep only when they receive it themselves.
void HandleSysColorChange(HWND window, WPARAM wParam, LPARAM lParam);
