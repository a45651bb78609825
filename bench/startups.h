#pragma once
#include <string>
#include "bench/launch.h"
#include "bench/results.h"

// The three executables started one at a time, each measured from starting
// its process to its window being visible and idle, and its memory read then.

// One start-up of each, not measured; the floor's form must then be the
// program's.
bool WarmUp(const Executable executables[kWhichCount], std::string* error);

// One start-up of each, in an order that turns with the repetition; with
// verbose, each one's figures on stderr as they come.
bool MeasureStartups(const Executable executables[kWhichCount], int rep, bool verbose,
                     Results* results, std::string* error);
