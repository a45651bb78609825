#pragma once
#include "bench/results.h"

// The table of medians: the program against the floor that replays its
// calls, with the bare window for scale.
void PrintTable(const Results& results, int reps);

// What lies behind the table: click times without the repaint and the slowest
// clicks, what the floor replays and leaves out, the messages of the clicks,
// the program's sections and imports, and how memory is read.
void PrintDetails(const Results& results);
