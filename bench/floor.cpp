// The floor: what the program cannot avoid doing to show its form (COM, the
// version 6 common controls of the same manifest, the window and its 29
// controls with their font, the start-up click and the calls its rules make
// on the controls, the dialog navigation of the message loop), with the
// program's own entry-point style and none of its logic. The runner gives
// the replay of the program's start-up click as the command line.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include "app/commandline.h"
#include "bench/baselinewindows.h"
#include "bench/floorwindow.h"

enum { kExitFailedStart = 1 };

static int RunFloor(HINSTANCE instance, LPWSTR startupReplay, int showCommand) {
    if (!RegisterFloorClass(instance))
        return kExitFailedStart;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    HWND window = CreateFloorWindow(instance, startupReplay);
    if (!window)
        return kExitFailedStart;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return RunBaselineLoop(window);
}

extern "C" void FloorStartup(void) {
    int showCommand = StartupShowCommand();
    LPWSTR startupReplay = SkipProgramName(GetCommandLineW());
    HINSTANCE instance = GetModuleHandleW(NULL);
    CoInitialize(NULL);
    int exitCode = RunFloor(instance, startupReplay, showCommand);
    CoUninitialize();
    ExitProcess((UINT)exitCode);
}
