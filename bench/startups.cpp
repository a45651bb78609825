#include "bench/startups.h"
#include <cstdio>

namespace {

// With a form, also reads the form once the memory has been read.
bool LaunchAndClose(const Executable& executable, double* startupMs, MemoryFigures* memory,
                    FormState* form, std::string* error) {
    LaunchedProgram launched;
    if (!LaunchProgram(executable, &launched, startupMs, error))
        return false;
    if (!ReadMemoryFigures(launched.process.Process(), memory)) {
        *error = std::string(executable.name) + ": its memory figures cannot be read";
        return false;
    }
    if (form)
        *form = ReadFormState(launched.window);
    return CloseProgram(executable, &launched, error);
}

} // namespace

bool WarmUp(const Executable executables[kWhichCount], std::string* error) {
    FormState forms[kWhichCount];
    for (int which = 0; which < kWhichCount; ++which) {
        double startup;
        MemoryFigures memory;
        if (!LaunchAndClose(executables[which], &startup, &memory,
                            which == kBare ? nullptr : &forms[which], error))
            return false;
    }
    if (forms[kFloor] == forms[kProgram])
        return true;
    *error = std::string(executables[kFloor].name) + " started with the form at \"" +
             Describe(forms[kFloor]) + "\", " + executables[kProgram].name + " at \"" +
             Describe(forms[kProgram]) + "\"";
    return false;
}

bool MeasureStartups(const Executable executables[kWhichCount], int rep, bool verbose,
                     Results* results, std::string* error) {
    for (int step = 0; step < kWhichCount; ++step) {
        int which = (rep + step) % kWhichCount;
        double startup;
        MemoryFigures memory;
        if (!LaunchAndClose(executables[which], &startup, &memory, nullptr, error))
            return false;
        if (verbose)
            fprintf(stderr,
                    "    %-12s start-up %6.1f ms, working set %6.0f KiB, private %6.0f KiB\n",
                    executables[which].name, startup, memory.workingSetKiB, memory.privateKiB);
        results->startup[which].push_back(startup);
        results->workingSet[which].push_back(memory.workingSetKiB);
        results->privateBytes[which].push_back(memory.privateKiB);
        results->committedPrivate[which].push_back(memory.committedPrivateKiB);
    }
    return true;
}
