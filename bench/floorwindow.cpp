#include "bench/floorwindow.h"
#include "app/fontmetrics.h"
#include "app/layoutunits.h"
#include "app/instance.h"
#include "bench/baselinewindows.h"
#include "bench/replay.h"
#include "mainwindow/clientsize.h"
#include "mainwindow/controlids.h"
#include "mainwindow/controltable.h"

namespace {

enum { kIconGroup = 101 };

const DWORD kFloorStyle = WS_POPUP | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;
const DWORD kFloorExStyle = WS_EX_TOPMOST | WS_EX_WINDOWEDGE;

// Where the program's window procedure runs its rules for a click, the
// floor's plays what they called.
LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (Replay* replay = (Replay*)GetWindowLongPtrW(window, GWLP_USERDATA))
            PlayNotification(replay);
    }
    return BaselineWindowProc(window, message, wParam, lParam);
}

HWND CreateFloorFrame(HINSTANCE instance) {
    HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    int baseX, baseY;
    GetFontBaseUnits(font, &baseX, &baseY);

    // The final size and place in one go: the least the system has to do to
    // put a window with this client area in the middle of the work area.
    RECT frame = {0, 0, UnitsToPixelsX(kClientWidthUnits, baseX, kReferenceBaseX),
                  UnitsToPixelsY(kClientHeightUnits, baseY, kReferenceBaseY)};
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
    // platform work the program cannot avoid.
    g_instance = instance;
    CreateFormControls(window, font, baseX, baseY);
    return window;
}

} // namespace

ATOM RegisterFloorClass(HINSTANCE instance) {
    return RegisterBaselineClass(instance, FLOOR_CLASS_NAME, FloorWindowProc,
                                 LoadIconW(instance, MAKEINTRESOURCEW(kIconGroup)));
}

HWND CreateFloorWindow(HINSTANCE instance, const WCHAR* startupReplay) {
    HWND window = CreateFloorFrame(instance);
    Replay replay;
    if (!window || !LoadReplay(window, startupReplay, &replay)) {
        if (window)
            DestroyWindow(window);
        return NULL;
    }
    SetFloorReplay(window, &replay);
    SendMessageW(GetDlgItem(window, IDC_CENTER_HORZ), BM_CLICK, 0, 0);
    SetFloorReplay(window, NULL);
    FreeReplay(&replay);
    return window;
}

void SetFloorReplay(HWND floor, Replay* replay) {
    if (replay)
        replay->next = 0;
    SetWindowLongPtrW(floor, GWLP_USERDATA, (LONG_PTR)replay);
}
