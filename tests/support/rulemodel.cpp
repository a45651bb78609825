#include "tests/support/rulemodel.h"
#include <set>
#include "mainwindow/controlids.h"

namespace {

enum ActionRow { CenterHorz, CenterVert, Move, Stretch };
enum PartRow { Left, Top, Right, Bottom, Width, Height, Control };
enum UnitRow { Offset, Percent };

bool IsCentring(int action) {
    return action == CenterHorz || action == CenterVert;
}

// Availability by Action: whether it enables a part button.
bool AllowedBy(int action, OptionColumn column, int row) {
    if (IsCentring(action))
        return row == Control;
    if (row == Control)
        return false;
    return column == RelativeToColumn || row <= Bottom || action == Stretch;
}

int OptionOf(OptionColumn column, int row) {
    return FirstOptionOf(column) + row;
}

} // namespace

int ButtonControlId(int button) {
    return button == kCloseButton ? IDC_CLOSE : OptionControlId(button);
}

int ButtonOf(HWND form, HWND window) {
    if (!IsChild(form, window))
        return kNoFocus;
    int controlId = GetDlgCtrlID(window);
    return controlId == IDC_CLOSE ? kCloseButton : OptionFromControlId(controlId);
}

std::string ButtonName(int button) {
    return button == kCloseButton ? "Close" : OptionName(button);
}

RuleModel::RuleModel() = default;

RuleModel RuleModel::Started() {
    RuleModel model;
    model.Click(OptionOf(ActionColumn, CenterHorz));
    model.SetDialogFocus(kCloseButton);
    return model;
}

bool RuleModel::Click(int option) {
    if (!state_[option].enabled)
        return false;
    focus_ = option;
    CheckAndRunUpdates(option);
    return true;
}

void RuleModel::ClickDisabled(int option) {
    CheckAndRunUpdates(option);
}

// The automatic radio button checks itself and unchecks its column; then the
// updates of its column run.
void RuleModel::CheckAndRunUpdates(int option) {
    Check(ColumnOf(option), option - FirstOptionOf(ColumnOf(option)));
    RunUpdates(option);
}

void RuleModel::Command(int option) {
    if (option == focus_ && state_[option].check != BST_CHECKED)
        return;
    RunUpdates(option);
}

void RuleModel::MoveFocus(int control) {
    SetDialogFocus(Usable(control));
}

void RuleModel::FocusMovedByPlatform(int control, bool byTabWalk) {
    focus_ = control;
    if (control == kCloseButton)
        look_ = Look::Default;
    else if (byTabWalk)
        look_ = Look::Either;
}

void RuleModel::EnableCloseFromOutside(bool enabled) {
    closeEnabled_ = enabled;
}

void RuleModel::RunUpdates(int option) {
    switch (ColumnOf(option)) {
    case ActionColumn:
        ApplyAvailabilityByAction();
        ApplyRelativeToByActOn();
        ApplyUnit();
        break;
    case ActOnColumn:
        // Act On "Control" changes only the unit, like a Relative To choice.
        if (option != OptionOf(ActOnColumn, Control))
            ApplyRelativeToByActOn();
        ApplyUnit();
        break;
    case RelativeToColumn:
        ApplyUnit();
        break;
    case UnitColumn:
        break;
    }
}

int RuleModel::Chosen(OptionColumn column) const {
    for (int row = 0; row < OptionsIn(column); ++row) {
        if (state_[OptionOf(column, row)].check == BST_CHECKED)
            return OptionOf(column, row);
    }
    return -1;
}

int RuleModel::ChosenRow(OptionColumn column) const {
    return Chosen(column) - FirstOptionOf(column);
}

bool RuleModel::AllFree(OptionColumn column, int firstRow, int lastRow) const {
    for (int row = firstRow; row <= lastRow; ++row) {
        if (state_[OptionOf(column, row)].check != BST_UNCHECKED)
            return false;
    }
    return true;
}

void RuleModel::Check(OptionColumn column, int row) {
    for (int other = 0; other < OptionsIn(column); ++other)
        state_.options[OptionOf(column, other)].check = other == row ? BST_CHECKED : BST_UNCHECKED;
}

// Enabling or disabling a button keeps the focus on an enabled control and
// gives the default look back to Close, the default button, when the focus
// is elsewhere: a focused button that is disabled hands the focus to the
// next tab stop after it, or to the first when none follows.
void RuleModel::EnableStep(int option, bool enabled) {
    if (!enabled && option == focus_) {
        int next = NextTabStop(option);
        state_.options[option].enabled = false;
        SetDialogFocus(Usable(next));
        return;
    }
    state_.options[option].enabled = enabled;
    if (focus_ != kNoFocus && focus_ != kCloseButton && closeEnabled_)
        look_ = Look::Default;
}

