#include "app/mainwindowclass.h"
#include "app/fontmetrics.h"
#include "app/layoutunits.h"
#include "mainwindow/clientsize.h"
#include "mainwindow/wndproc.h"

enum { kIconGroup = 101 };

ATOM RegisterMainWindowClass(HINSTANCE instance) {
    // Every field assigned rather than the whole zeroed: no memset without a runtime.
    WNDCLASSEXW windowClass;
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = TESSARY_WNDPROC;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconGroup));
    windowClass.hCursor = LoadCursorW(NULL, IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    windowClass.lpszMenuName = NULL;
    windowClass.lpszClassName = TESSARY_CLASS_NAME;
    windowClass.hIconSm = NULL;
    return RegisterClassExW(&windowClass);
}

HWND CreateMainWindow(HINSTANCE instance) {
    int baseX, baseY;
    GetFontBaseUnits((HFONT)GetStockObject(DEFAULT_GUI_FONT), &baseX, &baseY);
    HWND window = CreateWindowExW(
        WS_EX_TOPMOST | WS_EX_WINDOWEDGE, TESSARY_CLASS_NAME, TESSARY_TITLE,
        WS_POPUP | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU,
        UnitsToPixelsX(70, baseX, kReferenceBaseX), UnitsToPixelsY(130, baseY, kReferenceBaseY),
        UnitsToPixelsX(400, baseX, kReferenceBaseX), UnitsToPixelsY(171, baseY, kReferenceBaseY),
        NULL, NULL, instance, NULL);
    if (window)
        SetFormClientSize(window, baseX, baseY);
    return window;
}
