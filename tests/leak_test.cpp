#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <stdlib.h>
#include <string>
#include <vector>
#include "mainwindow/controlids.h"
#include "tests/support/importpatch.h"
#include "tests/testwindow.h"

namespace {

// What the program's code acquired and released, seen through its imports.
struct Ledger {
    long contextsTaken = 0;
    long contextsReleased = 0;
    long contextsReleasedChanged = 0; // font or mapping mode not put back
    std::set<void*> liveBlocks;
    long setProps = 0;
    long windowsCreated = 0;
    bool failAllocations = false;
};
Ledger g_ledger;
HWND g_model; // a main window whose controls the floor copies

struct ContextState {
    HGDIOBJ font;
    int mapMode;
};
std::map<HDC, ContextState> g_taken;

decltype(&GetDC) RealGetDC;
decltype(&ReleaseDC) RealReleaseDC;
decltype(&HeapAlloc) RealHeapAlloc;
decltype(&HeapFree) RealHeapFree;
decltype(&SetPropW) RealSetPropW;
decltype(&CreateWindowExW) RealCreateWindowExW;

HDC WINAPI CountingGetDC(HWND window) {
    HDC dc = RealGetDC(window);
    ++g_ledger.contextsTaken;
    g_taken[dc] = {GetCurrentObject(dc, OBJ_FONT), GetMapMode(dc)};
    return dc;
}

int WINAPI CountingReleaseDC(HWND window, HDC dc) {
    ++g_ledger.contextsReleased;
    auto taken = g_taken.find(dc);
    if (taken == g_taken.end() || GetCurrentObject(dc, OBJ_FONT) != taken->second.font ||
        GetMapMode(dc) != taken->second.mapMode)
        ++g_ledger.contextsReleasedChanged;
    if (taken != g_taken.end())
        g_taken.erase(taken);
    return RealReleaseDC(window, dc);
}

LPVOID WINAPI CountingHeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
    if (g_ledger.failAllocations)
        return NULL;
    void* block = RealHeapAlloc(heap, flags, bytes);
    if (block)
        g_ledger.liveBlocks.insert(block);
    return block;
}

BOOL WINAPI CountingHeapFree(HANDLE heap, DWORD flags, LPVOID block) {
    g_ledger.liveBlocks.erase(block);
    return RealHeapFree(heap, flags, block);
}

BOOL WINAPI CountingSetPropW(HWND window, LPCWSTR name, HANDLE data) {
    ++g_ledger.setProps;
    return RealSetPropW(window, name, data);
}

HWND WINAPI CountingCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style,
                                    int x, int y, int width, int height, HWND parent, HMENU menu,
                                    HINSTANCE instance, LPVOID param) {
    ++g_ledger.windowsCreated;
    return RealCreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu,
                               instance, param);
}

// Busy bytes of the process heap.
SIZE_T HeapBusyBytes() {
    SIZE_T busy = 0;
    PROCESS_HEAP_ENTRY entry = {};
    HANDLE heap = GetProcessHeap();
    HeapLock(heap);
    while (HeapWalk(heap, &entry)) {
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            busy += entry.cbData;
    }
    HeapUnlock(heap);
    return busy;
}

// Lives are counted in phases of 31: Wine's low-fragmentation heap hands
// small blocks out of groups of 31 that a heap walk sees whole, so a phase of
// that many lives that each keep the same blocks takes the same whole groups.
const int kLivesPerPhase = 31;

// Phases of the program, each beside a phase of the controls alone.
int PhaseCount() {
    const char* configured = getenv("TESSARY_LEAK_CYCLES");
    int lives = configured ? atoi(configured) : 5 * kLivesPerPhase;
    return std::max(1, (lives + kLivesPerPhase - 1) / kLivesPerPhase);
}

class Resources : public ::testing::Test {
  protected:
    void SetUp() override {
        g_ledger = Ledger();
        g_taken.clear();
        Hook("user32.dll", "GetDC", CountingGetDC, &RealGetDC);
        Hook("user32.dll", "ReleaseDC", CountingReleaseDC, &RealReleaseDC);
        Hook("kernel32.dll", "HeapAlloc", CountingHeapAlloc, &RealHeapAlloc);
        Hook("kernel32.dll", "HeapFree", CountingHeapFree, &RealHeapFree);
        Hook("user32.dll", "SetPropW", CountingSetPropW, &RealSetPropW);
        Hook("user32.dll", "CreateWindowExW", CountingCreateWindowExW, &RealCreateWindowExW);
    }
    void TearDown() override {
        patches.clear();
    }

    // The program's code is linked into this executable, so its calls go
    // through this executable's imports, and only its calls do.
    template <typename Function>
    void Hook(const char* dll, const char* name, Function replacement, Function* real) {
        patches.push_back(std::make_unique<ImportPatch>(dll, name, (void*)replacement));
        *real = (Function)patches.back()->Original();
        ASSERT_NE(*real, nullptr) << name;
    }

    std::vector<std::unique_ptr<ImportPatch>> patches;
};

// Which of the window's own properties are still there when it is gone.
LRESULT CALLBACK WatchFinalDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        if (GetPropW(window, L"KEYBOARDFOCUS") || GetPropW(window, L"FONT"))
            ++*(long*)GetPropW(window, L"LEFTOVERS");
        RemovePropW(window, L"LEFTOVERS");
    }
    return CallWindowProcW((WNDPROC)GetPropW(window, L"ORIGINALPROC"), window, message, wParam,
                           lParam);
}

