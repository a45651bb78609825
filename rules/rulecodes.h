#pragma once

// The Action column as a code. The codes run opposite to the buttons, so that
// a column with nothing checked reads as Stretch.
enum RuleAction {
    Stretch = 0,
    Move = 1,
    CenterVert = 2,
    CenterHorz = 3,
};

// What an Action acts on, or is relative to, in the order of the buttons.
enum RulePart {
    Left = 0,
    Top = 1,
    Right = 2,
    Bottom = 3,
    Width = 4,
    Height = 5,
    Control = 6,
};
