#pragma once
#include <windows.h>

// WM_COMMAND: routes a click to the handler of its control family. Returns the
// handled flag; FALSE passes the command on to DefWindowProcW.
BOOL HandleCommand(HWND window, WPARAM wParam, LPARAM lParam);

BOOL OnCloseClicked(HWND window, HWND control);
BOOL OnActionClicked(HWND window, HWND control);
BOOL OnActOnClicked(HWND window, HWND control);
BOOL OnRelativeToClicked(HWND window, HWND control);
BOOL OnUnitClicked(HWND window, HWND control);
