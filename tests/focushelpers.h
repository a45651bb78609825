#pragma once
#include <windows.h>
#include <functional>
#include <vector>

// Whether a push button is drawn as the default one. Its style bit and its
// WM_GETDLGCODE answer are checked to agree.
bool LooksDefault(HWND button);

// The identifier of the control that has this thread's keyboard focus; 0 for
// a window without one (the main window itself), -1 when nothing has it.
int FocusedId();

// Asks for the window to be the foreground window until `arrived` holds, up
// to three times. Under Wine a request now and then leaves the foreground
// where it was (5 of 30 runs of a reactivation test with the leak test beside
// it; the second request always went through).
bool BringToForeground(HWND window, const std::function<bool()>& arrived);

// Shows the window and makes it the active, foreground window.
bool ShowAndActivate(HWND window);

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
    bool Activate();

  private:
    static DWORD WINAPI Run(void* self);

    HANDLE ready_ = NULL;
    HANDLE thread_ = NULL;
    DWORD threadId_ = 0;
    HWND window_ = NULL;
};
