#pragma once
#include <windows.h>

// Bring the columns right of the one clicked into line with the rule tables.
// Each reads the choices back from the buttons; none keeps anything.
void ResetPartOptions(HWND window);
void UpdateForAction(HWND window);
void UpdateForActOn(HWND window);
void UpdateUnitOption(HWND window);
