#include "tests/focushelpers.h"
#include <gtest/gtest.h>
#include "tests/testwindow.h"

bool LooksDefault(HWND button) {
    bool styled = (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    bool answers = (SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
    EXPECT_EQ(styled, answers);
    return styled;
}

namespace {

// Pumps this thread's messages until the condition holds or the time runs
// out; gives the condition's last value. Cross-thread activation arrives
// through the queue, so one pump is not always enough.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        PumpMessages();
        if (condition())
            return true;
        Sleep(10);
    } while (GetTickCount() - start < timeoutMs);
    return condition();
}

} // namespace

bool BringToForeground(HWND window, const std::function<bool()>& arrived) {
    for (int request = 0; request < 3; ++request) {
        SetForegroundWindow(window);
        if (PumpUntil(arrived, 1000))
            return true;
    }
    return false;
}

bool ShowAndActivate(HWND window) {
    ShowWindow(window, SW_SHOW);
    return BringToForeground(window, [window] {
        return GetActiveWindow() == window && GetForegroundWindow() == window;
    });
}

std::vector<RECT> ChildRects(HWND window) {
    std::vector<RECT> rects;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(NULL, window, (POINT*)&rect, 2);
        rects.push_back(rect);
    }
    return rects;
}

ForeignWindow::ForeignWindow() {
    ready_ = CreateEventW(NULL, TRUE, FALSE, NULL);
    thread_ = CreateThread(NULL, 0, Run, this, 0, &threadId_);
    WaitForSingleObject(ready_, 10000);
}

ForeignWindow::~ForeignWindow() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    // The thread may have to answer messages sent from here while it ends.
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 10000 &&
           MsgWaitForMultipleObjects(1, &thread_, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        PumpMessages();
    CloseHandle(thread_);
    CloseHandle(ready_);
}

bool ForeignWindow::Activate() {
    return BringToForeground(
        window_, [this] { return GetForegroundWindow() == window_ && !GetActiveWindow(); });
}

DWORD WINAPI ForeignWindow::Run(void* self) {
    ForeignWindow* owner = (ForeignWindow*)self;
    owner->window_ = CreateWindowExW(0, L"Static", L"Other program", WS_POPUP | WS_VISIBLE, 600,
                                     600, 120, 60, NULL, NULL, NULL, NULL);
    SetEvent(owner->ready_);
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0)
        DispatchMessageW(&message);
    DestroyWindow(owner->window_);
    return 0;
}

int FocusedId() {
    HWND focus = GetFocus();
    return focus ? GetDlgCtrlID(focus) : -1;
}
