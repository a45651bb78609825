#include "app/extensionpoints.h"
#include "mainwindow/controlids.h"

int OnAppStart(HINSTANCE, LPWSTR) {
    return 0;
}

int OnMainWindowCreated(HWND mainWindow, LPWSTR) {
    // The form opens with "Center(Horz)" chosen, as if the user had clicked
    // it, so that the rule tables apply from the first paint.
    SendMessageW(GetDlgItem(mainWindow, IDC_CENTER_HORZ), BM_CLICK, 0, 0);
    return 0;
}

int OnPreTranslateMessage(HWND, MSG*) {
    return 0;
}

void OnAppExit(HINSTANCE) {}
