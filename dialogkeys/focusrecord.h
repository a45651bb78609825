#pragma once
#include <windows.h>

// What the main window remembers for its dialog-manager work, reached through
// the window property "KEYBOARDFOCUS".
struct KeyboardFocusRecord {
    HWND SavedFocus; // the child focused when the window was last deactivated
    WORD DefaultId;  // identifier of the default push button; 0 for none
};

// A zero-filled record from the process heap, with the Close button as the
// default; NULL when the heap has no room.
KeyboardFocusRecord* AllocateFocusRecord();
void FreeFocusRecord(KeyboardFocusRecord* record);

void AttachFocusRecord(HWND dialog, KeyboardFocusRecord* record);
KeyboardFocusRecord* DetachFocusRecord(HWND dialog);

// The dialog's record, or NULL when it has none.
KeyboardFocusRecord* GetFocusRecord(HWND dialog);
