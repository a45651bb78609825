#include "bench/baselinewindows.h"
#include "app/layoutunits.h"
#include "bench/floortable.h"

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

    for (const FloorControl& row : kFloorControls) {
        HWND control = CreateWindowExW(0, row.className, row.caption, row.style,
                                       UnitsToPixelsX(row.x, baseX, kReferenceBaseX),
                                       UnitsToPixelsY(row.y, baseY, kReferenceBaseY),
                                       UnitsToPixelsX(row.width, baseX, kReferenceBaseX),
                                       UnitsToPixelsY(row.height, baseY, kReferenceBaseY), window,
                                       (HMENU)(UINT_PTR)row.id, instance, NULL);
        if (row.takesFont)
            SendMessageW(control, WM_SETFONT, (WPARAM)font, TRUE);
    }
    return window;
}
