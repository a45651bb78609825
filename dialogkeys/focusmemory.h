#pragma once
#include <windows.h>

// Remembers the focused control as the window is deactivated, and takes the
// default look off its buttons.
LRESULT SaveDialogFocus(HWND window);
// Gives the focus back to the remembered control, or to the first tab stop,
// as the window is activated or receives the focus.
LRESULT RestoreDialogFocus(HWND window);
