#include "bench/baselinewindows.h"

LRESULT CALLBACK BaselineWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Like the program, the baselines zero no structure as a whole: that is a memset
// call, and they link no runtime to supply it.
ATOM RegisterBaselineClass(HINSTANCE instance, const WCHAR* name, WNDPROC windowProc, HICON icon) {
    WNDCLASSEXW windowClass;
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorW(NULL, IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    windowClass.lpszMenuName = NULL;
    windowClass.lpszClassName = name;
    windowClass.hIconSm = NULL;
    return RegisterClassExW(&windowClass);
}

ATOM RegisterBareClass(HINSTANCE instance) {
    return RegisterBaselineClass(instance, BARE_CLASS_NAME, BaselineWindowProc, NULL);
}

HWND CreateBareWindow(HINSTANCE instance) {
    HWND window = CreateWindowExW(0, BARE_CLASS_NAME, L"Tessary bare",
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 240, 120, NULL, NULL, instance, NULL);
    if (window)
        CreateWindowExW(0, L"Button", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                        80, 40, 75, 23, window, (HMENU)(UINT_PTR)IDOK, instance, NULL);
    return window;
}

int StartupShowCommand() {
    STARTUPINFOW startup;
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}

int RunBaselineLoop(HWND dialog) {
    MSG message;
    message.wParam = 0;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        if (dialog && IsDialogMessageW(dialog, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return (int)message.wParam;
}
