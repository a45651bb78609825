#pragma once
#include <windows.h>

// DM_GETDEFID and DM_SETDEFID.
LRESULT HandleGetDefId(HWND window);
LRESULT HandleSetDefId(HWND window, WPARAM wParam);
