#pragma once
#include <windows.h>

// The window that plays the dialog for the given one: the nearest
// ancestor-or-self that is not a child, or that is an MDI child.
HWND FindDialogWindow(HWND window);
