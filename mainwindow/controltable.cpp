#include "mainwindow/controltable.h"
#include "app/instance.h"
#include "app/layoutunits.h"
#include "mainwindow/controlids.h"

namespace {

enum : DWORD {
    kCloseStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_CENTER | BS_VCENTER |
                  BS_DEFPUSHBUTTON,
    kHeadingStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_CENTERIMAGE | SS_CENTER,
    kLineStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_BLACKFRAME,
    kRadioStyle =
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_VCENTER | BS_LEFT | BS_AUTORADIOBUTTON,
    // The first radio button of a column starts its group and is its tab stop.
    kFirstRadioStyle = kRadioStyle | WS_GROUP | WS_TABSTOP,
};

struct ControlRow {
    WORD id;
    const WCHAR* className;
    const WCHAR* caption;
    DWORD style;
    short x, y, width, height;
    bool takesFont;
};

const WCHAR kButton[] = L"Button";
const WCHAR kStatic[] = L"Static";

const ControlRow kControls[kControlCount] = {
    {IDC_CLOSE, kButton, L"Close", kCloseStyle, 319, 99, 63, 21, true},
    {IDC_ACTION_LABEL, kStatic, L"Action", kHeadingStyle, 5, 1, 81, 15, true},
    {IDC_ACTION_LINE, kStatic, L"", kLineStyle, 10, 16, 71, 2, false},
    {IDC_CENTER_HORZ, kButton, L"Center(Horz)", kFirstRadioStyle, 5, 21, 86, 15, true},
    {IDC_CENTER_VERT, kButton, L"Center(Vert)", kRadioStyle, 5, 36, 86, 15, true},
    {IDC_MOVE, kButton, L"Move", kRadioStyle, 5, 51, 86, 15, true},
    {IDC_STRETCH, kButton, L"Stretch", kRadioStyle, 5, 66, 86, 15, true},
    {IDC_ACTON_LABEL, kStatic, L"Act On", kHeadingStyle, 95, 1, 92, 15, true},
    {IDC_ACTON_LINE, kStatic, L"", kLineStyle, 100, 16, 85, 2, false},
    {IDC_ACTON_LEFT, kButton, L"Left", kFirstRadioStyle, 95, 21, 60, 15, true},
    {IDC_ACTON_TOP, kButton, L"Top", kRadioStyle, 95, 36, 60, 15, true},
    {IDC_ACTON_RIGHT, kButton, L"Right", kRadioStyle, 95, 51, 60, 15, true},
    {IDC_ACTON_BOTTOM, kButton, L"Bottom", kRadioStyle, 95, 66, 60, 15, true},
    {IDC_ACTON_WIDTH, kButton, L"Width", kRadioStyle, 95, 81, 60, 15, true},
    {IDC_ACTON_HEIGHT, kButton, L"Height", kRadioStyle, 95, 96, 60, 15, true},
    {IDC_ACTON_CONTROL, kButton, L"Control", kRadioStyle, 95, 111, 60, 15, true},
    {IDC_RELTO_LABEL, kStatic, L"Relative To", kHeadingStyle, 199, 1, 97, 15, true},
    {IDC_RELTO_LINE, kStatic, L"", kLineStyle, 204, 16, 89, 2, false},
    {IDC_RELTO_LEFT, kButton, L"Left", kFirstRadioStyle, 199, 21, 60, 15, true},
    {IDC_RELTO_TOP, kButton, L"Top", kRadioStyle, 199, 36, 60, 15, true},
    {IDC_RELTO_RIGHT, kButton, L"Right", kRadioStyle, 199, 51, 60, 15, true},
    {IDC_RELTO_BOTTOM, kButton, L"Bottom", kRadioStyle, 199, 66, 60, 15, true},
    {IDC_RELTO_WIDTH, kButton, L"Width", kRadioStyle, 199, 81, 60, 15, true},
    {IDC_RELTO_HEIGHT, kButton, L"Height", kRadioStyle, 199, 96, 60, 15, true},
    {IDC_RELTO_CONTROL, kButton, L"Control", kRadioStyle, 199, 111, 60, 15, true},
    {IDC_OFFSET_LABEL, kStatic, L"Offset", kHeadingStyle, 307, 1, 81, 15, true},
    {IDC_OFFSET_LINE, kStatic, L"", kLineStyle, 312, 16, 71, 2, false},
    {IDC_OFFSET, kButton, L"Offset", kFirstRadioStyle, 307, 21, 86, 15, true},
    {IDC_PERCENT, kButton, L"Percent", kRadioStyle, 307, 36, 86, 15, true},
};

} // namespace

void CreateFormControls(HWND window, HFONT font, int baseX, int baseY) {
    for (const ControlRow& row : kControls) {
        HWND control = CreateWindowExW(0, row.className, row.caption, row.style,
                                       UnitsToPixelsX(row.x, baseX, kReferenceBaseX),
                                       UnitsToPixelsY(row.y, baseY, kReferenceBaseY),
                                       UnitsToPixelsX(row.width, baseX, kReferenceBaseX),
                                       UnitsToPixelsY(row.height, baseY, kReferenceBaseY), window,
                                       (HMENU)(UINT_PTR)row.id, g_instance, NULL);
        if (row.takesFont)
            SendMessageW(control, WM_SETFONT, (WPARAM)font, TRUE);
    }
}
