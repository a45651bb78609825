#include "mainwindow/windowfont.h"

static const WCHAR kFontProperty[] = L"FONT";

LRESULT HandleSetFont(HWND window, HFONT font, BOOL redraw) {
    HANDLE old = GetPropW(window, kFontProperty);
    SetPropW(window, kFontProperty, font);
    if (redraw) {
        InvalidateRect(window, NULL, TRUE);
        UpdateWindow(window);
    }
    return (LRESULT)old;
}

LRESULT HandleGetFont(HWND window) {
    return (LRESULT)GetPropW(window, kFontProperty);
}

void ReleaseWindowFont(HWND window) {
    // WM_SETFONT takes any handle from anyone; only a font is ever deleted, so
    // a stale or foreign value cannot destroy some other object of the process.
    HGDIOBJ font = RemovePropW(window, kFontProperty);
    if (GetObjectType(font) == OBJ_FONT)
        DeleteObject(font);
}
