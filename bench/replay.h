#pragma once
#include <windows.h>

// What the program's code calls on its controls while its window handles the
// click notifications of one click, played again on the floor's controls.
// The runner records it and hands it over as text, a word a call, separated
// by spaces:
//   N                                   a click notification reaches the
//                                       window; the calls up to the next N
//                                       are played when the floor's does
//   S<id>,<message>,<wParam>,<lParam>   SendMessageW
//   E<id>,<enable>                      EnableWindow
//   F<id>                               SetFocus
// <id> is a control identifier, 0 for the window itself; every number is
// decimal and fits in 32 bits.

enum ReplayCall : WCHAR {
    kReplayNotification = L'N',
    kReplaySend = L'S',
    kReplayEnable = L'E',
    kReplayFocus = L'F',
};

struct ReplayStep {
    ReplayCall call;
    HWND target;
    UINT message;
    WPARAM wParam; // the flag of EnableWindow
    LPARAM lParam;
};

struct Replay {
    ReplayStep* steps;
    int count;
    int next;
};

// Reads the text and finds each control of the window once, here, so that
// playing looks nothing up. False for text it cannot read or a control the
// window lacks.
bool LoadReplay(HWND window, const WCHAR* text, Replay* replay);
void FreeReplay(Replay* replay);

// Plays from the notification at the cursor up to the next one; a call that
// brings a notification of its own plays on from within it, as recorded.
void PlayNotification(Replay* replay);
bool ReplayFinished(const Replay* replay);