// Disabled first, unchecked second.
void RuleModel::Disable(OptionColumn column, int row) {
    EnableStep(OptionOf(column, row), false);
    state_.options[OptionOf(column, row)].check = BST_UNCHECKED;
}

// A focused push button has the default look; while another control has the
// focus, the default button has it if it is enabled.
void RuleModel::SetDialogFocus(int control) {
    focus_ = control;
    if (control == kCloseButton || closeEnabled_)
        look_ = Look::Default;
}

// A radio button is a tab stop while it is checked.
bool RuleModel::IsTabStop(int control) const {
    if (control == kCloseButton)
        return closeEnabled_;
    return state_[control].enabled && state_[control].check == BST_CHECKED;
}

// Close comes first; there is no going round, so from the last tab stop the
// search gives the control itself.
int RuleModel::NextTabStop(int control) const {
    for (int next = control == kCloseButton ? 0 : control + 1; next < kOptionCount; ++next) {
        if (IsTabStop(next))
            return next;
    }
    return control;
}

int RuleModel::Usable(int control) const {
    bool enabled = control == kCloseButton ? closeEnabled_ : state_[control].enabled;
    if (enabled)
        return control;
    return IsTabStop(kCloseButton) ? kCloseButton : NextTabStop(kCloseButton);
}

// Every Act On button, then every Relative To button, is enabled or disabled
// as the Action allows and unchecked; then the Action's defaults are checked.
void RuleModel::ApplyAvailabilityByAction() {
    int action = ChosenRow(ActionColumn);
    for (OptionColumn column : {ActOnColumn, RelativeToColumn}) {
        for (int row = Left; row <= Control; ++row) {
            EnableStep(OptionOf(column, row), AllowedBy(action, column, row));
            state_.options[OptionOf(column, row)].check = BST_UNCHECKED;
        }
    }
    if (IsCentring(action)) {
        Check(ActOnColumn, Control);
        Check(RelativeToColumn, Control);
    } else {
        Check(ActOnColumn, Left);
    }
}

// Under Move and Stretch the Relative To edges follow the Act On axis, Left
// to Bottom in turn; a choice that stays enabled is kept, a lost one is
// replaced by the default.
void RuleModel::ApplyRelativeToByActOn() {
    if (IsCentring(ChosenRow(ActionColumn)))
        return;
    int actOn = ChosenRow(ActOnColumn);
    if (actOn < Left || actOn > Height)
        return;
    bool sizes = actOn == Width || actOn == Height;
    bool horizontal = actOn == Left || actOn == Right;
    for (int edge = Left; edge <= Bottom; ++edge) {
        if (!sizes && horizontal == (edge == Left || edge == Right))
            EnableStep(OptionOf(RelativeToColumn, edge), true);
        else
            Disable(RelativeToColumn, edge);
    }
    if (sizes) {
        if (AllFree(RelativeToColumn, Width, Height))
            Check(RelativeToColumn, Width);
    } else if (AllFree(RelativeToColumn, Left, Height)) {
        Check(RelativeToColumn, horizontal ? Left : Top);
    }
}

// Percent goes with Relative To Width or Height under Move and Stretch;
// Offset with everything else. Percent is handled first.
void RuleModel::ApplyUnit() {
    int relativeTo = ChosenRow(RelativeToColumn);
    bool percent =
        !IsCentring(ChosenRow(ActionColumn)) && (relativeTo == Width || relativeTo == Height);
    if (percent) {
        EnableStep(OptionOf(UnitColumn, Percent), true);
        Check(UnitColumn, Percent);
        Disable(UnitColumn, Offset);
    } else {
        Disable(UnitColumn, Percent);
        EnableStep(OptionOf(UnitColumn, Offset), true);
        Check(UnitColumn, Offset);
    }
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

std::string ModelProblems(const RuleModel& expected, const FormState& shown, HWND window,
                          HWND focus, LRESULT defaultId) {
    std::string problems;
    if (shown != expected.State())
        problems += "the form shows " + Describe(shown) + ", the model " +
                    Describe(expected.State()) + "\n";
    HWND focusExpected =
        expected.Focus() == kNoFocus ? NULL : GetDlgItem(window, ButtonControlId(expected.Focus()));
    if (focus != focusExpected)
        problems += "the focus is on " + ControlName(window, focus) + ", not on " +
                    ControlName(window, focusExpected) + "\n";
    LONG style = GetWindowLongW(GetDlgItem(window, IDC_CLOSE), GWL_STYLE);
    Look look = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? Look::Default : Look::Plain;
    if (expected.CloseLook() != Look::Either && look != expected.CloseLook())
        problems += std::string("Close ") + (look == Look::Default ? "has" : "lacks") +
                    " the default look\n";
    if (defaultId != MAKELONG(IDC_CLOSE, DC_HASDEFID))
        problems += "DM_GETDEFID answers " + std::to_string(defaultId) + ", not Close\n";
    return problems;
}
