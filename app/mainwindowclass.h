#pragma once
#include <windows.h>

#define TESSARY_CLASS_NAME L"Quillmar_Tessary_Class"
#define TESSARY_TITLE L"Ferrolyn Tessary"

// Registers the main window's class for this process; 0 on failure.
ATOM RegisterMainWindowClass(HINSTANCE instance);

// Creates the hidden, topmost main window and gives it the form's client
// size; NULL when creation fails.
HWND CreateMainWindow(HINSTANCE instance);
