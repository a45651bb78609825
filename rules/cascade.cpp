#include "rules/cascade.h"
#include "mainwindow/controlids.h"
#include "rules/buttonsteps.h"
#include "rules/readers.h"
#include "rules/ruletables.h"

#define COUNT_OF(array) ((int)(sizeof(array) / sizeof((array)[0])))

void ResetPartOptions(HWND window) {
    RuleAction action = GetSelectedAction(window);
    for (int id = IDC_ACTON_LEFT; id <= IDC_ACTON_CONTROL; ++id)
        ResetOption(window, id, IsPartAvailable(action, id));
    for (int id = IDC_RELTO_LEFT; id <= IDC_RELTO_CONTROL; ++id)
        ResetOption(window, id, IsPartAvailable(action, id));
}

void UpdateForAction(HWND window) {
    static const int kMoveActOn[] = {IDC_ACTON_LEFT, IDC_ACTON_TOP, IDC_ACTON_RIGHT,
                                     IDC_ACTON_BOTTOM};
    static const int kStretchActOn[] = {IDC_ACTON_LEFT,   IDC_ACTON_TOP,   IDC_ACTON_RIGHT,
                                        IDC_ACTON_BOTTOM, IDC_ACTON_WIDTH, IDC_ACTON_HEIGHT};
    ResetPartOptions(window);
    switch (GetSelectedAction(window)) {
    case CenterHorz:
    case CenterVert:
        CheckOption(window, IDC_ACTON_CONTROL);
        CheckOption(window, IDC_RELTO_CONTROL);
        break;
    case Move:
        if (AreOptionsFree(window, kMoveActOn, COUNT_OF(kMoveActOn)))
            CheckOption(window, IDC_ACTON_LEFT);
        break;
    case Stretch:
        if (AreOptionsFree(window, kStretchActOn, COUNT_OF(kStretchActOn)))
            CheckOption(window, IDC_ACTON_LEFT);
        break;
    }
}

void UpdateForActOn(HWND window) {
    // Control is never part of a Relative To default.
    static const int kAllButControl[] = {IDC_RELTO_LEFT,   IDC_RELTO_TOP,   IDC_RELTO_RIGHT,
                                         IDC_RELTO_BOTTOM, IDC_RELTO_WIDTH, IDC_RELTO_HEIGHT};
    static const int kSizes[] = {IDC_RELTO_WIDTH, IDC_RELTO_HEIGHT};
    RuleAction action = GetSelectedAction(window);
    if (action != Move && action != Stretch)
        return;
    switch (GetSelectedActOn(window)) {
    case Left:
    case Right:
        EnableOption(window, IDC_RELTO_LEFT);
        DisableOption(window, IDC_RELTO_TOP);
        EnableOption(window, IDC_RELTO_RIGHT);
        DisableOption(window, IDC_RELTO_BOTTOM);
        if (AreOptionsFree(window, kAllButControl, COUNT_OF(kAllButControl)))
            CheckOption(window, IDC_RELTO_LEFT);
        break;
    case Top:
    case Bottom:
        DisableOption(window, IDC_RELTO_LEFT);
        EnableOption(window, IDC_RELTO_TOP);
        DisableOption(window, IDC_RELTO_RIGHT);
        EnableOption(window, IDC_RELTO_BOTTOM);
        if (AreOptionsFree(window, kAllButControl, COUNT_OF(kAllButControl)))
            CheckOption(window, IDC_RELTO_TOP);
        break;
    case Width:
    case Height:
        DisableOption(window, IDC_RELTO_LEFT);
        DisableOption(window, IDC_RELTO_TOP);
        DisableOption(window, IDC_RELTO_RIGHT);
        DisableOption(window, IDC_RELTO_BOTTOM);
        if (AreOptionsFree(window, kSizes, COUNT_OF(kSizes)))
            CheckOption(window, IDC_RELTO_WIDTH);
        break;
    case Control:
        break;
    }
}

void UpdateUnitOption(HWND window) {
    bool percent = false;
    if (!IsCentring(GetSelectedAction(window))) {
        RulePart relativeTo = GetSelectedRelativeTo(window);
        percent = relativeTo == Width || relativeTo == Height;
    }
    if (percent) {
        EnableAndCheckOption(window, IDC_PERCENT);
        DisableOption(window, IDC_OFFSET);
    } else {
        DisableOption(window, IDC_PERCENT);
        EnableAndCheckOption(window, IDC_OFFSET);
    }
}
