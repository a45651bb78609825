#pragma once
#include <windows.h>

// The first control of the window's dialog drawn as the default push button.
HWND FindDefaultStyledButton(HWND window);
// The first push button of the window's dialog with this identifier; NULL for 0.
HWND FindPushButtonById(HWND window, WORD id);
