#pragma once
#include <windows.h>

// The dialog-manager work that the main window does for its controls. Every
// operation accepts the main window or any control in it.

// Next (or, with previous, the preceding) visible, enabled WS_TABSTOP child
// after start, descending into WS_EX_CONTROLPARENT containers; no wrap-around.
HWND GetNextTabStop(HWND parent, HWND start, BOOL previous);
// The target when it is a visible, enabled control of the dialog; otherwise
// the first tab stop, so that the keyboard focus always lands somewhere usable.
HWND UsableTabTarget(HWND dialog, HWND target);

// The first control of the dialog drawn as the default push button.
HWND FindDefaultStyledButton(HWND window);
// The first push button of the dialog with this identifier; NULL for 0.
HWND FindPushButtonById(HWND window, WORD id);

// Moves the keyboard focus, keeping text selection and the default look right.
void SetDialogFocus(HWND window, HWND control);
LRESULT HandleNextDlgCtl(HWND window, WPARAM wParam, LPARAM lParam);
LRESULT SaveDialogFocus(HWND window);
LRESULT RestoreDialogFocus(HWND window);

LRESULT HandleGetDefId(HWND window);
LRESULT HandleSetDefId(HWND window, WPARAM wParam);

// Use instead of EnableWindow: moves the focus off a control being disabled
// and keeps the default look on the right button.
void EnableDialogControl(HWND control, BOOL enable);
