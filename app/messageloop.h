#pragma once
#include <windows.h>

// What the loop does with one message: the pre-translation hook, then the
// dialog navigation of the focus's dialog window, then translation and
// dispatch of what the navigation declines.
void HandleLoopMessage(HWND mainWindow, MSG* message);

// Runs until WM_QUIT or an error of GetMessageW. TRUE for WM_QUIT, whose exit
// code the record then holds in wParam; FALSE for an error.
BOOL RunMessageLoop(HWND mainWindow, MSG* message);
