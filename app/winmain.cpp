#include "app/winmain.h"
#include <commctrl.h>
#include "app/extensionpoints.h"
#include "app/instance.h"
#include "app/mainwindowclass.h"
#include "app/messageloop.h"
#include "app/placement.h"

// A start-up or a loop that failed, told apart from a close, which gives 0.
enum { kExitFailure = 1 };

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand) {
    g_instance = instance;
    if (!RegisterMainWindowClass(instance))
        return kExitFailure;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    if (OnAppStart(instance, commandLine))
        return 0;

    HWND window = CreateMainWindow(instance);
    if (!window)
        return kExitFailure;
    if (OnMainWindowCreated(window, commandLine)) {
        SendMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    CenterWindow(window, NULL);
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    BOOL quit = RunMessageLoop(window, &message);
    OnAppExit(instance);
    return quit ? (int)message.wParam : kExitFailure;
}
