#include "bench/baselinewindows.h"
#include "app/fontmetrics.h"
#include "app/layoutunits.h"
#include "app/instance.h"
#include "mainwindow/controltable.h"

namespace {

enum { kIconGroup = 101 };

const DWORD kFloorStyle = WS_POPUP | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;
const DWORD kFloorExStyle = WS_EX_TOPMOST | WS_EX_WINDOWEDGE;

} // namespace

ATOM RegisterFloorClass(HINSTANCE instance) {
    return RegisterBaselineClass(instance, FLOOR_CLASS_NAME,
                                 LoadIconW(instance, MAKEINTRESOURCEW(kIconGroup)));
}

HWND CreateFloorWindow(HINSTANCE instance) {
    HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    int baseX, baseY;
    GetFontBaseUnits(font, &baseX, &baseY);

    // The final size and place in one go: the least the system has to do to
    // put a window with this client area in the middle of the work area.
    RECT frame = {0, 0, UnitsToPixelsX(394, baseX, kReferenceBaseX),
                  UnitsToPixelsY(136, baseY, kReferenceBaseY)};
    AdjustWindowRectEx(&frame, kFloorStyle, FALSE, kFloorExStyle);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, sizeof work, &work, 0);
    HWND window = CreateWindowExW(kFloorExStyle, FLOOR_CLASS_NAME, L"Tessary floor", kFloorStyle,
                                  work.left + (work.right - work.left - width) / 2,
                                  work.top + (work.bottom - work.top - height) / 2, width, height,
                                  NULL, NULL, instance, NULL);
    if (!window)
        return NULL;

    // The same 29 controls through the same creation loop: creating them is
    // platform work the program cannot avoid; nothing of the rules runs.
    g_instance = instance;
    CreateFormControls(window, font, baseX, baseY);
    return window;
}
