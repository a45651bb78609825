#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "bench/clickrecorder.h"
#include "bench/messagetally.h"

// The rows of the cascade table that a click runs.
enum ClickFamily { kActionClick, kActOnClick, kRelativeToClick, kUnitClick, kClickFamilies };

const char* ClickFamilyName(ClickFamily family);

// A round is nine clicks (three Action, two of each other family) that start
// and end with "Center(Horz)" chosen, as the program starts.
const int kClicksPerRound = 9;
ClickFamily FamilyOfClick(int click);

// The round's clicks on the program's window, recorded one by one, after
// activating it as the timed rounds do.
bool RecordRound(HWND program, std::vector<RecordedCalls>* round, std::string* error);

struct ClickTimes {
    // Milliseconds from sending BM_CLICK to the window being repainted, and
    // to BM_CLICK returning (the handling without the repaint).
    std::vector<double> total[kClickFamilies];
    std::vector<double> handling[kClickFamilies];
    // The total of each round's clicks of a family, round by round.
    std::vector<double> roundTotal[kClickFamilies];
};

// Rounds of clicks: the program's nine and the same nine on the floor with
// their replays, the program's first in every other round. Each block starts
// by activating its window, untimed, and the queue is emptied, untimed, after
// each click. A click that leaves either
// form other than the recording left the program's fails the rounds.
bool RunClickRounds(HWND program, HWND floor, const std::vector<RecordedCalls>& round, int rounds,
                    ClickTimes* programTimes, ClickTimes* floorTimes, std::string* error);

struct ClickMessages {
    MessageTally perFamily[kClickFamilies];
    int clicks[kClickFamilies] = {};
    // Each Action click of the round, in order: Move, Stretch, Center(Horz).
    std::vector<int> actionTotals;
};

// One round of each with the message hook on, counting what each BM_CLICK
// sends until it returns; then, on the floor, one click of "Move" with
// nothing replayed: a radio button's own work (*radioAlone).
bool CountRoundMessages(HWND program, HWND floor, const std::vector<RecordedCalls>& round,
                        ClickMessages* programMessages, ClickMessages* floorMessages,
                        int* radioAlone, std::string* error);
