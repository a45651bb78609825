#pragma once
#include <windows.h>

// What the baselines that the program is measured against share, and the
// bare one's window. They are compiled like the program (no C runtime) so
// that the baseline executables and the benchmark runner can share them.

#define BARE_CLASS_NAME L"Tessary_Bare_Class"

// The program's class fields with another window procedure.
ATOM RegisterBaselineClass(HINSTANCE instance, const WCHAR* name, WNDPROC windowProc, HICON icon);

// Leaves everything to the system but ends the loop when the window goes.
LRESULT CALLBACK BaselineWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The bare window: one captioned window with one push button, hidden.
ATOM RegisterBareClass(HINSTANCE instance);
HWND CreateBareWindow(HINSTANCE instance);

// The show command of the start-up information, as the program reads it.
int StartupShowCommand();

// A plain message loop; with a dialog window, keyboard navigation goes
// through IsDialogMessageW first. Returns the WM_QUIT exit code.
int RunBaselineLoop(HWND dialog);
