#include "mainwindow/colorchange.h"

void HandleSysColorChange(HWND window, WPARAM wParam, LPARAM lParam) {
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, WM_SYSCOLORCHANGE, wParam, lParam);
}
