#pragma once
#include <windows.h>

// Runs until WM_QUIT or an error of GetMessageW; the record keeps the last
// message retrieved.
void RunMessageLoop(HWND mainWindow, MSG* message);
