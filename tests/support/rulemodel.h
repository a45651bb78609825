#pragma once
#include <vector>
#include "tests/support/formstate.h"

// The form's option buttons as the rule tables describe them (availability
// by Action, Relative To by Act On, the unit), written from the tables and
// not from the program's code: the oracle of every test that checks where a
// click leaves the form.
class RuleModel {
  public:
    // As the window creates its buttons: every one enabled, none checked.
    RuleModel();
    // As start-up leaves the form: "Center(Horz)" clicked once.
    static RuleModel Started();

    // The user clicks an enabled button; false, changing nothing, for a
    // disabled one.
    bool Click(int option);

    const FormState& State() const {
        return state_;
    }
    const OptionState& operator[](int option) const {
        return state_[option];
    }

  private:
    int Chosen(OptionColumn column) const;
    bool AllFree(OptionColumn column, int firstRow, int lastRow) const;
    void Set(OptionColumn column, int row, bool enabled, bool checked);
    void Enable(OptionColumn column, int row);
    void Disable(OptionColumn column, int row);
    void Check(OptionColumn column, int row);

    void ApplyAvailabilityByAction();
    void ApplyRelativeToByActOn();
    void ApplyUnit();

    FormState state_;
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
