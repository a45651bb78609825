#include "rules/buttonsteps.h"
#include "dialogkeys/dialogkeys.h"

static void SetCheck(HWND window, int id, WPARAM state) {
    SendMessageW(GetDlgItem(window, id), BM_SETCHECK, state, 0);
}

void EnableOption(HWND window, int id) {
    EnableDialogControl(GetDlgItem(window, id), TRUE);
}

void DisableOption(HWND window, int id) {
    EnableDialogControl(GetDlgItem(window, id), FALSE);
    SetCheck(window, id, BST_UNCHECKED);
}

void ResetOption(HWND window, int id, bool available) {
    EnableDialogControl(GetDlgItem(window, id), available);
    SetCheck(window, id, BST_UNCHECKED);
}

void CheckOption(HWND window, int id) {
    SetCheck(window, id, BST_CHECKED);
}

void EnableAndCheckOption(HWND window, int id) {
    EnableOption(window, id);
    CheckOption(window, id);
}

bool AreOptionsFree(HWND window, const int* ids, int count) {
    for (int i = 0; i < count; ++i) {
        if (SendMessageW(GetDlgItem(window, ids[i]), BM_GETCHECK, 0, 0) != BST_UNCHECKED)
            return false;
    }
    return true;
}