// The buttons each life clicks.
const int kClicks[] = {IDC_CENTER_HORZ, IDC_MOVE, IDC_ACTON_TOP};

// What the platform itself costs: a plain window with the same controls,
// clicked alike.
void LiveOnceAsFloor() {
    HWND window =
        CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 400, 200, NULL, NULL, NULL, NULL);
    ASSERT_NE(window, nullptr);
    HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    for (HWND control = GetWindow(g_model, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        wchar_t className[32], caption[32];
        GetClassNameW(control, className, 32);
        GetWindowTextW(control, caption, 32);
        HWND copy =
            CreateWindowExW(0, className, caption, GetWindowLongW(control, GWL_STYLE), 0, 0, 60, 15,
                            window, (HMENU)(INT_PTR)GetDlgCtrlID(control), NULL, NULL);
        SendMessageW(copy, WM_SETFONT, (WPARAM)font, TRUE);
    }
    for (int id : kClicks)
        SendMessageW(GetDlgItem(window, id), BM_CLICK, 0, 0);
    DestroyWindow(window);
}

// One life of the window: created, started, used, changed, destroyed.
void LiveOnce(long* leftovers) {
    HWND window = CreateTestMainWindow();
    ASSERT_NE(window, nullptr);
    SetPropW(window, L"LEFTOVERS", leftovers);
    SetPropW(window, L"ORIGINALPROC",
             (HANDLE)SetWindowLongPtrW(window, GWLP_WNDPROC, (LONG_PTR)WatchFinalDestroy));
    for (int id : kClicks)
        SendMessageW(GetDlgItem(window, id), BM_CLICK, 0, 0);
    SendMessageW(window, WM_SETTINGCHANGE, 0, 0);
    SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0);
    SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0);
    DestroyTestMainWindow(window);
}

} // namespace

TEST_F(Resources, ManyWindowLivesLeaveNothingBehind) {
    // The platform's controls keep a little of their own per window, so each
    // phase of the program's lives is compared with a phase of as many lives
    // of the same controls alone. A loss per life shows in every phase; a
    // step of the heap of its own, in one, so the median phase counts.
    const int phases = PhaseCount();
    long leftovers = 0;
    g_model = CreateTestMainWindow();
    ASSERT_NE(g_model, nullptr);
    // The first round loads the controls' classes and fonts, and takes the
    // heap through its first growth for windows like these.
    for (int i = 0; i < kLivesPerPhase; ++i)
        LiveOnceAsFloor();
    for (int i = 0; i < kLivesPerPhase; ++i)
        LiveOnce(&leftovers);
    long takenBefore = g_ledger.contextsTaken;
    std::vector<long long> excess;
    long long programGrowth = 0, floorGrowth = 0;
    for (int phase = 0; phase < phases; ++phase) {
        SIZE_T start = HeapBusyBytes();
        for (int i = 0; i < kLivesPerPhase; ++i)
            LiveOnceAsFloor();
        SIZE_T middle = HeapBusyBytes();
        for (int i = 0; i < kLivesPerPhase; ++i)
            LiveOnce(&leftovers);
        SIZE_T end = HeapBusyBytes();
        long long ofFloor = (long long)middle - (long long)start;
        long long ofProgram = (long long)end - (long long)middle;
        floorGrowth += ofFloor;
        programGrowth += ofProgram;
        excess.push_back(ofProgram - ofFloor);
    }
    DestroyTestMainWindow(g_model);

    const int lives = phases * kLivesPerPhase;
    EXPECT_GE(g_ledger.contextsTaken - takenBefore, lives); // each life measures its font
    EXPECT_EQ(g_ledger.contextsTaken, g_ledger.contextsReleased);
    EXPECT_EQ(g_ledger.contextsReleasedChanged, 0);
    EXPECT_TRUE(g_ledger.liveBlocks.empty()) << g_ledger.liveBlocks.size() << " blocks kept";
    EXPECT_EQ(leftovers, 0);

    std::string each;
    for (long long one : excess)
        each += " " + std::to_string(one);
    std::sort(excess.begin(), excess.end());
    double perLife = (double)excess[excess.size() / 2] / kLivesPerPhase;
    EXPECT_LT(perLife, 4.0) << "heap busy bytes per life beyond the controls' own, in the median "
                               "phase; the phases' differences:"
                            << each;
    printf("%d lives in %d phases: %ld screen contexts taken and released; heap busy bytes grew "
           "%+lld, the same controls alone %+lld; beyond them, per life, in the median phase: "
           "%+.2f (phases:%s)\n",
           lives, phases, g_ledger.contextsTaken - takenBefore, programGrowth, floorGrowth, perLife,
           each.c_str());
}

TEST_F(Resources, AFailedFocusRecordAllocationFailsCreationBeforeAnythingIsMade) {
    g_ledger.failAllocations = true;
    HWND window = CreateTestMainWindow();
    g_ledger.failAllocations = false;
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(g_ledger.windowsCreated, 1); // the main window's own attempt, no control
    EXPECT_EQ(g_ledger.setProps, 0);
    EXPECT_EQ(MainWindowOfThisThread(), nullptr);
    DestroyTestMainWindow(NULL);
}
