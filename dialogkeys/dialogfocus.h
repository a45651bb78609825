#pragma once
#include <windows.h>

// Moves the keyboard focus to a control of the window's dialog, keeping text
// selection and the default look right.
void SetDialogFocus(HWND window, HWND control);
// WM_NEXTDLGCTL.
LRESULT HandleNextDlgCtl(HWND window, WPARAM wParam, LPARAM lParam);
