#pragma once
#include <windows.h>

// The main window's hooks on its own life. None has behaviour of its own: each
// returns FALSE, so the message takes its default course.
BOOL OnFormCreate(HWND window, LPARAM createParams, LRESULT* result);
BOOL OnFormClose(HWND window);
BOOL OnFormQueryEndSession(HWND window, WPARAM wParam, LPARAM lParam, LRESULT* result);
void OnFormDestroy(HWND window, int* exitCode);
BOOL OnFormSize(HWND window, UINT sizeType, int clientWidth, int clientHeight);
