#pragma once
#include <windows.h>

// The two baseline windows that the program is measured against. Both are
// compiled like the program (no C runtime) so that the baseline executables
// and the benchmark runner can share them.

#define FLOOR_CLASS_NAME L"Tessary_Floor_Class"
#define BARE_CLASS_NAME L"Tessary_Bare_Class"

// The class of both baselines: the program's class fields with a window
// procedure that leaves everything to the system.
ATOM RegisterBaselineClass(HINSTANCE instance, const WCHAR* name, HICON icon);

// The floor: the program's window class fields, window styles and size, and
// its 29 controls with their classes, styles, rectangles and font, but none
// of the program's own logic. Created hidden and centred on the work area.
ATOM RegisterFloorClass(HINSTANCE instance);
HWND CreateFloorWindow(HINSTANCE instance);

// The bare window: one captioned window with one push button, hidden.
ATOM RegisterBareClass(HINSTANCE instance);
HWND CreateBareWindow(HINSTANCE instance);

// The show command of the start-up information, as the program reads it.
int StartupShowCommand();

// A plain message loop; with a dialog window, keyboard navigation goes
// through IsDialogMessageW first. Returns the WM_QUIT exit code.
int RunBaselineLoop(HWND dialog);
