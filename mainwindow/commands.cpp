#include "mainwindow/commands.h"
#include "mainwindow/controlids.h"
#include "rules/cascade.h"

BOOL OnCloseClicked(HWND window, HWND) {
    SendMessageW(window, WM_CLOSE, 0, 0);
    return FALSE;
}

BOOL OnActionClicked(HWND window, HWND) {
    UpdateForAction(window);
    UpdateForActOn(window);
    UpdateUnitOption(window);
    return FALSE;
}

BOOL OnActOnClicked(HWND window, HWND) {
    UpdateForActOn(window);
    UpdateUnitOption(window);
    return FALSE;
}

// Act On "Control" changes nothing to its right but the unit, like a Relative
// To choice, so it shares this handler.
BOOL OnRelativeToClicked(HWND window, HWND) {
    UpdateUnitOption(window);
    return FALSE;
}

BOOL OnUnitClicked(HWND, HWND) {
    return FALSE;
}

typedef BOOL (*ClickHandler)(HWND window, HWND control);

struct CommandRoute {
    WORD firstId;
    WORD lastId;
    ClickHandler handler;
};

static const CommandRoute kRoutes[] = {
    {IDC_CLOSE, IDC_CLOSE, OnCloseClicked},
    {IDC_CENTER_HORZ, IDC_STRETCH, OnActionClicked},
    {IDC_ACTON_LEFT, IDC_ACTON_HEIGHT, OnActOnClicked},
    {IDC_ACTON_CONTROL, IDC_ACTON_CONTROL, OnRelativeToClicked},
    {IDC_RELTO_LEFT, IDC_RELTO_CONTROL, OnRelativeToClicked},
    {IDC_OFFSET, IDC_PERCENT, OnUnitClicked},
};

BOOL HandleCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    WORD id = LOWORD(wParam);
    for (const CommandRoute& route : kRoutes) {
        if (id < route.firstId || id > route.lastId)
            continue;
        if (HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        return route.handler(window, (HWND)lParam);
    }
    return FALSE;
}
