#pragma once
#include <windows.h>
#include <array>
#include <ostream>
#include <set>
#include <string>
#include "tests/support/options.h"

// What the form shows of its option buttons, the rules it may show and
// where its keyboard focus may be.

// kCheckUnanswered as the check state: the button did not answer in time.
constexpr LRESULT kCheckUnanswered = -1;

struct OptionState {
    bool enabled = true;
    LRESULT check = BST_UNCHECKED;
};

struct FormState {
    std::array<OptionState, kOptionCount> options;

    const OptionState& operator[](int option) const {
        return options[option];
    }
    bool operator==(const FormState& other) const;
    bool operator!=(const FormState& other) const {
        return !(*this == other);
    }
};

// Reads every option button of a main window, of this process or another;
// a program that does not answer cannot hang the caller.
FormState ReadFormState(HWND window);

// The same for a window read many times: its buttons are looked up once,
// since under Wine each lookup is a trip to the window server.
class FormReader {
  public:
    explicit FormReader(HWND window);
    FormState Read() const;

  private:
    HWND buttons_[kOptionCount];
};

// A word per column, a character per button: '*' enabled and checked, 'o'
// enabled and unchecked, '-' disabled and unchecked, '!' disabled and
// checked, '?' any other check state. The form after start-up reads
// "*ooo ------* ------* *-".
std::string Describe(const FormState& state);
void PrintTo(const FormState& state, std::ostream* out);

// The chosen button of each column by caption, "Move/Left/Width/Percent"; a
// column with none shows "-", one with several shows them joined by "+".
std::string RuleOf(const FormState& state);

// The 38 rules that the rule tables let a user reach, written as RuleOf
// writes them.
const std::set<std::string>& AllowedRules();

// What is wrong with the form's rule: a column without exactly one checked
// button, a checked button that is disabled, a rule outside the table.
// Empty when nothing is.
std::string RuleProblems(const FormState& state);

// "Close", "Act On Left", "the heading Action", "the line 102", "nothing":
// for messages.
std::string ControlName(HWND window, HWND control);

// What is wrong with the keyboard focus of a main window, of this process or
// another: what a user needs is the focus on a visible, enabled button of the
// form (a radio button or "Close"), never on a heading or line, never on
// nothing. Empty when it is there.
std::string FocusProblems(HWND window, HWND focus);
