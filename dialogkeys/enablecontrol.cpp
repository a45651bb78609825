#include "dialogkeys/enablecontrol.h"
#include "app/dialogwindow.h"
#include "dialogkeys/buttonlook.h"
#include "dialogkeys/buttonsearch.h"
#include "dialogkeys/dialogfocus.h"
#include "dialogkeys/focusrecord.h"
#include "dialogkeys/tabstops.h"

// Disabling the focused window leaves the thread with no focus at all, and a
// disabled window cannot take it back, so the focus moves on first.
static void DisableFocusedControl(HWND dialog, HWND control) {
    HWND next = GetNextTabStop(dialog, control, FALSE);
    EnableWindow(control, FALSE);
    // With no tab stop after it, the walk gives back the control itself, now
    // disabled; the first tab stop keeps the keyboard alive instead.
    next = UsableTabTarget(dialog, next);
    if (next)
        SetDialogFocus(dialog, next);
}

void EnableDialogControl(HWND control, BOOL enable) {
    HWND dialog = FindDialogWindow(control);
    if (!(GetWindowLongW(control, GWL_STYLE) & WS_CHILD)) {
        EnableWindow(control, enable);
        return;
    }
    HWND focus = GetFocus();
    if (!enable) {
        if (HasDefaultLook(control))
            SetButtonLook(control, BS_PUSHBUTTON);
        if (control == focus) {
            DisableFocusedControl(dialog, control);
            return;
        }
    }
    KeyboardFocusRecord* record = GetFocusRecord(dialog);
    HWND defaultButton = record ? FindPushButtonById(dialog, record->DefaultId) : NULL;
    EnableWindow(control, enable);
    if (focus && !IsPushButton(focus) && IsWindowEnabled(defaultButton))
        SetButtonLook(defaultButton, BS_DEFPUSHBUTTON);
}
