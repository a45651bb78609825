// The process's entry point. The program carries no C runtime start-up: this
// is all that runs before and after WinMain.
#include <windows.h>
#include <objbase.h>
#include "app/commandline.h"
#include "app/winmain.h"

enum { kExitUnsupportedPlatform = 255 };

// The structures below are filled by the calls, not zeroed first: zeroing them
// would make the compiler call memset, which no runtime supplies here.
static bool IsNtPlatform() {
    OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

static int StartupShowCommand() {
    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}

extern "C" void TessaryStartup(void) {
    if (!IsNtPlatform()) {
        MessageBoxA(NULL, "Win98 No Support", NULL, MB_TASKMODAL | MB_SETFOREGROUND);
        ExitProcess(kExitUnsupportedPlatform);
    }
    int showCommand = StartupShowCommand();
    LPWSTR commandLine = SkipProgramName(GetCommandLineW());
    HINSTANCE instance = GetModuleHandleW(NULL);
    CoInitialize(NULL);
    int exitCode = wWinMain(instance, NULL, commandLine, showCommand);
    CoUninitialize();
    ExitProcess((UINT)exitCode);
}
