#pragma once
#include <windows.h>

// What a control says of itself to the dialog manager (WM_GETDLGCODE).
LRESULT QueryDlgCode(HWND control);
BOOL IsPushButton(HWND control);
BOOL HasDefaultLook(HWND control);

// Gives a push button the default look (BS_DEFPUSHBUTTON) or takes it off
// (BS_PUSHBUTTON), redrawing it at once.
void SetButtonLook(HWND button, DWORD style);
