#include "dialogkeys/buttonlook.h"

LRESULT QueryDlgCode(HWND control) {
    return SendMessageW(control, WM_GETDLGCODE, 0, 0);
}

BOOL IsPushButton(HWND control) {
    return (QueryDlgCode(control) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

BOOL HasDefaultLook(HWND control) {
    return (QueryDlgCode(control) & DLGC_DEFPUSHBUTTON) != 0;
}

void SetButtonLook(HWND button, DWORD style) {
    SendMessageW(button, BM_SETSTYLE, style, TRUE);
}
