#include "bench/report.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <numeric>
#include <string>

namespace {

// The program may do at most a tenth more than the floor that replays its
// calls with nothing looked up.
const double kRatioTarget = 1.10;
const double kWorkingSetTarget = 1.05;
// The limit that the suite holds the program to (tests/executable_test.cpp).
const double kExecutableTargetKiB = 40.0;
const double kMicrosecondsPerMs = 1000.0;

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Row {
    std::string label, program, floor, ratio, target, met, bare;
};

std::string Fixed(double value, int decimals) {
    char text[32];
    snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Met(bool met) {
    return met ? "yes" : "NO";
}

// The target, if any, bounds the ratio; 0 for none.
Row RatioRow(const std::string& label, double program, double floor, int decimals, double ratio,
             double target) {
    Row row = {label, Fixed(program, decimals), Fixed(floor, decimals), "-", "-", "-", "-"};
    if (ratio > 0)
        row.ratio = Fixed(ratio, 3);
    if (target > 0) {
        row.target = "<= " + Fixed(target, 2);
        row.met = Met(ratio > 0 && ratio <= target);
    }
    return row;
}

double Divided(double program, double floor) {
    return floor > 0 ? program / floor : 0;
}

// The median of program / floor over figures measured side by side, the
// program's and the floor's of a run or a round one after the other, so that
// the machine's changing load falls on both alike.
double PairedRatio(const std::vector<double>& program, const std::vector<double>& floor) {
    std::vector<double> ratios;
    for (size_t i = 0; i < program.size() && i < floor.size(); ++i) {
        if (floor[i] > 0)
            ratios.push_back(program[i] / floor[i]);
    }
    return Median(ratios);
}

Row MedianRow(const char* label, const std::vector<double> values[], int decimals, double target) {
    Row row = RatioRow(label, Median(values[kProgram]), Median(values[kFloor]), decimals,
                       PairedRatio(values[kProgram], values[kFloor]), target);
    if (!values[kBare].empty())
        row.bare = Fixed(Median(values[kBare]), decimals);
    return row;
}

double PerClick(const ClickMessages& messages, ClickFamily family) {
    int clicks = messages.clicks[family];
    return clicks ? (double)messages.perFamily[family].total / clicks : 0;
}

int ClickCount(const ClickTimes& times) {
    size_t clicks = 0;
    for (const std::vector<double>& family : times.total)
        clicks += family.size();
    return (int)clicks;
}

void AddFootprintRows(const Footprint footprint[], std::vector<Row>* rows) {
    auto kib = [&](int which) { return footprint[which].fileSize / 1024.0; };
    Row size = RatioRow("Executable, icon included, KiB", kib(kProgram), kib(kFloor), 1,
                        Divided(kib(kProgram), kib(kFloor)), 0);
    size.target = "< " + Fixed(kExecutableTargetKiB, 0);
    size.met = Met(kib(kProgram) < kExecutableTargetKiB);
    size.bare = Fixed(kib(kBare), 1);
    rows->push_back(size);
    auto dlls = [&](int which) {
        return std::to_string(footprint[which].importedDlls.size()) + " (" +
               std::to_string(footprint[which].nonSystemDlls.size()) + ")";
    };
    rows->push_back({"Imported DLLs (not system)", dlls(kProgram), dlls(kFloor), "-", "system only",
                     Met(footprint[kProgram].nonSystemDlls.empty()), dlls(kBare)});
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

void PrintClickTimes(const Results& results) {
    printf("\nClick times run from sending BM_CLICK until the window is repainted (RedrawWindow "
           "with RDW_UPDATENOW).\nWithout the repaint, median us (program / floor):");
    for (int family = 0; family < kClickFamilies; ++family)
        printf("%s %s %.0f / %.0f", family ? "," : "", ClickFamilyName((ClickFamily)family),
               Median(results.clicks[kProgram].handling[family]) * kMicrosecondsPerMs,
               Median(results.clicks[kFloor].handling[family]) * kMicrosecondsPerMs);
    printf("\nThe slowest clicks, ms, with their place among the clicks of their family:\n");
    for (int which : {kProgram, kFloor}) {
        for (int family = 0; family < kClickFamilies; ++family) {
            const std::vector<double>& total = results.clicks[which].total[family];
            std::vector<size_t> order(total.size());
            std::iota(order.begin(), order.end(), 0);
            std::sort(order.begin(), order.end(),
                      [&](size_t a, size_t b) { return total[a] > total[b]; });
            printf("  %-7s %-11s", which == kProgram ? "program" : "floor",
                   ClickFamilyName((ClickFamily)family));
            for (size_t i = 0; i < order.size() && i < 5; ++i)
                printf(" %.2f (#%zu)", total[order[i]], order[i] + 1);
            printf("\n");
        }
    }
}

void PrintCalls(const char* label, const std::vector<const RecordedCalls*>& calls) {
    std::map<std::string, int> replayed, leftOut;
    int notifications = 0;
    for (const RecordedCalls* recorded : calls) {
        notifications += recorded->notifications;
        for (const auto& entry : recorded->replayed)
            replayed[entry.first] += entry.second;
        for (const auto& entry : recorded->leftOut)
            leftOut[entry.first] += entry.second;
    }
    double count = std::max<size_t>(1, calls.size());
    auto print = [count](const std::map<std::string, int>& counts) {
        if (counts.empty())
            printf(" nothing");
        for (const auto& entry : Ranked(counts, 8))
            printf(" %s %.1f", entry.second.c_str(), entry.first / count);
    };
    printf("  %-12s %.1f notifications; replayed:", label, notifications / count);
    print(replayed);
    printf("; left out:");
    print(leftOut);
    printf("\n");
}

void PrintReplays(const Results& results) {
    printf("\nWhat the program's code calls while its window handles a click's notifications, "
           "per click.\nThe floor replays the calls that change a control, on controls it found "
           "beforehand, and leaves\nout the lookups: those counted here, and the reads of window "
           "styles, parents and states:\n");
    PrintCalls("start-up", {&results.startupCalls});
    for (int family = 0; family < kClickFamilies; ++family) {
        std::vector<const RecordedCalls*> calls;
        for (size_t click = 0; click < results.round.size(); ++click) {
            if (FamilyOfClick((int)click) == family)
                calls.push_back(&results.round[click]);
        }
        PrintCalls(ClickFamilyName((ClickFamily)family), calls);
    }
}

void PrintMessages(const Results& results) {
    const ClickMessages& program = results.messages[kProgram];
    printf("\nMessages sent while one BM_CLICK is handled (WH_CALLWNDPROC), per click, program / "
           "floor:");
    for (int family = 0; family < kClickFamilies; ++family)
        printf("%s %s %.1f / %.1f", family ? "," : "", ClickFamilyName((ClickFamily)family),
               PerClick(program, (ClickFamily)family),
               PerClick(results.messages[kFloor], (ClickFamily)family));
    printf("\n  a floor radio button clicked with nothing replayed: %d\n",
           results.radioAloneMessages);
    printf("  the program's Action clicks one by one (Move, Stretch, Center(Horz)):");
    for (int total : program.actionTotals)
        printf(" %d", total);
    const MessageTally& action = program.perFamily[kActionClick];
    printf("; %d of %d went to the main window\n", action.toMainWindow, action.total);
    double clicks = std::max(1, program.clicks[kActionClick]);
    printf("  Most frequent in the program's Action clicks (per click):\n");
    for (const auto& entry : Ranked(action.byMessage, 10))
        printf("    %-22s 0x%04X %7.1f\n", MessageName(entry.second).c_str(), entry.second,
               entry.first / clicks);
    printf("  Sent to, in the program's Action clicks (control identifier, 0 the main window; "
           "per click):");
    for (const auto& entry : Ranked(action.byControl, 8))
        printf(" %d: %.1f", entry.second, entry.first / clicks);
    printf("\n");
}

void PrintFootprint(const Footprint& footprint) {
    printf("\ntessary.exe: %zu bytes; imports", footprint.fileSize);
    for (const std::string& dll : footprint.importedDlls)
        printf(" %s", dll.c_str());
    if (!footprint.nonSystemDlls.empty()) {
        printf("; not in the system folder:");
        for (const std::string& dll : footprint.nonSystemDlls)
            printf(" %s", dll.c_str());
    }
    printf("\n  sections (bytes in the file):");
    for (const PeImage::Section& section : footprint.sections)
        printf(" %s %lu", section.name.c_str(), (unsigned long)section.rawSize);
    printf("\n");
}

// Wine's version, or NULL on Windows.
const char* WineVersion() {
    typedef const char*(CDECL * WineVersionCall)();
    WineVersionCall call =
        (WineVersionCall)(void*)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
    return call ? call() : NULL;
}

// Where the figures come from: the commit that scripts/bench.sh names
// (TESSARY_BENCH_COMMIT), the day in UTC and the Wine that ran them.
void PrintSource() {
    printf("Tessary benchmark");
    const char* commit = getenv("TESSARY_BENCH_COMMIT");
    if (commit && *commit)
        printf(" of commit %s", commit);
    SYSTEMTIME now;
    GetSystemTime(&now);
    printf(", %04d-%02d-%02d", now.wYear, now.wMonth, now.wDay);
    if (const char* wine = WineVersion())
        printf(", Wine %s", wine);
    printf("\n");
}

void PrintMemoryNote() {
    const char* wine = WineVersion();
    printf("\nMemory is read once the window is visible and idle: the working set "
           "(WorkingSetSize),\nprivate bytes (PrivateUsage, or PagefileUsage where that "
           "reads 0) and the committed private pages\n(VirtualQueryEx).\n");
    if (wine)
        printf("Under Wine PrivateUsage reads 0; WorkingSetSize is the Linux process's resident "
               "size (VmRSS,\nshared libraries included) and PagefileUsage its resident "
               "anonymous memory (RssAnon).\nMeasured under Wine %s.\n",
               wine);
}

} // namespace

void PrintTable(const Results& results, int reps) {
    std::vector<Row> rows;
    rows.push_back(MedianRow("Start-up to visible and idle, ms", results.startup, 1, kRatioTarget));
    rows.push_back(MedianRow("Start-up in the runner, window only, ms", results.creation, 2, 0));
    for (int family = 0; family < kClickFamilies; ++family) {
        std::string label = std::string(ClickFamilyName((ClickFamily)family)) + " click, us";
        rows.push_back(
            RatioRow(label, Median(results.clicks[kProgram].total[family]) * kMicrosecondsPerMs,
                     Median(results.clicks[kFloor].total[family]) * kMicrosecondsPerMs, 0,
                     PairedRatio(results.clicks[kProgram].roundTotal[family],
                                 results.clicks[kFloor].roundTotal[family]),
                     kRatioTarget));
    }
    double programMessages = PerClick(results.messages[kProgram], kActionClick);
    double floorMessages = PerClick(results.messages[kFloor], kActionClick);
    rows.push_back(RatioRow("Messages sent by one Action click", programMessages, floorMessages, 1,
                            Divided(programMessages, floorMessages), 0));
    rows.push_back(MedianRow("Working set, KiB", results.workingSet, 0, kWorkingSetTarget));
    rows.push_back(MedianRow("Private bytes, KiB", results.privateBytes, 0, 0));
    rows.push_back(MedianRow("Committed private memory, KiB", results.committedPrivate, 0, 0));
    AddFootprintRows(results.footprint, &rows);

    PrintSource();
    printf("%d start-ups of each executable, %d clicks on the program and on the floor\n(which "
           "replays the program's calls); medians, and ratios as medians of side-by-side pairs\n\n",
           reps, ClickCount(results.clicks[kProgram]));
    const char* format = "%-40s %9s %9s %7s %11s %4s %9s\n";
    printf(format, "", "program", "floor", "ratio", "target", "met", "bare");
    for (const Row& row : rows)
        printf(format, row.label.c_str(), row.program.c_str(), row.floor.c_str(), row.ratio.c_str(),
               row.target.c_str(), row.met.c_str(), row.bare.c_str());
}

void PrintDetails(const Results& results) {
    PrintClickTimes(results);
    PrintReplays(results);
    PrintMessages(results);
    PrintFootprint(results.footprint[kProgram]);
    PrintMemoryNote();
}
