#pragma once
#include <windows.h>
#include <functional>
#include <map>
#include <string>
#include "tests/support/formstate.h"

// What the program's code called while its window handled the click
// notifications of one action, as the floor replays it: the calls that
// change a control, in the replay's text (bench/replay.h). The lookups
// (finding a control, reading the focus record or the focus, searching for
// the default button, asking a control for its check or its dialog code) are
// left out, and counted.
struct RecordedCalls {
    std::wstring replay;
    int notifications = 0;
    // By function, or for SendMessageW by message name.
    std::map<std::string, int> replayed;
    std::map<std::string, int> leftOut;
    // The form once the action is done.
    FormState after;
};

// Runs `act` with this executable's imports of SendMessageW, EnableWindow,
// SetFocus and those lookups patched and the program's main window
// subclassed, recording what the program's code calls while the window
// handles BN_CLICKED. False, with the reason, when a call cannot be replayed:
// a message the replay does not know, or a window that is not the form's.
bool RecordCalls(HWND window, const std::function<void()>& act, RecordedCalls* calls,
                 std::string* error);
