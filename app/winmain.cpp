#include "app/winmain.h"
#include <commctrl.h>
#include "app/extensionpoints.h"
#include "app/instance.h"
#include "app/mainwindowclass.h"
#include "app/messageloop.h"
#include "app/placement.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand) {
    g_instance = instance;
    if (!RegisterMainWindowClass(instance))
        return 0;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    if (OnAppStart(instance, commandLine))
        return 0;

    HWND window = CreateMainWindow(instance);
    if (!window)
        return 0;
    if (OnMainWindowCreated(window, commandLine)) {
        SendMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    CenterWindow(window, NULL);
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    // Not zeroed as a whole (a memset call where no runtime supplies one): the
    // exit code is all that is read after the loop.
    MSG message;
    message.wParam = 0;
    RunMessageLoop(window, &message);
    OnAppExit(instance);
    return (int)message.wParam;
}
