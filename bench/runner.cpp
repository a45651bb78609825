// Measures the program against its floor (and the bare window, for context)
// and prints one table of medians. The three are run in turn within each
// repetition, so that the machine's drift falls on all of them alike.
//   runner [--reps N] [--clicks N] [--verbose]
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>
#include "app/extensionpoints.h"
#include "app/instance.h"
#include "app/mainwindowclass.h"
#include "app/placement.h"
#include "bench/baselinewindows.h"
#include "bench/clicks.h"
#include "bench/footprint.h"
#include "bench/launch.h"

namespace {

enum Which { kProgram, kFloor, kBare, kWhichCount };

struct Options {
    int reps = 15;
    int clicks = 450;
    bool verbose = false;
};

const int kClicksPerRound = 9;
const int kCreationsPerRep = 4;
const double kStartupTarget = 1.05;
const double kWorkingSetTarget = 1.05;
const double kActionClickTarget = 2.0;
const double kFrameMs = 16.0;
const double kExecutableTargetKiB = 48.0;

// Each run's figures on stderr as they come.
bool s_verbose;

struct Results {
    std::vector<double> startup[kWhichCount];
    std::vector<double> workingSet[kWhichCount];
    std::vector<double> privateBytes[kWhichCount];
    std::vector<double> committedPrivate[kWhichCount];
    // Creating and showing the window in this process, until the queue is
    // empty: the part of start-up that is the program's own, without the noise
    // of starting a process.
    std::vector<double> creation[kWhichCount];
    ClickTimes inProcess;
    ClickTimes otherProcess;
    ClickMessages messages;
    Footprint footprint[kWhichCount];
};

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

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Maximum(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

void Progress(const char* text) {
    fprintf(stderr, "==> %s\n", text);
}

// Ends a program that the benchmark gives up on; its own error is not news.
void Abandon(RunningProgram* running) {
    std::string ignored;
    CloseProgram(running, &ignored);
}

bool LaunchAndClose(const Executable& executable, double* startupMs, MemoryFigures* memory,
                    std::string* error) {
    RunningProgram running;
    if (!LaunchProgram(executable, &running, startupMs, error)) {
        Abandon(&running);
        return false;
    }
    if (!ReadMemoryFigures(running.process.hProcess, memory)) {
        *error = std::string(executable.name) + ": its memory figures cannot be read";
        Abandon(&running);
        return false;
    }
    if (!CloseProgram(&running, error)) {
        *error = std::string(executable.name) + ": " + *error;
        return false;
    }
    return true;
}

bool WarmUp(const Executable executables[], std::string* error) {
    for (int which = 0; which < kWhichCount; ++which) {
        double startup;
        MemoryFigures memory;
        if (!LaunchAndClose(executables[which], &startup, &memory, error))
            return false;
    }
    return true;
}

// Each alone, in an order that turns with the repetition.
bool MeasureStartups(const Executable executables[], int rep, Results* results,
                     std::string* error) {
    for (int step = 0; step < kWhichCount; ++step) {
        int which = (rep + step) % kWhichCount;
        double startup;
        MemoryFigures memory;
        if (!LaunchAndClose(executables[which], &startup, &memory, error))
            return false;
        if (s_verbose)
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

// The program and the floor side by side, clicked from this process.
bool MeasureClicksFromAnotherProcess(const Executable executables[], int rounds, Results* results,
                                     std::string* error) {
    RunningProgram program, floor;
    double ignored;
    bool ok = LaunchProgram(executables[kProgram], &program, &ignored, error) &&
              LaunchProgram(executables[kFloor], &floor, &ignored, error);
    if (ok) {
        MoveToCorner(program.window, 0);
        MoveToCorner(floor.window, 1);
        RunClickRounds(program.window, floor.window, true, rounds, &results->otherProcess);
    }
    std::string closeError;
    if (!CloseProgram(&program, &closeError) && ok) {
        *error = std::string(executables[kProgram].name) + ": " + closeError;
        ok = false;
    }
    if (!CloseProgram(&floor, &closeError) && ok) {
        *error = std::string(executables[kFloor].name) + ": " + closeError;
        ok = false;
    }
    return ok;
}

void DestroyInProcessWindow(HWND window) {
    DestroyWindow(window);
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT)
            DispatchMessageW(&message);
    }
}

// The real main window as start-up creates, sizes, clicks, centres and shows
// it, then destroyed; and the same for a floor window, in turn.
void MeasureCreations(HINSTANCE instance, int count, Results* results) {
    for (int i = 0; i < count; ++i) {
        double start = NowMs();
        HWND program = CreateMainWindow(instance);
        OnMainWindowCreated(program, const_cast<LPWSTR>(L""));
        CenterWindow(program, NULL);
        ShowWindow(program, SW_SHOW);
        UpdateWindow(program);
        EmptyMessageQueue();
        results->creation[kProgram].push_back(NowMs() - start);
        DestroyInProcessWindow(program);

        start = NowMs();
        HWND floor = CreateFloorWindow(instance);
        ShowWindow(floor, SW_SHOW);
        UpdateWindow(floor);
        EmptyMessageQueue();
        results->creation[kFloor].push_back(NowMs() - start);
        DestroyInProcessWindow(floor);
    }
}

// The program's window and a floor window, created in this process, side by
// side.
bool MeasureInProcess(int creations, int rounds, Results* results, std::string* error) {
    HINSTANCE instance = GetModuleHandleW(NULL);
    g_instance = instance;
    if (!RegisterMainWindowClass(instance) || !RegisterFloorClass(instance)) {
        *error = "cannot register the window classes in the runner";
        return false;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    MeasureCreations(instance, creations, results);

    HWND program = CreateMainWindow(instance);
    HWND floor = CreateFloorWindow(instance);
    if (!program || !floor) {
        *error = "cannot create the windows in the runner";
        DestroyInProcessWindow(program);
        DestroyInProcessWindow(floor);
        return false;
    }
    OnMainWindowCreated(program, const_cast<LPWSTR>(L""));
    MoveToCorner(program, 0);
    MoveToCorner(floor, 1);
    ShowWindow(program, SW_SHOW);
    UpdateWindow(program);
    ShowWindow(floor, SW_SHOW);
    UpdateWindow(floor);
    EmptyMessageQueue();

    RunClickRounds(program, floor, false, rounds, &results->inProcess);
    bool counted = CountRoundMessages(program, floor, &results->messages);
    DestroyInProcessWindow(program);
    DestroyInProcessWindow(floor);
    if (!counted)
        *error = "cannot install the message hook";
    return counted;
}

bool CheckClicks(const ClickTimes& times, const char* where, std::string* error) {
    if (times.failed) {
        *error = std::to_string(times.failed) + " clicks " + where + " timed out";
        return false;
    }
    if (times.missed) {
        *error = std::to_string(times.missed) + " clicks " + where + " left their button unchecked";
        return false;
    }
    return true;
}

// --- the table --------------------------------------------------------------

struct Row {
    std::string label, program, floor, ratio, target, met, bare, bareRatio;
};

std::string Fixed(double value, int decimals) {
    char text[32];
    snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Ratio(double a, double b) {
    return b > 0 ? Fixed(a / b, 3) : "-";
}

std::string Met(bool met) {
    return met ? "yes" : "NO";
}

// A row of medians of the three executables; the target, if any, bounds the
// program/floor ratio.
Row MedianRow(const char* label, const std::vector<double> values[], int decimals, double target) {
    double program = Median(values[kProgram]);
    double floor = Median(values[kFloor]);
    double bare = Median(values[kBare]);
    Row row = {label, Fixed(program, decimals), Fixed(floor, decimals), Ratio(program, floor), "-",
               "-",   Fixed(bare, decimals),    Ratio(program, bare)};
    if (target > 0) {
        row.target = "<= " + Fixed(target, 2);
        row.met = Met(floor > 0 && program / floor <= target);
    }
    return row;
}

void AddClickRows(const ClickTimes& times, const char* where, std::vector<Row>* rows) {
    const double kMicroseconds = 1000.0;
    double floor = Median(times.total[kFloorClick]) * kMicroseconds;
    for (int kind = kActionClick; kind < kFloorClick; ++kind) {
        double program = Median(times.total[kind]) * kMicroseconds;
        Row row = {std::string(ClickKindName((ClickKind)kind)) + " click, " + where + ", us",
                   Fixed(program, 0),
                   Fixed(floor, 0),
                   Ratio(program, floor),
                   "-",
                   "-",
                   "-",
                   "-"};
        if (kind == kActionClick) {
            row.target = "<= " + Fixed(kActionClickTarget, 2);
            row.met = Met(floor > 0 && program / floor <= kActionClickTarget);
        }
        rows->push_back(row);
    }
    double slowest = 0;
    for (int kind = kActionClick; kind < kFloorClick; ++kind)
        slowest = std::max(slowest, Maximum(times.total[kind]));
    double floorSlowest = Maximum(times.total[kFloorClick]);
    rows->push_back({std::string("Slowest click, ") + where + ", ms", Fixed(slowest, 2),
                     Fixed(floorSlowest, 2), Ratio(slowest, floorSlowest),
                     "<= " + Fixed(kFrameMs, 0) + " ms", Met(slowest <= kFrameMs), "-", "-"});
}

double PerClick(const ClickMessages& messages, ClickKind kind) {
    return messages.clicks[kind] ? (double)messages.perKind[kind].total / messages.clicks[kind] : 0;
}

int ProgramClicks(const ClickTimes& times) {
    size_t clicks = 0;
    for (int kind = kActionClick; kind < kFloorClick; ++kind)
        clicks += times.total[kind].size();
    return (int)clicks;
}

void PrintTable(const Options& options, const Results& results) {
    std::vector<Row> rows;
    rows.push_back(
        MedianRow("Start-up to visible and idle, ms", results.startup, 1, kStartupTarget));
    Row creation = MedianRow("Window shown and idle, this process, ms", results.creation, 2, 0);
    creation.bare = creation.bareRatio = "-";
    rows.push_back(creation);
    rows.push_back(MedianRow("Working set, KiB", results.workingSet, 0, kWorkingSetTarget));
    rows.push_back(MedianRow("Private bytes, KiB", results.privateBytes, 0, 0));
    rows.push_back(MedianRow("Committed private memory, KiB", results.committedPrivate, 0, 0));
    AddClickRows(results.inProcess, "this process", &rows);
    AddClickRows(results.otherProcess, "other process", &rows);

    double actionMessages = PerClick(results.messages, kActionClick);
    double floorMessages = PerClick(results.messages, kFloorClick);
    rows.push_back({"Messages sent by one Action click", Fixed(actionMessages, 1),
                    Fixed(floorMessages, 1), Ratio(actionMessages, floorMessages), "-", "-", "-",
                    "-"});

    const Footprint* footprint = results.footprint;
    double sizes[kWhichCount];
    for (int which = 0; which < kWhichCount; ++which)
        sizes[which] = footprint[which].fileSize / 1024.0;
    rows.push_back({"Executable, icon included, KiB", Fixed(sizes[kProgram], 1),
                    Fixed(sizes[kFloor], 1), Ratio(sizes[kProgram], sizes[kFloor]),
                    "<= " + Fixed(kExecutableTargetKiB, 0),
                    Met(sizes[kProgram] <= kExecutableTargetKiB), Fixed(sizes[kBare], 1),
                    Ratio(sizes[kProgram], sizes[kBare])});
    auto dllCount = [&](int which) {
        return std::to_string(footprint[which].importedDlls.size()) + " (" +
               std::to_string(footprint[which].nonSystemDlls.size()) + ")";
    };
    rows.push_back({"Imported DLLs (not system)", dllCount(kProgram), dllCount(kFloor), "-",
                    "system only", Met(footprint[kProgram].nonSystemDlls.empty()), dllCount(kBare),
                    "-"});

    printf("Tessary benchmark: medians of %d runs; %d program clicks in this process, %d from "
           "another\n\n",
           options.reps, ProgramClicks(results.inProcess), ProgramClicks(results.otherProcess));
    const char* format = "%-40s %9s %9s %10s %11s %4s %9s %9s\n";
    printf(format, "", "program", "floor", "prog/floor", "target", "met", "bare", "prog/bare");
    for (const Row& row : rows)
        printf(format, row.label.c_str(), row.program.c_str(), row.floor.c_str(), row.ratio.c_str(),
               row.target.c_str(), row.met.c_str(), row.bare.c_str(), row.bareRatio.c_str());
}

void PrintHandlingTimes(const ClickTimes& times, const char* where) {
    printf("  %s:", where);
    for (int kind = kActionClick; kind < kClickKinds; ++kind)
        printf("%s %s %.0f", kind == kActionClick ? "" : ",", ClickKindName((ClickKind)kind),
               Median(times.handling[kind]) * 1000.0);
    printf("\n");
}

// The largest counts first, at most `limit` of them, as (count, key).
template <typename Key>
std::vector<std::pair<int, Key>> Ranked(const std::map<Key, int>& counts, size_t limit) {
    std::vector<std::pair<int, Key>> ranked;
    for (const auto& entry : counts)
        ranked.emplace_back(entry.second, entry.first);
    std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    if (ranked.size() > limit)
        ranked.resize(limit);
    return ranked;
}

void PrintMessageBreakdown(const ClickMessages& messages) {
    printf("\nMessages sent while one BM_CLICK is handled (WH_CALLWNDPROC), per click:");
    for (int kind = kActionClick; kind < kClickKinds; ++kind)
        printf("%s %s %.1f", kind == kActionClick ? "" : ",", ClickKindName((ClickKind)kind),
               PerClick(messages, (ClickKind)kind));
    printf("\n  Action clicks one by one (Move, Stretch, Center(Horz)):");
    for (int total : messages.actionTotals)
        printf(" %d", total);
    const MessageTally& action = messages.perKind[kActionClick];
    printf("; %d of %d went to the main window\n", action.toMainWindow, action.total);

    int clicks = std::max(1, messages.clicks[kActionClick]);
    printf("  Most frequent in the Action clicks (per click):\n");
    for (const auto& entry : Ranked(action.byMessage, 10))
        printf("    %-22s 0x%04X %7.1f\n", MessageName(entry.second).c_str(), entry.second,
               (double)entry.first / clicks);
    printf("  Sent to, in the Action clicks (control identifier, 0 the main window; per click):");
    for (const auto& entry : Ranked(action.byControl, 8))
        printf(" %d: %.1f", entry.second, (double)entry.first / clicks);
    printf("\n");
}

void PrintFootprint(const Footprint& footprint) {
    printf("\ntessary.exe: %lu bytes; imports", (unsigned long)footprint.fileSize);
    for (const std::string& dll : footprint.importedDlls)
        printf(" %s", dll.c_str());
    if (!footprint.nonSystemDlls.empty()) {
        printf("; not in the system folder:");
        for (const std::string& dll : footprint.nonSystemDlls)
            printf(" %s", dll.c_str());
    }
    printf("\n  sections (bytes in the file):");
    for (const auto& section : footprint.sections)
        printf(" %s %lu", section.first.c_str(), (unsigned long)section.second);
    printf("\n");
}

// The slowest clicks of each kind, with their place among the clicks of that
// kind, to tell a first-click cost from the machine's hiccups.
void PrintSlowestClicks(const ClickTimes& times, const char* where) {
    for (int kind = kActionClick; kind < kClickKinds; ++kind) {
        const std::vector<double>& total = times.total[kind];
        std::vector<size_t> order(total.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(),
                  [&](size_t a, size_t b) { return total[a] > total[b]; });
        fprintf(stderr, "    %s, %s, slowest ms:", ClickKindName((ClickKind)kind), where);
        for (size_t i = 0; i < order.size() && i < 5; ++i)
            fprintf(stderr, " %.2f (#%zu)", total[order[i]], order[i] + 1);
        fprintf(stderr, "\n");
    }
}

void PrintNotes(const Results& results) {
    printf("\nClick times run from sending BM_CLICK until the window is repainted "
           "(RedrawWindow with RDW_UPDATENOW).\nWithout the repaint, median us:\n");
    PrintHandlingTimes(results.inProcess, "this process");
    PrintHandlingTimes(results.otherProcess, "other process");
    PrintMessageBreakdown(results.messages);
    PrintFootprint(results.footprint[kProgram]);
    typedef const char*(CDECL * WineVersion)();
    WineVersion wineVersion =
        (WineVersion)(void*)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
    printf("\nMemory is read once the window is visible and idle: the working set "
           "(WorkingSetSize),\nprivate bytes (PrivateUsage, or PagefileUsage where that "
           "reads 0) and the committed private pages\n(VirtualQueryEx).\n");
    if (wineVersion)
        printf("Under Wine PrivateUsage reads 0; WorkingSetSize is the Linux process's resident "
               "size (VmRSS,\nshared libraries included) and PagefileUsage its resident "
               "anonymous memory (RssAnon).\nMeasured under Wine %s.\n",
               wineVersion());
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        fprintf(stderr, "usage: runner [--reps N] [--clicks N] [--verbose]\n"
                        "  --reps N    start-ups of each executable, and click sessions "
                        "(default 15)\n"
                        "  --clicks N  program clicks in each of the two ways (default 450)\n"
                        "  --verbose   each run's figures and the slowest clicks on stderr\n");
        return 2;
    }
    CoInitialize(NULL);
    std::wstring folder = OwnFolder();
    const Executable executables[kWhichCount] = {
        {"tessary.exe", folder + L"..\\tessary.exe", TESSARY_CLASS_NAME},
        {"floor.exe", folder + L"floor.exe", FLOOR_CLASS_NAME},
        {"bare.exe", folder + L"bare.exe", BARE_CLASS_NAME},
    };

    s_verbose = options.verbose;
    Results results;
    std::string error;
    for (int which = 0; which < kWhichCount; ++which) {
        if (!ReadFootprint(executables[which].path, &results.footprint[which])) {
            fprintf(stderr, "error: %s cannot be read as an executable\n", executables[which].name);
            return 1;
        }
    }

    int rounds = std::max(1, (options.clicks + kClicksPerRound - 1) / kClicksPerRound);
    int roundsPerRep = std::max(1, (rounds + options.reps - 1) / options.reps);
    Progress("warming up");
    bool ok = WarmUp(executables, &error);
    for (int rep = 0; ok && rep < options.reps; ++rep) {
        char text[64];
        snprintf(text, sizeof text, "run %d of %d", rep + 1, options.reps);
        Progress(text);
        ok = MeasureStartups(executables, rep, &results, &error) &&
             MeasureClicksFromAnotherProcess(executables, roundsPerRep, &results, &error);
    }
    if (ok) {
        Progress("windows and clicks in this process");
        ok = MeasureInProcess(kCreationsPerRep * options.reps, rounds, &results, &error) &&
             CheckClicks(results.otherProcess, "from another process", &error) &&
             CheckClicks(results.inProcess, "in this process", &error);
    }
    CoUninitialize();
    if (!ok) {
        fprintf(stderr, "error: %s\n", error.c_str());
        return 1;
    }
    if (s_verbose) {
        PrintSlowestClicks(results.inProcess, "this process");
        PrintSlowestClicks(results.otherProcess, "other process");
    }
    PrintTable(options, results);
    PrintNotes(results);
    printf("\nbenchmark finished\n");
    return 0;
}
