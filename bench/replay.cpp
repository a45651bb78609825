#include "bench/replay.h"

namespace {

bool IsSpace(WCHAR c) {
    return c == L' ' || c == L'\t';
}

bool IsDigit(WCHAR c) {
    return c >= L'0' && c <= L'9';
}

int CountWords(const WCHAR* text) {
    int count = 0;
    for (const WCHAR* at = text; *at; ++at) {
        if (!IsSpace(*at) && (at == text || IsSpace(at[-1])))
            ++count;
    }
    return count;
}

bool ReadNumber(const WCHAR** at, DWORD* value) {
    const WCHAR* digit = *at;
    if (!IsDigit(*digit))
        return false;
    DWORD number = 0;
    for (; IsDigit(*digit); ++digit) {
        DWORD add = (DWORD)(*digit - L'0');
        if (number > (0xFFFFFFFFu - add) / 10)
            return false;
        number = number * 10 + add;
    }
    *at = digit;
    *value = number;
    return true;
}

// How many numbers follow the letter of a call; -1 for no call.
int NumbersOf(WCHAR call) {
    switch (call) {
    case kReplayNotification:
        return 0;
    case kReplaySend:
        return 4;
    case kReplayEnable:
        return 2;
    case kReplayFocus:
        return 1;
    }
    return -1;
}

bool ReadStep(HWND window, const WCHAR** at, ReplayStep* step) {
    WCHAR call = **at;
    int count = NumbersOf(call);
    if (count < 0)
        return false;
    ++*at;
    DWORD numbers[4] = {0, 0, 0, 0};
    for (int i = 0; i < count; ++i) {
        if (i > 0 && *(*at)++ != L',')
            return false;
        if (!ReadNumber(at, &numbers[i]))
            return false;
    }
    step->call = (ReplayCall)call;
    step->target = NULL;
    step->message = 0;
    step->wParam = 0;
    step->lParam = 0;
    if (call == kReplayNotification)
        return true;
    step->target = numbers[0] ? GetDlgItem(window, (int)numbers[0]) : window;
    if (call == kReplaySend) {
        step->message = numbers[1];
        step->wParam = numbers[2];
        step->lParam = (LPARAM)numbers[3];
    } else if (call == kReplayEnable) {
        step->wParam = numbers[1];
    }
    return step->target != NULL;
}

void Play(const ReplayStep& step) {
    switch (step.call) {
    case kReplaySend:
        SendMessageW(step.target, step.message, step.wParam, step.lParam);
        break;
    case kReplayEnable:
        EnableWindow(step.target, (BOOL)step.wParam);
        break;
    case kReplayFocus:
        SetFocus(step.target);
        break;
    case kReplayNotification:
        break;
    }
}

} // namespace

bool LoadReplay(HWND window, const WCHAR* text, Replay* replay) {
    replay->count = CountWords(text);
    replay->next = 0;
    replay->steps = NULL;
    if (!replay->count)
        return true;
    replay->steps = (ReplayStep*)HeapAlloc(GetProcessHeap(), 0, replay->count * sizeof(ReplayStep));
    if (!replay->steps)
        return false;
    const WCHAR* at = text;
    for (int i = 0; i < replay->count; ++i) {
        while (IsSpace(*at))
            ++at;
        if (!ReadStep(window, &at, &replay->steps[i]) || (*at && !IsSpace(*at))) {
            FreeReplay(replay);
            return false;
        }
    }
    return true;
}

void FreeReplay(Replay* replay) {
    if (replay->steps)
        HeapFree(GetProcessHeap(), 0, replay->steps);
    replay->steps = NULL;
    replay->count = 0;
    replay->next = 0;
}

void PlayNotification(Replay* replay) {
    if (replay->next < replay->count && replay->steps[replay->next].call == kReplayNotification)
        ++replay->next;
    while (replay->next < replay->count && replay->steps[replay->next].call != kReplayNotification)
        Play(replay->steps[replay->next++]);
}

bool ReplayFinished(const Replay* replay) {
    return replay->next >= replay->count;
}
