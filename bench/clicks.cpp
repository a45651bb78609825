#include "bench/clicks.h"
#include "bench/floorradios.h"
#include "bench/launch.h"
#include "mainwindow/controlids.h"

namespace {

const UINT kClickTimeoutMs = 10000;

struct ScriptedClick {
    ClickKind kind;
    int id;
};

// Every Action, Act On and Relative To click changes the rule; a unit click
// can only click the one enabled unit button, which changes nothing.
const ScriptedClick kRound[] = {
    {kActionClick, IDC_MOVE},            // Left, Left, Offset
    {kActOnClick, IDC_ACTON_TOP},        // Top, Top, Offset
    {kRelativeToClick, IDC_RELTO_WIDTH}, // Top, Width, Percent
    {kUnitClick, IDC_PERCENT},
    {kActionClick, IDC_STRETCH},          // Left, Left, Offset
    {kActOnClick, IDC_ACTON_WIDTH},       // Width, Width, Percent
    {kRelativeToClick, IDC_RELTO_HEIGHT}, // Width, Height, Percent
    {kUnitClick, IDC_PERCENT},
    {kActionClick, IDC_CENTER_HORZ}, // Control, Control, Offset
};
const int kRoundLength = sizeof kRound / sizeof kRound[0];

bool SendClick(HWND button, bool otherProcess) {
    if (!otherProcess) {
        SendMessageW(button, BM_CLICK, 0, 0);
        return true;
    }
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, kClickTimeoutMs, &result) != 0;
}

void TimeClick(HWND window, int id, ClickKind kind, bool otherProcess, ClickTimes* times) {
    HWND button = GetDlgItem(window, id);
    double start = NowMs();
    if (!SendClick(button, otherProcess)) {
        ++times->failed;
        return;
    }
    double handled = NowMs();
    // UpdateWindow, which paints a window of another process through its
    // own thread as well.
    RedrawWindow(window, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    double painted = NowMs();
    times->handling[kind].push_back(handled - start);
    times->total[kind].push_back(painted - start);
    if (SendMessageW(button, BM_GETCHECK, 0, 0) != BST_CHECKED)
        ++times->missed;
    if (!otherProcess)
        EmptyMessageQueue();
}

// The user clicks in the active window: each block of clicks starts by
// activating its window, untimed, so that no timed click carries a change of
// the active window (the program and the floor share one thread here).
void Activate(HWND window, bool otherProcess) {
    SetForegroundWindow(window);
    if (otherProcess) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kClickTimeoutMs, &result);
    }
    EmptyMessageQueue();
}

// The floor's clicks of one round: as many as the program's, each checking
// the other of two radio buttons.
int FloorRadioOf(int click) {
    return click % 2 ? kFloorRadioB : kFloorRadioA;
}

bool CountClick(HWND window, int id, ClickKind kind, ClickMessages* messages) {
    HWND button = GetDlgItem(window, id);
    if (!StartMessageTally(window))
        return false;
    SendMessageW(button, BM_CLICK, 0, 0);
    MessageTally tally = StopMessageTally();
    messages->perKind[kind].Add(tally);
    ++messages->clicks[kind];
    if (kind == kActionClick)
        messages->actionTotals.push_back(tally.total);
    RedrawWindow(window, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    EmptyMessageQueue();
    return true;
}

} // namespace

void EmptyMessageQueue() {
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

const char* ClickKindName(ClickKind kind) {
    static const char* const kNames[kClickKinds] = {"Action", "Act On", "Relative To", "unit",
                                                    "floor radio"};
    return kNames[kind];
}

void RunClickRounds(HWND program, HWND floor, bool otherProcess, int rounds, ClickTimes* times) {
    for (int round = 0; round < rounds; ++round) {
        Activate(program, otherProcess);
        for (const ScriptedClick& click : kRound)
            TimeClick(program, click.id, click.kind, otherProcess, times);
        Activate(floor, otherProcess);
        for (int click = 0; click < kRoundLength; ++click)
            TimeClick(floor, FloorRadioOf(click), kFloorClick, otherProcess, times);
    }
}

bool CountRoundMessages(HWND program, HWND floor, ClickMessages* messages) {
    Activate(program, false);
    for (const ScriptedClick& click : kRound) {
        if (!CountClick(program, click.id, click.kind, messages))
            return false;
    }
    Activate(floor, false);
    for (int click = 0; click < kRoundLength; ++click) {
        if (!CountClick(floor, FloorRadioOf(click), kFloorClick, messages))
            return false;
    }
    return true;
}
