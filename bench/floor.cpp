// The floor: what the program cannot avoid doing to show its form (COM, the
// version 6 common controls of the same manifest, the window and its 29
// controls with their font, the dialog navigation of the message loop), with
// the program's own entry-point style and none of its logic.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include "bench/baselinewindows.h"

enum { kExitFailedStart = 1 };

static int RunFloor(HINSTANCE instance, int showCommand) {
    if (!RegisterFloorClass(instance))
        return kExitFailedStart;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    HWND window = CreateFloorWindow(instance);
    if (!window)
        return kExitFailedStart;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return RunBaselineLoop(window);
}

extern "C" void FloorStartup(void) {
    int showCommand = StartupShowCommand();
    HINSTANCE instance = GetModuleHandleW(NULL);
    CoInitialize(NULL);
    int exitCode = RunFloor(instance, showCommand);
    CoUninitialize();
    ExitProcess((UINT)exitCode);
}
