#include "tests/formstate.h"
#include "mainwindow/controlids.h"

namespace {

int CheckedIn(HWND window, int first, int last) {
    int checked = 0;
    for (int id = first; id <= last; ++id) {
        if (SendMessageW(GetDlgItem(window, id), BM_GETCHECK, 0, 0) != BST_CHECKED)
            continue;
        checked = checked ? -1 : id;
    }
    return checked;
}

bool OneOf(int value, int a, int b) {
    return value == a || value == b;
}

} // namespace

ShownRule ReadShownRule(HWND window) {
    return {CheckedIn(window, IDC_CENTER_HORZ, IDC_STRETCH),
            CheckedIn(window, IDC_ACTON_LEFT, IDC_ACTON_CONTROL),
            CheckedIn(window, IDC_RELTO_LEFT, IDC_RELTO_CONTROL),
            CheckedIn(window, IDC_OFFSET, IDC_PERCENT)};
}

bool IsAllowedRule(const ShownRule& rule) {
    if (rule.action <= 0 || rule.actOn <= 0 || rule.relativeTo <= 0 || rule.unit <= 0)
        return false;
    if (OneOf(rule.action, IDC_CENTER_HORZ, IDC_CENTER_VERT))
        return rule.actOn == IDC_ACTON_CONTROL && rule.relativeTo == IDC_RELTO_CONTROL &&
               rule.unit == IDC_OFFSET;
    bool horizontalEdge = OneOf(rule.actOn, IDC_ACTON_LEFT, IDC_ACTON_RIGHT);
    bool verticalEdge = OneOf(rule.actOn, IDC_ACTON_TOP, IDC_ACTON_BOTTOM);
    bool size = OneOf(rule.actOn, IDC_ACTON_WIDTH, IDC_ACTON_HEIGHT);
    bool relativeToSize = OneOf(rule.relativeTo, IDC_RELTO_WIDTH, IDC_RELTO_HEIGHT);
    if (relativeToSize)
        return (horizontalEdge || verticalEdge || (size && rule.action == IDC_STRETCH)) &&
               rule.unit == IDC_PERCENT;
    if (horizontalEdge)
        return OneOf(rule.relativeTo, IDC_RELTO_LEFT, IDC_RELTO_RIGHT) && rule.unit == IDC_OFFSET;
    if (verticalEdge)
        return OneOf(rule.relativeTo, IDC_RELTO_TOP, IDC_RELTO_BOTTOM) && rule.unit == IDC_OFFSET;
    return false;
}

std::string Describe(const ShownRule& rule) {
    return "action " + std::to_string(rule.action) + ", act on " + std::to_string(rule.actOn) +
           ", relative to " + std::to_string(rule.relativeTo) + ", unit " +
           std::to_string(rule.unit);
}
