// Measures the program against its floor (and the bare window, for scale)
// and prints one table of medians. The floor replays what the program's code
// calls on its controls, so the ratios show what the program costs beyond
// the work its rules prescribe.
//   runner [--reps N] [--clicks N] [--verbose]    (TESSARY_EXE names the program)
#include <windows.h>
#include <objbase.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "app/mainwindowclass.h"
#include "bench/baselinewindows.h"
#include "bench/floorwindow.h"
#include "bench/inprocess.h"
#include "bench/report.h"
#include "bench/startups.h"
#include "tests/support/programprocess.h"

namespace {

struct Options {
    int reps = 15;
    int clicks = 450;
    bool verbose = false;
};

const int kCreationsPerRep = 4;

bool ParseCount(const char* text, int* value) {
    char* end = nullptr;
    long parsed = strtol(text, &end, 10);
    if (!*text || *end || parsed < 1 || parsed > 100000)
        return false;
    *value = (int)parsed;
    return true;
}

bool ParseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--verbose") == 0) {
            options->verbose = true;
            continue;
        }
        int* target = nullptr;
        if (strcmp(argv[i], "--reps") == 0)
            target = &options->reps;
        else if (strcmp(argv[i], "--clicks") == 0)
            target = &options->clicks;
        if (!target || i + 1 >= argc || !ParseCount(argv[i + 1], target))
            return false;
        ++i;
    }
    return true;
}

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring folder(path, length);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder;
}

void Progress(const char* text) {
    fprintf(stderr, "==> %s\n", text);
}

bool Measure(const Options& options, Results* results, std::string* error) {
    std::wstring folder = OwnFolder();
    std::wstring program = ProgramPath();
    if (program.empty()) {
        *error = "TESSARY_EXE names no program to measure";
        return false;
    }
    Executable executables[kWhichCount] = {
        {"tessary.exe", program, TESSARY_CLASS_NAME, L""},
        {"floor.exe", folder + L"floor.exe", FLOOR_CLASS_NAME, L""},
        {"bare.exe", folder + L"bare.exe", BARE_CLASS_NAME, L""},
    };
    for (int which = 0; which < kWhichCount; ++which) {
        if (!ReadFootprint(executables[which].path, &results->footprint[which])) {
            *error = std::string(executables[which].name) + " cannot be read as an executable";
            return false;
        }
    }

    Progress("recording the program's start-up click");
    if (!PrepareWindowClasses(error) || !RecordStartup(&results->startupCalls, error))
        return false;
    executables[kFloor].arguments = results->startupCalls.replay;

    Progress("warming up");
    if (!WarmUp(executables, error))
        return false;
    for (int rep = 0; rep < options.reps; ++rep) {
        char text[64];
        snprintf(text, sizeof text, "start-ups, run %d of %d", rep + 1, options.reps);
        Progress(text);
        if (!MeasureStartups(executables, rep, options.verbose, results, error))
            return false;
    }

    Progress("windows and clicks in the runner");
    int rounds = std::max(1, (options.clicks + kClicksPerRound - 1) / kClicksPerRound);
    MeasureCreations(results->startupCalls, kCreationsPerRep * options.reps, results);
    return MeasureClicks(results->startupCalls, rounds, results, error);
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        fprintf(stderr, "usage: runner [--reps N] [--clicks N] [--verbose]\n"
                        "  --reps N    start-ups of each executable (default 15)\n"
                        "  --clicks N  clicks on the program, and as many on the floor "
                        "(default 450)\n"
                        "  --verbose   each start-up's figures on stderr, and the details "
                        "after the table\n");
        return 2;
    }
    CoInitialize(NULL);
    Results results;
    std::string error;
    bool measured = Measure(options, &results, &error);
    CoUninitialize();
    if (!measured) {
        fprintf(stderr, "error: %s\n", error.c_str());
        return 1;
    }
    PrintTable(results, options.reps);
    if (options.verbose)
        PrintDetails(results);
    printf("\nbenchmark finished\n");
    return 0;
}
