#include "tests/support/options.h"
#include "mainwindow/controlids.h"

namespace {

struct ColumnInfo {
    int firstOption;
    int count;
    int firstControlId;
    const char* heading;
};

const ColumnInfo kColumns[kColumnCount] = {
    {0, 4, IDC_CENTER_HORZ, ""},
    {4, 7, IDC_ACTON_LEFT, "Act On "},
    {11, 7, IDC_RELTO_LEFT, "Relative To "},
    {18, 2, IDC_OFFSET, ""},
};

const char* const kCaptions[kOptionCount] = {
    "Center(Horz)", "Center(Vert)", "Move",   "Stretch", "Left",   "Top",     "Right",
    "Bottom",       "Width",        "Height", "Control", "Left",   "Top",     "Right",
    "Bottom",       "Width",        "Height", "Control", "Offset", "Percent",
};

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
    return kColumns[ColumnOf(option)].heading + std::string(kCaptions[option]);
}

const char* OptionCaption(int option) {
    return kCaptions[option];
}
