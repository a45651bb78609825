#pragma once
#include <string>
#include <vector>
#include "tests/support/formstate.h"

// The buttons that may hold the focus: the options by number, then Close.
constexpr int kCloseButton = kOptionCount;
// The focus on no button.
constexpr int kNoFocus = -1;
int ButtonControlId(int button);
// The button that a window of the form is, kNoFocus for any other window (a
// heading, a line, none, or one outside the form).
int ButtonOf(HWND form, HWND window);
// "Close", or the option's name.
std::string ButtonName(int button);

// Close's default border: shown, not shown, or either, where the platform
// may take it off (its own Tab walk) or where it is not owed (Close
// disabled).
enum class Look { Plain, Default, Either };

// The form's option buttons as the rule tables describe them (availability
// by Action, Relative To by Act On, the unit), step by step in the order of
// the updates, and where the dialog manager's rules put the keyboard focus
// and Close's default look meanwhile; written from the tables and those
// rules, not from the program's code: the oracle of every test that checks
// where a click or a command leaves the form.
class RuleModel {
  public:
    // As the window creates its buttons: every one enabled, none checked.
    RuleModel();
    // As start-up leaves the form: "Center(Horz)" clicked once; once shown
    // and active, the focus on the first tab stop, Close.
    static RuleModel Started();

    // The user clicks an enabled button: it takes the focus, checks itself
    // and the updates of its column run. False, changing nothing, for a
    // disabled one.
    bool Click(int option);
    // A click that another program sends to a disabled button, and that the
    // button takes: as a click, but a disabled button cannot take the focus.
    void ClickDisabled(int option);
    // Another program sends a button's click command (BN_CLICKED) without
    // clicking: the updates of its column run on the checks as they are. A
    // radio button that gets the focus unchecked sends the same to report the
    // focus (Windows, and Wine from version 9), and that changes nothing.
    void Command(int option);
    // WM_NEXTDLGCTL with a control: the focus goes there, or to the first tab
    // stop when the control is disabled.
    void MoveFocus(int control);
    // The platform moved the focus (a key); its own Tab walk may take the
    // look off Close, and a focused push button has the look.
    void FocusMovedByPlatform(int control, bool byTabWalk);
    // Another program enables or disables Close with EnableWindow; the form
    // hears nothing of it.
    void EnableCloseFromOutside(bool enabled);

    const FormState& State() const {
        return state_;
    }
    const OptionState& operator[](int option) const {
        return state_[option];
    }
    // The column's checked button; -1 for none.
    int Chosen(OptionColumn column) const;
    int Focus() const {
        return focus_;
    }
    // A disabled Close cannot be pressed: its look is owed again once it is
    // enabled.
    Look CloseLook() const {
        return closeEnabled_ ? look_ : Look::Either;
    }

  private:
    // Negative for none.
    int ChosenRow(OptionColumn column) const;
    bool AllFree(OptionColumn column, int firstRow, int lastRow) const;
    void Check(OptionColumn column, int row);
    void CheckAndRunUpdates(int option);
    void RunUpdates(int option);

    // The steps of the updates, each with what the dialog manager does.
    void EnableStep(int option, bool enabled);
    void Disable(OptionColumn column, int row);
    void SetDialogFocus(int control);
    bool IsTabStop(int control) const;
    int NextTabStop(int control) const;
    int Usable(int control) const;

    void ApplyAvailabilityByAction();
    void ApplyRelativeToByActOn();
    void ApplyUnit();

    FormState state_;
    int focus_ = kNoFocus;
    bool closeEnabled_ = true;
    Look look_ = Look::Default;
};

// A form state and the clicks (options, in order) that lead to it.
struct ReachedState {
    RuleModel rules;
    std::vector<int> clicks;
};

// The given states and every one that clicks on enabled buttons reach from
// them, nearest first, each with the fewest clicks that lead there.
std::vector<ReachedState> ReachableFrom(std::vector<ReachedState> states);

// The fewest clicks that lead from one state to another; none when it is the
// same state or cannot be reached.
std::vector<int> FewestClicks(const RuleModel& from, const FormState& to);

// What a main window shows that the model does not: its option buttons, its
// focus, Close's default look (its style) and the answer to DM_GETDEFID,
// which the caller asks for. Empty when nothing.
std::string ModelProblems(const RuleModel& expected, const FormState& shown, HWND window,
                          HWND focus, LRESULT defaultId);
