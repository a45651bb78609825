#include "rules/ruletables.h"
#include "mainwindow/controlids.h"

// One bit per part button (Left .. Control).
enum : unsigned char {
    kLeft = 1 << Left,
    kTop = 1 << Top,
    kRight = 1 << Right,
    kBottom = 1 << Bottom,
    kWidth = 1 << Width,
    kHeight = 1 << Height,
    kControl = 1 << Control,
    kEdges = kLeft | kTop | kRight | kBottom,
};

struct PartAvailability {
    unsigned char actOn;
    unsigned char relativeTo;
};

// Availability by Action, one row per Action code.
static const PartAvailability kByAction[] = {
    /* Stretch    */ {kEdges | kWidth | kHeight, kEdges | kWidth | kHeight},
    /* Move       */ {kEdges, kEdges | kWidth | kHeight},
    /* CenterVert */ {kControl, kControl},
    /* CenterHorz */ {kControl, kControl},
};

// Relative To by Act On, one row per Act On code up to Height. An edge follows
// an edge of its own axis; a size only a size, so no edge is left.
static const RelativeToRule kRelativeToByActOn[] = {
    /* Left   */ {kLeft | kRight, Left, Left},
    /* Top    */ {kTop | kBottom, Left, Top},
    /* Right  */ {kLeft | kRight, Left, Left},
    /* Bottom */ {kTop | kBottom, Left, Top},
    /* Width  */ {0, Width, Width},
    /* Height */ {0, Width, Width},
};

bool IsPartAvailable(RuleAction action, int buttonId) {
    const PartAvailability& row = kByAction[action];
    if (buttonId >= IDC_ACTON_LEFT && buttonId <= IDC_ACTON_CONTROL)
        return (row.actOn >> (buttonId - IDC_ACTON_LEFT)) & 1;
    if (buttonId >= IDC_RELTO_LEFT && buttonId <= IDC_RELTO_CONTROL)
        return (row.relativeTo >> (buttonId - IDC_RELTO_LEFT)) & 1;
    return false;
}

bool IsCentring(RuleAction action) {
    return action == CenterHorz || action == CenterVert;
}

const RelativeToRule* RelativeToRuleFor(RulePart actOn) {
    return actOn == Control ? nullptr : &kRelativeToByActOn[actOn];
}
