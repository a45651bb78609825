#include "rules/buttonsteps.h"
#include "dialogkeys/enablecontrol.h"

// Each step finds its button once: every lookup of a child is a trip to the
// window manager.

static void SetCheck(HWND button, WPARAM state) {
    SendMessageW(button, BM_SETCHECK, state, 0);
}

void EnableOption(HWND window, int id) {
    EnableDialogControl(GetDlgItem(window, id), TRUE);
}

void DisableOption(HWND window, int id) {
    HWND button = GetDlgItem(window, id);
    EnableDialogControl(button, FALSE);
    SetCheck(button, BST_UNCHECKED);
}

void ResetOption(HWND window, int id, bool available) {
    HWND button = GetDlgItem(window, id);
    EnableDialogControl(button, available);
    SetCheck(button, BST_UNCHECKED);
}

void CheckOption(HWND window, int id) {
    SetCheck(GetDlgItem(window, id), BST_CHECKED);
}

void EnableAndCheckOption(HWND window, int id) {
    HWND button = GetDlgItem(window, id);
    EnableDialogControl(button, TRUE);
    SetCheck(button, BST_CHECKED);
}

bool AreOptionsFree(HWND window, const int* ids, int count) {
    for (int i = 0; i < count; ++i) {
        if (SendMessageW(GetDlgItem(window, ids[i]), BM_GETCHECK, 0, 0) != BST_UNCHECKED)
            return false;
    }
    return true;
}
