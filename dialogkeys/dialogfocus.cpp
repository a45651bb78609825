#include "dialogkeys/dialogfocus.h"
#include "app/dialogwindow.h"
#include "dialogkeys/buttonlook.h"
#include "dialogkeys/buttonsearch.h"
#include "dialogkeys/focusrecord.h"
#include "dialogkeys/tabstops.h"

void SetDialogFocus(HWND window, HWND control) {
    HWND dialog = FindDialogWindow(window);
    KeyboardFocusRecord* record = GetFocusRecord(dialog);

    // An edit leaving the focus drops its selection; one taking it selects all.
    HWND old = GetFocus();
    if (IsChild(dialog, old) && (QueryDlgCode(old) & DLGC_HASSETSEL))
        SendMessageW(old, EM_SETSEL, (WPARAM)-1, 0);
    if (QueryDlgCode(control) & DLGC_HASSETSEL)
        SendMessageW(control, EM_SETSEL, 0, -1);
    SetFocus(control);

    // A focused push button is the default; otherwise the default identifier's.
    HWND styled = FindDefaultStyledButton(dialog);
    HWND defaultButton = record ? FindPushButtonById(dialog, record->DefaultId) : NULL;
    if (IsPushButton(control)) {
        if (styled && styled != control)
            SetButtonLook(styled, BS_PUSHBUTTON);
        SetButtonLook(control, BS_DEFPUSHBUTTON);
    } else {
        if (styled && styled != defaultButton)
            SetButtonLook(styled, BS_PUSHBUTTON);
        if (IsWindowEnabled(defaultButton))
            SetButtonLook(defaultButton, BS_DEFPUSHBUTTON);
    }
}

LRESULT HandleNextDlgCtl(HWND window, WPARAM wParam, LPARAM lParam) {
    HWND dialog = FindDialogWindow(window);
    // The message may come from anywhere: only the dialog's own controls are
    // targets. A walk from a focus outside the controls would wander among
    // other top-level windows, so it starts from the beginning instead.
    HWND focus = GetFocus();
    HWND start = IsChild(dialog, focus) ? focus : NULL;
    HWND target = lParam ? (HWND)wParam : GetNextTabStop(dialog, start, wParam != 0);
    // The system's arrow-key navigation asks for the next control of a radio
    // group even when that is the heading or line after the group; as in a
    // dialog box, a static control never takes the focus.
    if (lParam && IsChild(dialog, target) && (QueryDlgCode(target) & DLGC_STATIC))
        return 0;
    target = UsableTabTarget(dialog, target);
    if (target)
        SetDialogFocus(dialog, target);
    return 0;
}
