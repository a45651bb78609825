#pragma once
#include <windows.h>

// Next (or, with previous, the preceding) visible, enabled WS_TABSTOP child
// after start, descending into WS_EX_CONTROLPARENT containers; no wrap-around.
HWND GetNextTabStop(HWND parent, HWND start, BOOL previous);
// The target when it is a visible, enabled control of the dialog; otherwise
// the first tab stop, so that the keyboard focus always lands somewhere usable.
HWND UsableTabTarget(HWND dialog, HWND target);
