#include "dialogkeys/tabstops.h"

HWND GetNextTabStop(HWND parent, HWND start, BOOL previous) {
    HWND result = start;
    if (!IsWindow(parent))
        return result;
    UINT step = previous ? GW_HWNDPREV : GW_HWNDNEXT;
    HWND candidate;
    if (start) {
        candidate = GetWindow(start, step);
    } else {
        candidate = GetWindow(parent, GW_CHILD);
        if (previous && candidate)
            candidate = GetWindow(candidate, GW_HWNDLAST);
    }
    for (; candidate; candidate = GetWindow(candidate, step)) {
        if (!IsWindowVisible(candidate) || !IsWindowEnabled(candidate))
            continue;
        if (GetWindowLongW(candidate, GWL_STYLE) & WS_TABSTOP)
            return candidate;
        if (GetWindowLongW(candidate, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) {
            result = GetNextTabStop(candidate, NULL, previous);
            if (result)
                return result;
        }
    }
    return result;
}

HWND UsableTabTarget(HWND dialog, HWND target) {
    if (IsChild(dialog, target) && IsWindowEnabled(target) && IsWindowVisible(target))
        return target;
    return GetNextTabStop(dialog, NULL, FALSE);
}
