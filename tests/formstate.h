#pragma once
#include <windows.h>
#include <string>

// The rule as the form shows it, read through the buttons (this works on a
// window of another process too).
struct ShownRule {
    int action;     // checked identifier in 103..106, 0 when none, -1 when several
    int actOn;      // 109..115
    int relativeTo; // 118..124
    int unit;       // 127..128
};

ShownRule ReadShownRule(HWND window);

// Whether the rule is one that the form may show: each column has exactly one
// checked button and the combination is one of the allowed rules.
bool IsAllowedRule(const ShownRule& rule);

std::string Describe(const ShownRule& rule);
