#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <functional>
#include <vector>

// Whether a push button is drawn as the default one. Its style bit and its
// WM_GETDLGCODE answer are checked to agree.
bool LooksDefault(HWND button);

// The identifier of the control that has this thread's keyboard focus; 0 for
// a window without one (the main window itself), -1 when nothing has it.
int FocusedId();

// TakeForeground as an assertion: a failure names the steps that were refused.
::testing::AssertionResult BroughtToForeground(HWND window,
                                               const std::function<bool()>& also = nullptr);

// Shows the window and makes it the active, foreground window.
::testing::AssertionResult ShowAndActivate(HWND window);

// The rectangles of the window's children in its client coordinates, in
// sibling order.
std::vector<RECT> ChildRects(HWND window);

// A visible top-level window owned by a thread of its own. Activating it
// leaves the test's thread with no active window and GetFocus() at NULL, as
// when the user switches to another program.
class ForeignWindow {
  public:
    ForeignWindow();
    ~ForeignWindow();
    ForeignWindow(const ForeignWindow&) = delete;
    ForeignWindow& operator=(const ForeignWindow&) = delete;

    // Takes the activation away from this thread's windows.
    ::testing::AssertionResult Activate();

  private:
    static DWORD WINAPI Run(void* self);

    HANDLE ready_ = NULL;
    HANDLE thread_ = NULL;
    DWORD threadId_ = 0;
    HWND window_ = NULL;
};
