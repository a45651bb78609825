#include "rules/ruletables.h"
#include "mainwindow/controlids.h"

// One row per Action code, one bit per part button (Left .. Control).
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

static const PartAvailability kByAction[] = {
    /* Stretch    */ {kEdges | kWidth | kHeight, kEdges | kWidth | kHeight},
    /* Move       */ {kEdges, kEdges | kWidth | kHeight},
    /* CenterVert */ {kControl, kControl},
    /* CenterHorz */ {kControl, kControl},
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
