#pragma once
#include <windows.h>

// The program: registers its class, creates, shows and runs the main window,
// and returns the exit code. It takes the UTF-16 command-line tail, so it has
// the platform's name for a wide WinMain.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);
