#include "dialogkeys/defaultbutton.h"
#include "app/dialogwindow.h"
#include "dialogkeys/buttonlook.h"
#include "dialogkeys/buttonsearch.h"
#include "dialogkeys/focusrecord.h"

LRESULT HandleGetDefId(HWND window) {
    HWND dialog = FindDialogWindow(window);
    KeyboardFocusRecord* record = GetFocusRecord(dialog);
    if (!record)
        return 0;
    if (record->DefaultId != 0)
        return MAKELONG(record->DefaultId, DC_HASDEFID);
    HWND styled = FindDefaultStyledButton(dialog);
    if (!styled)
        return 0;
    return MAKELONG(LOWORD(GetDlgCtrlID(styled)), DC_HASDEFID);
}

LRESULT HandleSetDefId(HWND window, WPARAM wParam) {
    HWND dialog = FindDialogWindow(window);
    KeyboardFocusRecord* record = GetFocusRecord(dialog);
    WORD id = LOWORD(wParam);
    HWND newButton = FindPushButtonById(dialog, id);
    if (!record)
        return TRUE;
    HWND oldButton = FindPushButtonById(dialog, record->DefaultId);
    record->DefaultId = newButton ? id : 0;

    HWND focus = GetFocus();
    HWND styled = FindDefaultStyledButton(dialog);
    if (oldButton)
        SetButtonLook(oldButton, BS_PUSHBUTTON);
    if (styled && styled != oldButton)
        SetButtonLook(styled, BS_PUSHBUTTON);
    if (newButton) {
        // A focused push button keeps the default look for as long as it is
        // focused, whichever button is the default.
        SetButtonLook(IsPushButton(focus) ? focus : newButton, BS_DEFPUSHBUTTON);
    }
    return TRUE;
}
