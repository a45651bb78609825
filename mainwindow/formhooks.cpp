#include "mainwindow/formhooks.h"

BOOL OnFormCreate(HWND, LPARAM, LRESULT*) {
    return FALSE;
}

BOOL OnFormClose(HWND) {
    return FALSE;
}

BOOL OnFormQueryEndSession(HWND, WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}

void OnFormDestroy(HWND, int*) {}

BOOL OnFormSize(HWND, UINT, int, int) {
    return FALSE;
}
