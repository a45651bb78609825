#pragma once
#include <windows.h>

// WM_DESTROY: releases what creation acquired and ends the message loop.
LRESULT HandleDestroy(HWND window);
