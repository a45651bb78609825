#include "dialogkeys/buttonsearch.h"
#include "app/dialogwindow.h"
#include "dialogkeys/buttonlook.h"

static BOOL CALLBACK DefaultStyledButtonEnumProc(HWND window, LPARAM lParam) {
    if (!HasDefaultLook(window))
        return TRUE;
    *(HWND*)lParam = window;
    return FALSE;
}

HWND FindDefaultStyledButton(HWND window) {
    HWND found = NULL;
    EnumChildWindows(FindDialogWindow(window), DefaultStyledButtonEnumProc, (LPARAM)&found);
    return found;
}

struct PushButtonSearch {
    WORD id;
    HWND found;
};

static BOOL CALLBACK PushButtonByIdEnumProc(HWND window, LPARAM lParam) {
    PushButtonSearch* search = (PushButtonSearch*)lParam;
    if (!IsPushButton(window) || GetDlgCtrlID(window) != search->id)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindPushButtonById(HWND window, WORD id) {
    HWND dialog = FindDialogWindow(window);
    if (id == 0)
        return NULL;
    PushButtonSearch search = {id, NULL};
    EnumChildWindows(dialog, PushButtonByIdEnumProc, (LPARAM)&search);
    return search.found;
}
