#pragma once
#include <string>
#include "bench/results.h"

// The program's window, from its code linked into the runner, and the floor's,
// made side by side in the runner's own thread: recording what the program's
// code calls, and timing start-ups and clicks without the noise of starting
// processes.

// Registers both classes and sets up the common controls, as both start-ups
// do.
bool PrepareWindowClasses(std::string* error);

// Records what the program's start-up click calls, on a fresh main window,
// and checks that a floor replaying it starts with the same form.
bool RecordStartup(RecordedCalls* startup, std::string* error);

// Makes, clicks and shows a program window and a floor window `count` times
// each, in turn, timing each until the queue is empty.
void MeasureCreations(const RecordedCalls& startup, int count, Results* results);

// Records a round of the program's clicks, times `rounds` rounds of the
// program and the floor, and counts the messages of one more.
bool MeasureClicks(const RecordedCalls& startup, int rounds, Results* results, std::string* error);
