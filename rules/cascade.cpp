#include "rules/cascade.h"
#include "mainwindow/controlids.h"
#include "rules/buttonsteps.h"
#include "rules/readers.h"
#include "rules/ruletables.h"

// Made available or not as the Action allows, then unchecked either way.
static void ResetPartOption(HWND window, RuleAction action, int id) {
    ApplyOptionStep(window, id, {IsPartAvailable(action, id) ? kOn : kOff, kOff});
}

void ResetPartOptions(HWND window) {
    RuleAction action = GetSelectedAction(window);
    for (int id = IDC_ACTON_LEFT; id <= IDC_ACTON_CONTROL; ++id)
        ResetPartOption(window, action, id);
    for (int id = IDC_RELTO_LEFT; id <= IDC_RELTO_CONTROL; ++id)
        ResetPartOption(window, action, id);
}

void UpdateForAction(HWND window) {
    ResetPartOptions(window);
    switch (GetSelectedAction(window)) {
    case CenterHorz:
    case CenterVert:
        ApplyOptionStep(window, IDC_ACTON_CONTROL, kCheckOption);
        ApplyOptionStep(window, IDC_RELTO_CONTROL, kCheckOption);
        break;
    case Move:
        if (AreOptionsFree(window, IDC_ACTON_LEFT, IDC_ACTON_BOTTOM))
            ApplyOptionStep(window, IDC_ACTON_LEFT, kCheckOption);
        break;
    case Stretch:
        if (AreOptionsFree(window, IDC_ACTON_LEFT, IDC_ACTON_HEIGHT))
            ApplyOptionStep(window, IDC_ACTON_LEFT, kCheckOption);
        break;
    }
}

void UpdateForActOn(HWND window) {
    RuleAction action = GetSelectedAction(window);
    if (action != Move && action != Stretch)
        return;
    const RelativeToRule* rule = RelativeToRuleFor(GetSelectedActOn(window));
    if (!rule)
        return;
    for (int edge = Left; edge <= Bottom; ++edge) {
        bool enabled = (rule->enabledEdges >> edge) & 1;
        ApplyOptionStep(window, IDC_RELTO_LEFT + edge, enabled ? kEnableOption : kDisableOption);
    }
    // Control never takes part in the default.
    if (AreOptionsFree(window, IDC_RELTO_LEFT + rule->firstFree, IDC_RELTO_HEIGHT))
        ApplyOptionStep(window, IDC_RELTO_LEFT + rule->fallback, kCheckOption);
}

void UpdateUnitOption(HWND window) {
    bool percent = false;
    if (!IsCentring(GetSelectedAction(window))) {
        RulePart relativeTo = GetSelectedRelativeTo(window);
        percent = relativeTo == Width || relativeTo == Height;
    }
    // Percent is always handled before Offset.
    ApplyOptionStep(window, IDC_PERCENT, percent ? kEnableAndCheckOption : kDisableOption);
    ApplyOptionStep(window, IDC_OFFSET, percent ? kDisableOption : kEnableAndCheckOption);
}
