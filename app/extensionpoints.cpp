#include "app/extensionpoints.h"
#include "dialogkeys/dialogfocus.h"
#include "mainwindow/controlids.h"

int OnAppStart(HINSTANCE, LPWSTR) {
    return 0;
}

int OnMainWindowCreated(HWND mainWindow, LPWSTR) {
    // The form opens with "Center(Horz)" chosen, as if the user had clicked
    // it, so that the rule tables apply from the first paint.
    HWND centerHorz = GetDlgItem(mainWindow, IDC_CENTER_HORZ);
    SendMessageW(centerHorz, BM_CLICK, 0, 0);
    // Windows may refuse BM_CLICK while the window is not active, as it is
    // not yet; then do what the click does: press, check, notify.
    if (SendMessageW(centerHorz, BM_GETCHECK, 0, 0) != BST_CHECKED) {
        SetDialogFocus(mainWindow, centerHorz);
        SendMessageW(centerHorz, BM_SETCHECK, BST_CHECKED, 0);
        SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(IDC_CENTER_HORZ, BN_CLICKED),
                     (LPARAM)centerHorz);
    }
    return 0;
}

int OnPreTranslateMessage(HWND, MSG*) {
    return 0;
}

void OnAppExit(HINSTANCE) {}
