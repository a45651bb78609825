#include "bench/messagetally.h"
#include <commctrl.h>
#include <cstdio>

namespace {

HHOOK s_hook;
HWND s_mainWindow;
MessageTally s_tally;

LRESULT CALLBACK CountSentMessage(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const CWPSTRUCT* sent = (const CWPSTRUCT*)lParam;
        ++s_tally.total;
        bool toMain = sent->hwnd == s_mainWindow;
        if (toMain)
            ++s_tally.toMainWindow;
        ++s_tally.byMessage[sent->message];
        ++s_tally.byControl[toMain ? 0 : GetDlgCtrlID(sent->hwnd)];
    }
    return CallNextHookEx(s_hook, code, wParam, lParam);
}

struct NamedMessage {
    UINT message;
    const char* name;
};

#define NAMED(message)                                                                             \
    { message, #message }
const NamedMessage kNames[] = {
    NAMED(WM_NULL),
    NAMED(WM_MOVE),
    NAMED(WM_SIZE),
    NAMED(WM_ACTIVATE),
    NAMED(WM_SETFOCUS),
    NAMED(WM_KILLFOCUS),
    NAMED(WM_ENABLE),
    NAMED(WM_SETREDRAW),
    NAMED(WM_SETTEXT),
    NAMED(WM_GETTEXT),
    NAMED(WM_GETTEXTLENGTH),
    NAMED(WM_PAINT),
    NAMED(WM_CLOSE),
    NAMED(WM_ERASEBKGND),
    NAMED(WM_SHOWWINDOW),
    NAMED(WM_ACTIVATEAPP),
    NAMED(WM_CANCELMODE),
    NAMED(WM_SETCURSOR),
    NAMED(WM_MOUSEACTIVATE),
    NAMED(WM_GETMINMAXINFO),
    NAMED(WM_SETFONT),
    NAMED(WM_GETFONT),
    NAMED(WM_NEXTDLGCTL),
    NAMED(WM_WINDOWPOSCHANGING),
    NAMED(WM_WINDOWPOSCHANGED),
    NAMED(WM_NOTIFY),
    NAMED(WM_STYLECHANGING),
    NAMED(WM_STYLECHANGED),
    NAMED(WM_GETICON),
    NAMED(WM_NCCALCSIZE),
    NAMED(WM_NCHITTEST),
    NAMED(WM_NCPAINT),
    NAMED(WM_NCACTIVATE),
    NAMED(WM_GETDLGCODE),
    NAMED(WM_KEYDOWN),
    NAMED(WM_KEYUP),
    NAMED(WM_CHAR),
    NAMED(WM_COMMAND),
    NAMED(WM_SYSCOMMAND),
    NAMED(WM_TIMER),
    NAMED(WM_CHANGEUISTATE),
    NAMED(WM_UPDATEUISTATE),
    NAMED(WM_QUERYUISTATE),
    NAMED(WM_CTLCOLORBTN),
    NAMED(WM_CTLCOLORSTATIC),
    NAMED(WM_MOUSEMOVE),
    NAMED(WM_LBUTTONDOWN),
    NAMED(WM_LBUTTONUP),
    NAMED(WM_PARENTNOTIFY),
    NAMED(WM_CAPTURECHANGED),
    NAMED(WM_IME_SETCONTEXT),
    NAMED(WM_IME_NOTIFY),
    NAMED(WM_MOUSELEAVE),
    NAMED(WM_PRINTCLIENT),
    NAMED(WM_THEMECHANGED),
    NAMED(DM_GETDEFID),
    NAMED(DM_SETDEFID),
    NAMED(BM_GETCHECK),
    NAMED(BM_SETCHECK),
    NAMED(BM_GETSTATE),
    NAMED(BM_SETSTATE),
    NAMED(BM_SETSTYLE),
    NAMED(BM_CLICK),
};
#undef NAMED

} // namespace

void MessageTally::Add(const MessageTally& other) {
    total += other.total;
    toMainWindow += other.toMainWindow;
    for (const auto& entry : other.byMessage)
        byMessage[entry.first] += entry.second;
    for (const auto& entry : other.byControl)
        byControl[entry.first] += entry.second;
}

bool StartMessageTally(HWND mainWindow) {
    s_mainWindow = mainWindow;
    s_tally = MessageTally();
    s_hook = SetWindowsHookExW(WH_CALLWNDPROC, CountSentMessage, NULL, GetCurrentThreadId());
    return s_hook != NULL;
}

MessageTally StopMessageTally() {
    UnhookWindowsHookEx(s_hook);
    s_hook = NULL;
    return s_tally;
}

std::string MessageName(UINT message) {
    for (const NamedMessage& named : kNames) {
        if (named.message == message)
            return named.name;
    }
    char number[16];
    snprintf(number, sizeof number, "0x%04X", message);
    return number;
}
