#include "rules/buttonsteps.h"
#include "dialogkeys/enablecontrol.h"

void ApplyOptionStep(HWND window, int id, OptionStep step) {
    // One lookup per step: each is a trip to the window manager.
    HWND button = GetDlgItem(window, id);
    if (step.availability != kLeave)
        EnableDialogControl(button, step.availability);
    if (step.check != kLeave)
        SendMessageW(button, BM_SETCHECK, step.check ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool AreOptionsFree(HWND window, int firstId, int lastId) {
    for (int id = firstId; id <= lastId; ++id) {
        if (SendMessageW(GetDlgItem(window, id), BM_GETCHECK, 0, 0) != BST_UNCHECKED)
            return false;
    }
    return true;
}
