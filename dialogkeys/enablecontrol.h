#pragma once
#include <windows.h>

// Use instead of EnableWindow: moves the focus off a control being disabled
// and keeps the default look on the right button.
void EnableDialogControl(HWND control, BOOL enable);
