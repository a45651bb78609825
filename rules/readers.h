#pragma once
#include <windows.h>
#include "rules/rulecodes.h"

// The current choices, read back from the buttons: the first checked button of
// the column counts; an empty column reads as its code 0.
RuleAction GetSelectedAction(HWND window);
RulePart GetSelectedActOn(HWND window);
RulePart GetSelectedRelativeTo(HWND window);
