#pragma once
#include "rules/rulecodes.h"

// Whether an Act On or Relative To button is available under an Action,
// before the Act On choice narrows the Relative To edges.
bool IsPartAvailable(RuleAction action, int buttonId);

bool IsCentring(RuleAction action);
