#pragma once
#include <vector>
#include "bench/clickrecorder.h"
#include "bench/clicks.h"
#include "bench/footprint.h"

// The columns of the table: the program, the floor replaying the program's
// calls, and the bare window.
enum Which { kProgram, kFloor, kBare, kWhichCount };

struct Results {
    // A figure per start-up: from starting the process to its window being
    // visible and idle, and its memory then.
    std::vector<double> startup[kWhichCount];
    std::vector<double> workingSet[kWhichCount];
    std::vector<double> privateBytes[kWhichCount];
    std::vector<double> committedPrivate[kWhichCount];
    // The program's and the floor's window made, clicked at start-up and
    // shown in the runner, until the queue is empty: their start-up without
    // the noise of starting a process.
    std::vector<double> creation[kWhichCount];
    // The program's and the floor's clicks.
    ClickTimes clicks[kWhichCount];
    ClickMessages messages[kWhichCount];
    // Messages sent by a click on a floor radio button with nothing replayed.
    int radioAloneMessages = 0;

    RecordedCalls startupCalls;
    std::vector<RecordedCalls> round;
    Footprint footprint[kWhichCount];
};
