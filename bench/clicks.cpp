#include "bench/clicks.h"
#include <functional>
#include "bench/clock.h"
#include "bench/floorwindow.h"
#include "bench/replay.h"
#include "mainwindow/controlids.h"
#include "tests/support/foreground.h"
#include "tests/support/messagepump.h"

namespace {

struct ScriptedClick {
    ClickFamily family;
    int id;
};

// Every Action, Act On and Relative To click changes the rule; a unit click
// can only click the one enabled unit button, which changes nothing.
const ScriptedClick kRound[kClicksPerRound] = {
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

// The round's replays, read onto the floor's controls.
class FloorReplays {
  public:
    FloorReplays(HWND floor, const std::vector<RecordedCalls>& round) : replays_(round.size()) {
        for (size_t click = 0; click < round.size(); ++click)
            loaded_ = loaded_ && LoadReplay(floor, round[click].replay.c_str(), &replays_[click]);
    }
    ~FloorReplays() {
        for (Replay& replay : replays_)
            FreeReplay(&replay);
    }
    FloorReplays(const FloorReplays&) = delete;
    FloorReplays& operator=(const FloorReplays&) = delete;

    bool Loaded() const {
        return loaded_;
    }
    Replay* operator[](int click) {
        return &replays_[click];
    }

  private:
    std::vector<Replay> replays_;
    bool loaded_ = true;
};

// The user clicks in the active window: each block of clicks starts by
// activating its window, untimed, so that no timed click carries a change of
// the active window (the program and the floor share one thread here).
bool Activate(HWND window, const char* whose, std::string* error) {
    std::string failure = TakeForeground(window);
    PumpMessages();
    if (!failure.empty())
        *error = std::string(whose) + ": " + failure;
    return failure.empty();
}

HWND ButtonOf(HWND window, int click) {
    return GetDlgItem(window, kRound[click].id);
}

void Repaint(HWND window) {
    RedrawWindow(window, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

std::string ClickName(int click) {
    return std::string(ClickFamilyName(kRound[click].family)) + " click " +
           std::to_string(click + 1) + " of the round";
}

bool CheckForm(HWND window, const char* whose, int click, const FormState& recorded,
               std::string* error) {
    FormState state = ReadFormState(window);
    if (state == recorded)
        return true;
    *error = std::string(whose) + ": the " + ClickName(click) + " left the form at \"" +
             Describe(state) + "\"; the program's recorded click left it at \"" +
             Describe(recorded) + "\"";
    return false;
}

typedef std::function<bool(HWND window, int click, bool onFloor)> ClickAction;

// The program's clicks of a round and the floor's, each replaying what the
// program's did, in turn; every click has to leave the form where the
// recording did.
bool PlayRound(HWND program, HWND floor, const std::vector<RecordedCalls>& round,
               FloorReplays& replays, bool floorFirst, const ClickAction& act, std::string* error) {
    if (!replays.Loaded()) {
        *error = "the floor cannot read the replay of a click";
        return false;
    }
    for (bool onFloor : {floorFirst, !floorFirst}) {
        HWND window = onFloor ? floor : program;
        if (!Activate(window, onFloor ? "floor" : "program", error))
            return false;
        for (int click = 0; click < kClicksPerRound; ++click) {
            if (onFloor)
                SetFloorReplay(floor, replays[click]);
            if (!act(window, click, onFloor))
                return false;
            SetFloorReplay(floor, NULL);
            if (onFloor && !ReplayFinished(replays[click])) {
                *error = "floor: the " + ClickName(click) +
                         " brought fewer click notifications than the program's";
                return false;
            }
            if (!CheckForm(window, onFloor ? "floor" : "program", click, round[click].after, error))
                return false;
        }
    }
    return true;
}

void TimeClick(HWND window, int click, ClickTimes* times) {
    HWND button = ButtonOf(window, click);
    double start = NowMs();
    SendMessageW(button, BM_CLICK, 0, 0);
    double handled = NowMs();
    // UpdateWindow of the window and all its children.
    Repaint(window);
    double painted = NowMs();
    ClickFamily family = kRound[click].family;
    times->handling[family].push_back(handled - start);
    times->total[family].push_back(painted - start);
    times->roundTotal[family].back() += painted - start;
    PumpMessages();
}

bool TallyClick(HWND window, HWND button, MessageTally* tally) {
    if (!StartMessageTally(window))
        return false;
    SendMessageW(button, BM_CLICK, 0, 0);
    *tally = StopMessageTally();
    Repaint(window);
    PumpMessages();
    return true;
}

bool CountClick(HWND window, int click, ClickMessages* messages) {
    MessageTally tally;
    if (!TallyClick(window, ButtonOf(window, click), &tally))
        return false;
    ClickFamily family = kRound[click].family;
    messages->perFamily[family].Add(tally);
    ++messages->clicks[family];
    if (family == kActionClick)
        messages->actionTotals.push_back(tally.total);
    return true;
}

} // namespace

const char* ClickFamilyName(ClickFamily family) {
    static const char* const kNames[kClickFamilies] = {"Action", "Act On", "Relative To", "unit"};
    return kNames[family];
}

ClickFamily FamilyOfClick(int click) {
    return kRound[click].family;
}

bool RecordRound(HWND program, std::vector<RecordedCalls>* round, std::string* error) {
    round->assign(kClicksPerRound, RecordedCalls());
    if (!Activate(program, "program", error))
        return false;
    for (int click = 0; click < kClicksPerRound; ++click) {
        HWND button = ButtonOf(program, click);
        auto sendClick = [button] { SendMessageW(button, BM_CLICK, 0, 0); };
        if (!RecordCalls(program, sendClick, &(*round)[click], error))
            return false;
        Repaint(program);
        PumpMessages();
    }
    return true;
}

bool RunClickRounds(HWND program, HWND floor, const std::vector<RecordedCalls>& round, int rounds,
                    ClickTimes* programTimes, ClickTimes* floorTimes, std::string* error) {
    FloorReplays replays(floor, round);
    auto time = [&](HWND window, int click, bool onFloor) {
        TimeClick(window, click, onFloor ? floorTimes : programTimes);
        return true;
    };
    // Whichever goes second in a round may find the machine in another mood.
    for (int i = 0; i < rounds; ++i) {
        for (ClickTimes* times : {programTimes, floorTimes}) {
            for (std::vector<double>& totals : times->roundTotal)
                totals.push_back(0);
        }
        if (!PlayRound(program, floor, round, replays, i % 2 == 1, time, error))
            return false;
    }
    return true;
}

bool CountRoundMessages(HWND program, HWND floor, const std::vector<RecordedCalls>& round,
                        ClickMessages* programMessages, ClickMessages* floorMessages,
                        int* radioAlone, std::string* error) {
    const char* kNoHook = "the message hook cannot be set";
    FloorReplays replays(floor, round);
    auto count = [&](HWND window, int click, bool onFloor) {
        if (CountClick(window, click, onFloor ? floorMessages : programMessages))
            return true;
        *error = kNoHook;
        return false;
    };
    if (!PlayRound(program, floor, round, replays, false, count, error))
        return false;
    MessageTally alone;
    if (!TallyClick(floor, GetDlgItem(floor, IDC_MOVE), &alone)) {
        *error = kNoHook;
        return false;
    }
    *radioAlone = alone.total;
    return true;
}
