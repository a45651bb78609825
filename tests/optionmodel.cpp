#include "tests/optionmodel.h"
#include "mainwindow/controlids.h"

namespace {

enum ActionRow { CenterHorz, CenterVert, Move, Stretch };
enum PartRow { Left, Top, Right, Bottom, Width, Height, Control };
enum UnitRow { Offset, Percent };

struct ColumnInfo {
    int firstOption;
    int count;
    int firstControlId;
    const char* heading;
};

const ColumnInfo kColumns[kColumnCount] = {
    {0, 4, IDC_CENTER_HORZ, "Action"},
    {4, 7, IDC_ACTON_LEFT, "Act On"},
    {11, 7, IDC_RELTO_LEFT, "Relative To"},
    {18, 2, IDC_OFFSET, ""},
};

const char* const kCaptions[kOptionCount] = {
    "Center(Horz)", "Center(Vert)", "Move",   "Stretch", "Left",   "Top",     "Right",
    "Bottom",       "Width",        "Height", "Control", "Left",   "Top",     "Right",
    "Bottom",       "Width",        "Height", "Control", "Offset", "Percent",
};

bool IsCentring(int action) {
    return action == CenterHorz || action == CenterVert;
}

} // namespace

int OptionControlId(int option) {
    const ColumnInfo& column = kColumns[ColumnOf(option)];
    return column.firstControlId + option - column.firstOption;
}

int OptionFromControlId(int controlId) {
    for (const ColumnInfo& column : kColumns) {
        int row = controlId - column.firstControlId;
        if (row >= 0 && row < column.count)
            return column.firstOption + row;
    }
    return -1;
}

OptionColumn ColumnOf(int option) {
    int column = kColumnCount - 1;
    while (option < kColumns[column].firstOption)
        --column;
    return (OptionColumn)column;
}

int FirstOptionOf(OptionColumn column) {
    return kColumns[column].firstOption;
}

int OptionsIn(OptionColumn column) {
    return kColumns[column].count;
}

std::string OptionName(int option) {
    std::string heading = kColumns[ColumnOf(option)].heading;
    return heading.empty() ? kCaptions[option] : heading + " " + kCaptions[option];
}

const char* OptionCaption(int option) {
    return kCaptions[option];
}

OptionModel::OptionModel() = default;

bool OptionModel::Click(int option) {
    if (!options_[option].enabled)
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

int OptionModel::Chosen(OptionColumn column) const {
    for (int row = 0; row < OptionsIn(column); ++row) {
        if (options_[FirstOptionOf(column) + row].checked)
            return row;
    }
    return -1;
}

bool OptionModel::AllFree(OptionColumn column, int firstRow, int lastRow) const {
    for (int row = firstRow; row <= lastRow; ++row) {
        if (options_[FirstOptionOf(column) + row].checked)
            return false;
    }
    return true;
}

void OptionModel::Set(OptionColumn column, int row, bool enabled, bool checked) {
    options_[FirstOptionOf(column) + row] = {enabled, checked};
}

void OptionModel::Enable(OptionColumn column, int row) {
    options_[FirstOptionOf(column) + row].enabled = true;
}

void OptionModel::Disable(OptionColumn column, int row) {
    Set(column, row, false, false);
}

void OptionModel::Check(OptionColumn column, int row) {
    for (int other = 0; other < OptionsIn(column); ++other)
        options_[FirstOptionOf(column) + other].checked = other == row;
}

// Every Act On and Relative To button is unchecked, enabled or disabled as
// the Action allows, and the Action's defaults are checked.
void OptionModel::ApplyAvailabilityByAction() {
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
void OptionModel::ApplyRelativeToByActOn() {
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
void OptionModel::ApplyUnit() {
    int relativeTo = Chosen(RelativeToColumn);
    bool percent =
        !IsCentring(Chosen(ActionColumn)) && (relativeTo == Width || relativeTo == Height);
    Set(UnitColumn, Offset, !percent, !percent);
    Set(UnitColumn, Percent, percent, percent);
}
