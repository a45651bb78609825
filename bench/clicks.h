#pragma once
#include <windows.h>
#include <vector>
#include "bench/messagetally.h"

// The rows of the cascade table, and the baseline: a click on an automatic
// radio button of the floor.
enum ClickKind {
    kActionClick,
    kActOnClick,
    kRelativeToClick,
    kUnitClick,
    kFloorClick,
    kClickKinds
};

const char* ClickKindName(ClickKind kind);

struct ClickTimes {
    // Milliseconds from sending BM_CLICK to the window being repainted, and
    // to BM_CLICK returning (the handling without the repaint).
    std::vector<double> total[kClickKinds];
    std::vector<double> handling[kClickKinds];
    // Clicks after which the clicked button was not checked.
    int missed = 0;
    // Clicks that did not return within the time-out (another process only).
    int failed = 0;
};

// Rounds of clicks: the program's nine clicks (three Action, two of each
// other row), then as many on the floor, each checking the other of two of
// its radio buttons. Each block starts by activating its window, untimed. A
// round starts and ends with "Center(Horz)" chosen, as the program starts.
// In this process the queue is emptied, untimed, after each click.
void RunClickRounds(HWND program, HWND floor, bool otherProcess, int rounds, ClickTimes* times);

struct ClickMessages {
    MessageTally perKind[kClickKinds];
    int clicks[kClickKinds] = {};
    // Each Action click of the round, in order: Move, Stretch, Center(Horz).
    std::vector<int> actionTotals;
};

// Dispatches whatever is queued for this thread.
void EmptyMessageQueue();

// One round in this process with the message hook on, counting what each
// BM_CLICK sends until it returns.
bool CountRoundMessages(HWND program, HWND floor, ClickMessages* messages);
