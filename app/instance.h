#pragma once
#include <windows.h>

// The module that every window of the program is created with; set once, as
// the first step of WinMain.
extern HINSTANCE g_instance;
