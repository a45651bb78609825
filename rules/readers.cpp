#include "rules/readers.h"
#include "mainwindow/controlids.h"

// Index of the first checked button among count buttons from firstId, or -1.
static int FirstCheckedIndex(HWND window, int firstId, int count) {
    for (int i = 0; i < count; ++i) {
        if (SendMessageW(GetDlgItem(window, firstId + i), BM_GETCHECK, 0, 0) == BST_CHECKED)
            return i;
    }
    return -1;
}

RuleAction GetSelectedAction(HWND window) {
    int index = FirstCheckedIndex(window, IDC_CENTER_HORZ, 4);
    return index < 0 ? Stretch : (RuleAction)(CenterHorz - index);
}

RulePart GetSelectedActOn(HWND window) {
    int index = FirstCheckedIndex(window, IDC_ACTON_LEFT, 7);
    return index < 0 ? Left : (RulePart)index;
}

RulePart GetSelectedRelativeTo(HWND window) {
    int index = FirstCheckedIndex(window, IDC_RELTO_LEFT, 7);
    return index < 0 ? Left : (RulePart)index;
}
