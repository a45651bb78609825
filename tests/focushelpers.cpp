#include "tests/focushelpers.h"
#include <gtest/gtest.h>
#include "tests/support/foreground.h"
#include "tests/testwindow.h"

bool LooksDefault(HWND button) {
    bool styled = (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    bool answers = (SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
    EXPECT_EQ(styled, answers);
    return styled;
}

::testing::AssertionResult BroughtToForeground(HWND window, const std::function<bool()>& also) {
    std::string failure = TakeForeground(window, also);
    if (failure.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << failure;
}

::testing::AssertionResult ShowAndActivate(HWND window) {
    ShowWindow(window, SW_SHOW);
    return BroughtToForeground(window);
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

// The window's own thread handles the click of the last step; this one has
// to see its own window lose the activation.
::testing::AssertionResult ForeignWindow::Activate() {
    return BroughtToForeground(window_, [] { return !GetActiveWindow(); });
}

DWORD WINAPI ForeignWindow::Run(void* self) {
    ForeignWindow* owner = (ForeignWindow*)self;
    // A caption of its own to click when it cannot be brought forward otherwise.
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = L"TessaryForeignWindow";
    RegisterClassW(&windowClass);
    owner->window_ = CreateWindowExW(0, windowClass.lpszClassName, L"Other program",
                                     WS_POPUP | WS_CAPTION | WS_VISIBLE, 600, 600, 200, 60, NULL,
                                     NULL, NULL, NULL);
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
