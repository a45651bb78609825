#include "app/placement.h"

void SetClientSize(HWND window, int width, int height) {
    RECT rect = {0, 0, width, height};
    HMENU menu = GetMenu(window);
    DWORD style = (DWORD)GetWindowLongW(window, GWL_STYLE);
    DWORD exStyle = (DWORD)GetWindowLongW(window, GWL_EXSTYLE);
    AdjustWindowRectEx(&rect, style, menu != NULL, exStyle);
    if (menu) {
        // AdjustWindowRectEx counts one menu line; ask the window how many
        // lines its menu bar really wraps onto.
        RECT wrapped = rect;
        wrapped.bottom = 0x7FFF;
        SendMessageW(window, WM_NCCALCSIZE, FALSE, (LPARAM)&wrapped);
        rect.bottom += wrapped.top;
    }
    if (style & WS_HSCROLL)
        rect.bottom += GetSystemMetrics(SM_CYHSCROLL);
    if (style & WS_VSCROLL)
        rect.right += GetSystemMetrics(SM_CXVSCROLL);
    SetWindowPos(window, NULL, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Pulls [start, start + size) back inside [low, high); the low edge is tested
// first, so it wins for a window larger than the area.
static int KeepInside(int start, int size, int low, int high) {
    if (start < low)
        return low;
    if (start + size > high)
        return high - size;
    return start;
}

BOOL CenterWindow(HWND window, HWND reference) {
    RECT rect;
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;

    RECT work;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, sizeof work, &work, 0))
        SetRect(&work, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    RECT area = work;
    if (reference)
        GetWindowRect(reference, &area);

    POINT at;
    at.x = area.left + (area.right - area.left - width) / 2;
    at.y = area.top + (area.bottom - area.top - height) / 2;
    at.x = KeepInside(at.x, width, work.left, work.right);
    at.y = KeepInside(at.y, height, work.top, work.bottom);
    if (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)
        ScreenToClient(reference, &at);
    return SetWindowPos(window, NULL, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
