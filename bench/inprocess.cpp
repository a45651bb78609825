#include "bench/inprocess.h"
#include <commctrl.h>
#include "app/extensionpoints.h"
#include "app/instance.h"
#include "app/mainwindowclass.h"
#include "app/placement.h"
#include "bench/clock.h"
#include "bench/floorwindow.h"
#include "tests/support/messagepump.h"

namespace {

void DestroyInProcessWindow(HWND window) {
    DestroyWindow(window);
    PumpMessages();
}

// What start-up does once the window exists: it clicks "Center(Horz)".
void StartProgramForm(HWND program) {
    OnMainWindowCreated(program, const_cast<LPWSTR>(L""));
}

// The program's window as its start-up leaves it before showing it.
HWND CreateProgramWindow() {
    HWND window = CreateMainWindow(g_instance);
    if (window)
        StartProgramForm(window);
    return window;
}

HWND CreateFloor(const RecordedCalls& startup) {
    return CreateFloorWindow(g_instance, startup.replay.c_str());
}

void Show(HWND window) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
}

// Side by side in the top corners of the work area, so that neither covers
// the other.
void MoveToTopCorner(HWND window, bool right) {
    RECT work, rect;
    SystemParametersInfoW(SPI_GETWORKAREA, sizeof work, &work, 0);
    GetWindowRect(window, &rect);
    int x = right ? work.right - (rect.right - rect.left) : work.left;
    SetWindowPos(window, NULL, x, work.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

bool PrepareWindowClasses(std::string* error) {
    g_instance = GetModuleHandleW(NULL);
    if (!RegisterMainWindowClass(g_instance) || !RegisterFloorClass(g_instance)) {
        *error = "cannot register the window classes in the runner";
        return false;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    return true;
}

bool RecordStartup(RecordedCalls* startup, std::string* error) {
    HWND program = CreateMainWindow(g_instance);
    if (!program) {
        *error = "cannot create the program's window in the runner";
        return false;
    }
    bool recorded = RecordCalls(
        program, [program] { StartProgramForm(program); }, startup, error);
    DestroyInProcessWindow(program);
    if (!recorded)
        return false;
    HWND floor = CreateFloor(*startup);
    if (!floor) {
        *error = "the floor cannot read the replay of the start-up click";
        return false;
    }
    FormState state = ReadFormState(floor);
    DestroyInProcessWindow(floor);
    if (state == startup->after)
        return true;
    *error = "the floor started with the form at \"" + Describe(state) + "\", the program at \"" +
             Describe(startup->after) + "\"";
    return false;
}

void MeasureCreations(const RecordedCalls& startup, int count, Results* results) {
    for (int i = 0; i < count; ++i) {
        double start = NowMs();
        HWND program = CreateProgramWindow();
        CenterWindow(program, NULL);
        Show(program);
        PumpMessages();
        results->creation[kProgram].push_back(NowMs() - start);
        DestroyInProcessWindow(program);

        start = NowMs();
        HWND floor = CreateFloor(startup);
        Show(floor);
        PumpMessages();
        results->creation[kFloor].push_back(NowMs() - start);
        DestroyInProcessWindow(floor);
    }
}

bool MeasureClicks(const RecordedCalls& startup, int rounds, Results* results, std::string* error) {
    HWND program = CreateProgramWindow();
    HWND floor = CreateFloor(startup);
    bool ok = program && floor;
    if (!ok) {
        *error = "cannot create the windows in the runner";
    } else {
        MoveToTopCorner(program, false);
        MoveToTopCorner(floor, true);
        Show(program);
        Show(floor);
        PumpMessages();
        ok = RecordRound(program, &results->round, error) &&
             RunClickRounds(program, floor, results->round, rounds, &results->clicks[kProgram],
                            &results->clicks[kFloor], error) &&
             CountRoundMessages(program, floor, results->round, &results->messages[kProgram],
                                &results->messages[kFloor], &results->radioAloneMessages, error);
    }
    DestroyInProcessWindow(program);
    DestroyInProcessWindow(floor);
    return ok;
}
