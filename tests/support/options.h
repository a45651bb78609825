#pragma once
#include <string>

// The form's twenty option buttons, numbered 0 to 19 column by column, each
// column top to bottom, as the user sees them.

enum OptionColumn { ActionColumn, ActOnColumn, RelativeToColumn, UnitColumn };

constexpr int kOptionCount = 20;
constexpr int kColumnCount = 4;

int OptionControlId(int option);
// -1 for a control that is no option button.
int OptionFromControlId(int controlId);
OptionColumn ColumnOf(int option);
int FirstOptionOf(OptionColumn column);
int OptionsIn(OptionColumn column);
// "Move", "Act On Left", "Relative To Width", "Percent": for messages.
std::string OptionName(int option);
// The button's caption: "Left", "Center(Horz)"...
const char* OptionCaption(int option);
