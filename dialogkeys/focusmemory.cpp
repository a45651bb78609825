#include "dialogkeys/focusmemory.h"
#include "app/dialogwindow.h"
#include "dialogkeys/buttonlook.h"
#include "dialogkeys/buttonsearch.h"
#include "dialogkeys/dialogfocus.h"
#include "dialogkeys/focusrecord.h"
#include "dialogkeys/tabstops.h"

LRESULT SaveDialogFocus(HWND window) {
    HWND dialog = FindDialogWindow(window);
    KeyboardFocusRecord* record = GetFocusRecord(dialog);
    HWND focus = GetFocus();
    if (record && IsChild(dialog, focus))
        record->SavedFocus = focus;
    // An inactive window shows no default button.
    HWND styled = FindDefaultStyledButton(dialog);
    if (styled && HasDefaultLook(styled))
        SetButtonLook(styled, BS_PUSHBUTTON);
    return 0;
}

LRESULT RestoreDialogFocus(HWND window) {
    HWND dialog = FindDialogWindow(window);
    KeyboardFocusRecord* record = GetFocusRecord(dialog);
    if (IsIconic(dialog))
        return 0;
    HWND first = GetNextTabStop(dialog, NULL, FALSE);
    HWND target = first;
    if (record) {
        if (IsWindow(record->SavedFocus))
            target = record->SavedFocus;
        else
            record->SavedFocus = first;
    }
    SetDialogFocus(dialog, target);
    return 0;
}
