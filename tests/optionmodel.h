#pragma once
#include <array>
#include <string>

// An independent model of the form's twenty option buttons, written from the
// rule tables (availability by Action, Relative To by Act On, unit) rather
// than from the program's code, so that a random walk can use it as its
// oracle.

enum OptionColumn { ActionColumn, ActOnColumn, RelativeToColumn, UnitColumn };

constexpr int kOptionCount = 20;
constexpr int kColumnCount = 4;

// Options are numbered 0 to 19, column by column, top to bottom.
int OptionControlId(int option);
// -1 for a control that is no option button.
int OptionFromControlId(int controlId);
OptionColumn ColumnOf(int option);
int FirstOptionOf(OptionColumn column);
int OptionsIn(OptionColumn column);
// "Act On Left", "Percent"...: for messages.
std::string OptionName(int option);
// The button's caption: "Left", "Center(Horz)"...
const char* OptionCaption(int option);

struct OptionState {
    bool enabled = true;
    bool checked = false;
};

class OptionModel {
  public:
    // As the window creates them: every button enabled, none checked.
    OptionModel();

    // The user clicks an enabled button; returns false, changing nothing,
    // for a disabled one.
    bool Click(int option);

    const OptionState& operator[](int option) const {
        return options_[option];
    }

  private:
    // The checked option of a column, or -1.
    int Chosen(OptionColumn column) const;
    bool AllFree(OptionColumn column, int firstRow, int lastRow) const;
    void Set(OptionColumn column, int row, bool enabled, bool checked);
    void Enable(OptionColumn column, int row);
    void Disable(OptionColumn column, int row);
    void Check(OptionColumn column, int row);

    void ApplyAvailabilityByAction();
    void ApplyRelativeToByActOn();
    void ApplyUnit();

    std::array<OptionState, kOptionCount> options_;
};
