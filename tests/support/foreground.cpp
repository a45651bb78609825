#include "tests/support/foreground.h"
#include <stdlib.h>
#include "tests/support/messagepump.h"
#include "tests/support/syntheticinput.h"

namespace {

// Under Wine a granted request now and then leaves the foreground where it
// was (5 of 30 runs of a reactivation test with the leak test beside it; the
// second request always went through), so the first step asks again.
const int kFirstStepRequests = 3;
const DWORD kRequestWaitMs = 1000;
const DWORD kClickWaitMs = 2000;
const DWORD kHitTestTimeoutMs = 1000;

bool IsForegroundAndActive(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetForegroundWindow() == window &&
           GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info) &&
           info.hwndActive == window;
}

// Empty when a request brought the window, else "refused" or "granted
// without effect".
std::string Request(HWND window, const std::function<bool()>& arrived, int requests) {
    for (int request = 0; request < requests; ++request) {
        if (!SetForegroundWindow(window))
            return "refused";
        if (PumpUntil(arrived, kRequestWaitMs))
            return std::string();
    }
    return "granted without effect";
}

// A mouse move by no distance: it goes to the window under the pointer (never
// to the focus of the foreground window, which may be the program's form
// under test) and leaves the pointer where it is, so no window sees a change.
// A key would reach that focus; Alt, the usual choice, opens its menu mode.
void SendHarmlessInput() {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

bool IsCaptionAt(HWND window, POINT point) {
    DWORD_PTR hit = HTNOWHERE;
    return WindowFromPoint(point) == window &&
           SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y),
                               SMTO_ABORTIFHUNG, kHitTestTimeoutMs, &hit) &&
           hit == HTCAPTION;
}

// The middle of the first stretch of the title bar's middle line that is
// caption and not under another window: clear of the system menu's icon to
// its left and of the buttons to its right.
bool FindCaptionPoint(HWND window, POINT* point) {
    TITLEBARINFO bar = {};
    bar.cbSize = sizeof bar;
    if (!GetTitleBarInfo(window, &bar))
        return false;
    const LONG y = (bar.rcTitleBar.top + bar.rcTitleBar.bottom) / 2;
    LONG first = -1, last = -1;
    for (LONG x = bar.rcTitleBar.left; x < bar.rcTitleBar.right; x += 4) {
        if (IsCaptionAt(window, {x, y})) {
            if (first < 0)
                first = x;
            last = x;
        } else if (first >= 0) {
            break;
        }
    }
    *point = {(first + last) / 2, y};
    return first >= 0 && IsCaptionAt(window, *point);
}

} // namespace

std::string TakeForeground(HWND window, const std::function<bool()>& also) {
    auto arrived = [&] { return IsForegroundAndActive(window) && (!also || also()); };
    if (PumpUntil(arrived, 0))
        return std::string();
    const char* from = getenv("TESSARY_FOREGROUND_STEP");
    const int firstStep = from ? atoi(from) : 1;
    std::string steps;
    if (firstStep <= 1) {
        steps = Request(window, arrived, kFirstStepRequests);
        if (steps.empty())
            return steps;
        steps = "SetForegroundWindow " + steps + ", ";
    }
    if (firstStep <= 2) {
        SendHarmlessInput();
        std::string step = Request(window, arrived, 1);
        if (step.empty())
            return step;
        steps += step + " after an input event, ";
    }
    POINT caption;
    if (!FindCaptionPoint(window, &caption))
        return "the window never became the foreground window: " + steps +
               "no point of its caption to click";
    ClickAt(caption);
    if (PumpUntil(arrived, kClickWaitMs))
        return std::string();
    return "the window never became the foreground window: " + steps +
           "a click on its caption did not activate it";
}
