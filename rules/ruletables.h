#pragma once
#include "rules/rulecodes.h"

// Whether an Act On or Relative To button is available under an Action,
// before the Act On choice narrows the Relative To edges.
bool IsPartAvailable(RuleAction action, int buttonId);

bool IsCentring(RuleAction action);

// What an Act On choice makes of the Relative To column under Move and
// Stretch: which of the four edges, Left to Bottom, are enabled (the others
// are disabled), and the default that is checked when every button from
// firstFree to Height is free. Width, Height and Control keep what the Action
// gave them.
struct RelativeToRule {
    unsigned char enabledEdges; // a bit per part, 1 << Left to 1 << Bottom
    RulePart firstFree;
    RulePart fallback;
};

// NULL for Act On Control, which leaves the Relative To column alone.
const RelativeToRule* RelativeToRuleFor(RulePart actOn);
