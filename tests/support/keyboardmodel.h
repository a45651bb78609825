#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "tests/support/rulemodel.h"

// The keys of the dialog keyboard interface that the form answers.
enum DialogKey {
    KeyTab,
    KeyShiftTab,
    KeyUp,
    KeyDown,
    KeyLeft,
    KeyRight,
    KeySpace,
    kDialogKeyCount
};

struct DialogKeyStroke {
    const char* name; // "Shift+Tab"
    WORD virtualKey;
    bool withShift;
};
const DialogKeyStroke& StrokeOf(DialogKey key);

// The form as a keyboard user drives it: the rule as RuleModel has it, and
// the focus moved as Windows documents its dialog navigation, written from
// that documentation and the form's control order, not from the program:
// - the children run Close, then for each column its heading, its line and
//   its buttons top to bottom; a group runs from a control with WS_GROUP
//   (each column's first button) to the next one, going round past the last
//   child to the first, so a column's group takes in the next column's
//   heading and line, and the unit's group takes in Close and the Action
//   heading and line;
// - Tab and Shift+Tab go to the next or previous tab stop in that order,
//   wrapping round; the tab stops are Close and the checked button of each
//   column (an automatic radio button holds WS_TABSTOP while it is checked);
// - an arrow goes to the next (Down, Right) or previous (Up, Left) enabled
//   control of the focus's group, wrapping within the group; a radio button
//   reached takes the focus and is chosen if it was not, a push button takes
//   the focus, and a static control never does: either the arrow stops there
//   and the focus stays, or the walk passes over the static controls (see
//   ArrowAtStatic);
// - Space clicks the focused radio button, checked or not, and on Close
//   closes the window.
class KeyboardModel {
  public:
    // What an arrow does that reaches a heading or line, which the
    // documentation leaves open: Wine stops there, and a dialog manager
    // matched against Windows passes over it.
    enum ArrowAtStatic { StaticStopsTheArrow, StaticSkipped };

    KeyboardModel(const RuleModel& rules, int focus, ArrowAtStatic atStatic);

    // A click on an enabled option: it takes the focus and is chosen.
    void Click(int option);
    void Press(DialogKey key);

    const RuleModel& Rules() const {
        return rules_;
    }
    int Focus() const {
        return focus_;
    }
    bool Closed() const {
        return closed_;
    }
    ArrowAtStatic AtStatic() const {
        return atStatic_;
    }

  private:
    void Tab(bool previous);
    void Arrow(bool previous);

    RuleModel rules_;
    int focus_;
    ArrowAtStatic atStatic_;
    bool closed_ = false;
};

// A keyboard model for each way an arrow may go at a heading or line, driven
// in step. A platform goes one way throughout, so a way that the form has
// contradicted once is dropped.
class KeyboardModels {
  public:
    KeyboardModels(const RuleModel& rules, int focus);

    // The models still left start again from this state.
    void Restart(const RuleModel& rules, int focus);
    void Click(int option);
    void Press(DialogKey key);
    // Keeps the models that have the focus on this button (-1: on no button)
    // and the option buttons as shown; when none has, keeps them all and
    // says false.
    bool Keep(int focus, const FormState& shown);

    // Only Space at Close closes, in every model alike.
    bool Closed() const {
        return models_.front().Closed();
    }
    // Those of any model that the form has matched last.
    const RuleModel& Rules() const {
        return models_.front().Rules();
    }
    // "focus on Close, *ooo ------* ------* *-" for each model, joined by
    // " or " where they differ: for messages.
    std::string Outcomes() const;

  private:
    std::vector<KeyboardModel> models_;
};
