#pragma once
#include <windows.h>

// The main window's procedure, exported under this name.
extern "C" LRESULT CALLBACK TESSARY_WNDPROC(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
