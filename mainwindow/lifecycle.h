#pragma once
#include <windows.h>

// WM_CREATE: the focus record, the window font and the controls. -1 when the
// focus record cannot be had, before anything else is done.
LRESULT HandleCreate(HWND window, LPARAM createParams);
// WM_DESTROY: releases what creation acquired and ends the message loop.
LRESULT HandleDestroy(HWND window);
