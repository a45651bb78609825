#include "tests/support/rulemodel.h"
#include <set>
#include <string>

namespace {

enum ActionRow { CenterHorz, CenterVert, Move, Stretch };
enum PartRow { Left, Top, Right, Bottom, Width, Height, Control };
enum UnitRow { Offset, Percent };

bool IsCentring(int action) {
    return action == CenterHorz || action == CenterVert;
}

} // namespace

RuleModel::RuleModel() = default;

RuleModel RuleModel::Started() {
    RuleModel model;
    model.Click(FirstOptionOf(ActionColumn) + CenterHorz);
    return model;
}

bool RuleModel::Click(int option) {
    if (!state_[option].enabled)
        return false;
    OptionColumn column = ColumnOf(option);
    int row = option - FirstOptionOf(column);
    // The automatic radio button checks itself and unchecks its column.
    Check(column, row);
    switch (column) {
    case ActionColumn:
        ApplyAvailabilityByAction();
        ApplyRelativeToByActOn();
        ApplyUnit();
        break;
    case ActOnColumn:
        if (row != Control)
            ApplyRelativeToByActOn();
        ApplyUnit();
        break;
    case RelativeToColumn:
        ApplyUnit();
        break;
    case UnitColumn:
        break;
    }
    return true;
}

int RuleModel::Chosen(OptionColumn column) const {
    for (int row = 0; row < OptionsIn(column); ++row) {
        if (state_[FirstOptionOf(column) + row].check == BST_CHECKED)
            return row;
    }
    return -1;
}

bool RuleModel::AllFree(OptionColumn column, int firstRow, int lastRow) const {
    for (int row = firstRow; row <= lastRow; ++row) {
        if (state_[FirstOptionOf(column) + row].check != BST_UNCHECKED)
            return false;
    }
    return true;
}

void RuleModel::Set(OptionColumn column, int row, bool enabled, bool checked) {
    state_.options[FirstOptionOf(column) + row] = {enabled, checked ? BST_CHECKED : BST_UNCHECKED};
}

void RuleModel::Enable(OptionColumn column, int row) {
    state_.options[FirstOptionOf(column) + row].enabled = true;
}

void RuleModel::Disable(OptionColumn column, int row) {
    Set(column, row, false, false);
}

void RuleModel::Check(OptionColumn column, int row) {
    for (int other = 0; other < OptionsIn(column); ++other)
        state_.options[FirstOptionOf(column) + other].check =
            other == row ? BST_CHECKED : BST_UNCHECKED;
}

// Every Act On and Relative To button is unchecked, enabled or disabled as
// the Action allows, and the Action's defaults are checked.
void RuleModel::ApplyAvailabilityByAction() {
    int action = Chosen(ActionColumn);
    bool centring = IsCentring(action);
    for (int row = Left; row <= Bottom; ++row) {
        Set(ActOnColumn, row, !centring, false);
        Set(RelativeToColumn, row, !centring, false);
    }
    Set(ActOnColumn, Width, action == Stretch, false);
    Set(ActOnColumn, Height, action == Stretch, false);
    Set(ActOnColumn, Control, centring, false);
    Set(RelativeToColumn, Width, !centring, false);
    Set(RelativeToColumn, Height, !centring, false);
    Set(RelativeToColumn, Control, centring, false);
    if (centring) {
        Check(ActOnColumn, Control);
        Check(RelativeToColumn, Control);
    } else {
        Check(ActOnColumn, Left);
    }
}

// Under Move and Stretch the Relative To edges follow the Act On axis; a
// choice that stays enabled is kept, a lost one is replaced by the default.
void RuleModel::ApplyRelativeToByActOn() {
    if (IsCentring(Chosen(ActionColumn)))
        return;
    switch (Chosen(ActOnColumn)) {
    case Left:
    case Right:
        Enable(RelativeToColumn, Left);
        Enable(RelativeToColumn, Right);
        Disable(RelativeToColumn, Top);
        Disable(RelativeToColumn, Bottom);
        if (AllFree(RelativeToColumn, Left, Height))
            Check(RelativeToColumn, Left);
        break;
    case Top:
    case Bottom:
        Enable(RelativeToColumn, Top);
        Enable(RelativeToColumn, Bottom);
        Disable(RelativeToColumn, Left);
        Disable(RelativeToColumn, Right);
        if (AllFree(RelativeToColumn, Left, Height))
            Check(RelativeToColumn, Top);
        break;
    case Width:
    case Height:
        for (int row = Left; row <= Bottom; ++row)
            Disable(RelativeToColumn, row);
        if (AllFree(RelativeToColumn, Width, Height))
            Check(RelativeToColumn, Width);
        break;
    default:
        break;
    }
}

// Percent goes with Relative To Width or Height under Move and Stretch;
// Offset with everything else.
void RuleModel::ApplyUnit() {
    int relativeTo = Chosen(RelativeToColumn);
    bool percent =
        !IsCentring(Chosen(ActionColumn)) && (relativeTo == Width || relativeTo == Height);
    Set(UnitColumn, Offset, !percent, !percent);
    Set(UnitColumn, Percent, percent, percent);
}

std::vector<ReachedState> ReachableFrom(std::vector<ReachedState> states) {
    std::set<std::string> seen;
    for (const ReachedState& state : states)
        seen.insert(Describe(state.rules.State()));
    for (size_t next = 0; next < states.size(); ++next) {
        for (int option = 0; option < kOptionCount; ++option) {
            ReachedState state = states[next];
            if (!state.rules.Click(option))
                continue;
            state.clicks.push_back(option);
            if (seen.insert(Describe(state.rules.State())).second)
                states.push_back(state);
        }
    }
    return states;
}

std::vector<int> FewestClicks(const RuleModel& from, const FormState& to) {
    for (const ReachedState& state : ReachableFrom({{from, {}}})) {
        if (state.rules.State() == to)
            return state.clicks;
    }
    return {};
}
