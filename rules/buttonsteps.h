#pragma once
#include <windows.h>

// The steps the rule updates take on one option button of the window. Every
// change of availability goes through EnableDialogControl, and a button is
// always disabled before it is unchecked.
void EnableOption(HWND window, int id);
void DisableOption(HWND window, int id);
// Makes the button available or not, then unchecks it either way.
void ResetOption(HWND window, int id, bool available);
void CheckOption(HWND window, int id);
void EnableAndCheckOption(HWND window, int id);

// True when each listed button, asked in turn, is exactly BST_UNCHECKED; the
// asking stops at the first that is not.
bool AreOptionsFree(HWND window, const int* ids, int count);
