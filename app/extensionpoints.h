#pragma once
#include <windows.h>

// Where the shell calls out. Each returns 0 to let start-up go on.
int OnAppStart(HINSTANCE instance, LPWSTR commandLine);
int OnMainWindowCreated(HWND mainWindow, LPWSTR commandLine);
int OnPreTranslateMessage(HWND mainWindow, MSG* message);
void OnAppExit(HINSTANCE instance);
