#pragma once
#include <windows.h>

// WM_CREATE: the focus record, the window font and the controls. -1 when the
// focus record cannot be had, before anything else is done.
LRESULT HandleCreate(HWND window, LPARAM createParams);
