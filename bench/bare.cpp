// The bare baseline: one captioned window with one push button, built like
// the program but with no COM and no common-controls set-up of its own.
#include <windows.h>
#include "bench/baselinewindows.h"

enum { kExitFailedStart = 1 };

extern "C" void BareStartup(void) {
    int showCommand = StartupShowCommand();
    HINSTANCE instance = GetModuleHandleW(NULL);
    int exitCode = kExitFailedStart;
    HWND window = RegisterBareClass(instance) ? CreateBareWindow(instance) : NULL;
    if (window) {
        ShowWindow(window, showCommand);
        UpdateWindow(window);
        exitCode = RunBaselineLoop(NULL);
    }
    ExitProcess((UINT)exitCode);
}
