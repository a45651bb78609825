#include "mainwindow/commands.h"
#include "dialogkeys/buttonlook.h"
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

// On Windows, and on Wine since version 9, a radio button that gets the
// keyboard focus while unchecked sends BN_CLICKED and stays unchecked. That
// reports a focus change, not a choice: running the updates on the unchanged
// checks would reset the columns right of it. A click or a key checks its
// button before it notifies. The sender is found by its identifier, since
// lParam may name any window.
static bool IsFocusReport(HWND window, WORD id) {
    HWND sender = GetDlgItem(window, id);
    return sender && sender == GetFocus() && (QueryDlgCode(sender) & DLGC_RADIOBUTTON) &&
           !(SendMessageW(sender, BM_GETSTATE, 0, 0) & (BST_CHECKED | BST_INDETERMINATE));
}

BOOL HandleCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    WORD id = LOWORD(wParam);
    for (const CommandRoute& route : kRoutes) {
        if (id < route.firstId || id > route.lastId)
            continue;
        if (HIWORD(wParam) != BN_CLICKED || IsFocusReport(window, id))
            return FALSE;
        return route.handler(window, (HWND)lParam);
    }
    return FALSE;
}
