#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>
#include "mainwindow/controlids.h"
#include "tests/programprocess.h"
#include "tests/syntheticinput.h"

// The built program, run as its own process and driven by real keyboard and
// mouse input through its own message loop. Its state is read from here
// through its controls: check marks, enabled flags, styles and the focus of
// its thread.

namespace {

const DWORD kStartTimeoutMs = 20000;
const DWORD kStepTimeoutMs = 10000;

struct Column {
    const char* title;
    int firstId;
    std::vector<const char*> names;
};

const Column kColumns[] = {
    {"Action", IDC_CENTER_HORZ, {"Center(Horz)", "Center(Vert)", "Move", "Stretch"}},
    {"Act On", IDC_ACTON_LEFT, {"Left", "Top", "Right", "Bottom", "Width", "Height", "Control"}},
    {"Relative To",
     IDC_RELTO_LEFT,
     {"Left", "Top", "Right", "Bottom", "Width", "Height", "Control"}},
    {"Unit", IDC_OFFSET, {"Offset", "Percent"}},
};

// "Close", "Action: Move", "Relative To: Top"; a control outside the columns
// by its identifier.
std::string ControlName(HWND control) {
    int id = GetDlgCtrlID(control);
    if (id == IDC_CLOSE)
        return "Close";
    for (const Column& column : kColumns) {
        int index = id - column.firstId;
        if (index >= 0 && index < (int)column.names.size())
            return std::string(column.title) + ": " + column.names[index];
    }
    return "control " + std::to_string(id);
}

// Waits, handling this thread's own messages, until done() holds or the
// time-out passes; says whether it holds.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = kStepTimeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        MSG message;
        while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(10);
    }
}

// A message to a control of the program that cannot hang the test: a
// program that does not answer gives kNoAnswer.
const DWORD_PTR kNoAnswer = ~(DWORD_PTR)0;
DWORD_PTR Ask(HWND control, UINT message) {
    DWORD_PTR answer = kNoAnswer;
    if (!SendMessageTimeoutW(control, message, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer))
        return kNoAnswer;
    return answer;
}

LRESULT CALLBACK OtherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// One copy of the program for each test, ended at the end whatever happens.
class UserInput : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(StartProgram(ProgramPath(), &process));
        window = WaitForMainWindow(process.dwProcessId, kStartTimeoutMs);
        ASSERT_NE(window, nullptr);
        thread = GetWindowThreadProcessId(window, NULL);
        // A newly shown top-level window takes the foreground by itself.
        ASSERT_TRUE(WaitUntil(
            [&] { return GetForegroundWindow() == window && ThreadInfo().hwndActive == window; },
            kStartTimeoutMs))
            << "the program's window never became the foreground window";
    }

    void TearDown() override {
        if (otherWindow)
            DestroyWindow(otherWindow);
        if (process.hProcess) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(process.hProcess, 99);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
    }

    HWND Item(int id) const {
        return GetDlgItem(window, id);
    }

    GUITHREADINFO ThreadInfo() const {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(thread, &info);
        return info;
    }

    // The control with the program's keyboard focus, by name; "none" when its
    // thread has no focus.
    std::string Focus() const {
        HWND focus = ThreadInfo().hwndFocus;
        if (!focus)
            return "none";
        return IsChild(window, focus) ? ControlName(focus) : "outside the form";
    }

    // The checked button of each column, e.g. "Move, Left, Left, Offset"; a
    // column with no checked button shows "-", one with several shows them all.
    std::string Rule() const {
        std::string rule;
        for (const Column& column : kColumns) {
            std::string checked;
            for (size_t i = 0; i < column.names.size(); ++i) {
                if (Ask(Item(column.firstId + (int)i), BM_GETCHECK) != BST_CHECKED)
                    continue;
                checked += (checked.empty() ? "" : "+") + std::string(column.names[i]);
            }
            rule += (rule.empty() ? "" : ", ") + (checked.empty() ? "-" : checked);
        }
        return rule;
    }

    // The enabled buttons of each column, e.g. "Center(Horz) Move | Control | ...".
    std::string EnabledChoices() const {
        std::string shown;
        for (const Column& column : kColumns) {
            std::string enabled;
            for (size_t i = 0; i < column.names.size(); ++i) {
                if (IsWindowEnabled(Item(column.firstId + (int)i)))
                    enabled += (enabled.empty() ? "" : " ") + std::string(column.names[i]);
            }
            shown += (shown.empty() ? "" : " | ") + enabled;
        }
        return shown;
    }

    // The controls with WS_TABSTOP, in tab order (the order of the children).
    std::vector<std::string> TabStops() const {
        std::vector<std::string> stops;
        for (HWND child = GetWindow(window, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP)
                stops.push_back(ControlName(child));
        }
        return stops;
    }

    bool CloseLooksDefault() const {
        return (GetWindowLongW(Item(IDC_CLOSE), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    }

    // How activation shows, e.g. "active, focus on Action: Move, Close default".
    std::string ActivationState() const {
        return std::string(ThreadInfo().hwndActive == window ? "active" : "inactive") +
               ", focus on " + Focus() + ", Close " + (CloseLooksDefault() ? "default" : "plain");
    }

    // Waits for the input sent before to bring the form to the expected state.
    ::testing::AssertionResult Becomes(const std::function<std::string()>& state,
                                       const std::string& expected) const {
        if (WaitUntil([&] { return state() == expected; }))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "the form shows \"" << state() << "\", not \"" << expected << "\"";
    }

    ::testing::AssertionResult FocusAndRuleBecome(const std::string& focus,
                                                  const std::string& rule) const {
        return Becomes([&] { return "focus on " + Focus() + ", rule " + Rule(); },
                       "focus on " + focus + ", rule " + rule);
    }

    POINT CenterOf(int id) const {
        RECT rect;
        GetWindowRect(Item(id), &rect);
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    // A point of the form's own background, below the Action column.
    POINT Background() const {
        RECT stretch;
        GetWindowRect(Item(IDC_STRETCH), &stretch);
        return {(stretch.left + stretch.right) / 2, stretch.bottom + 10};
    }

    // Makes a window of the test process the foreground window.
    void ActivateOtherWindow() {
        if (!otherWindow) {
            WNDCLASSW windowClass = {};
            windowClass.lpfnWndProc = OtherWindowProc;
            windowClass.hInstance = GetModuleHandleW(NULL);
            windowClass.lpszClassName = L"UserInputOtherWindow";
            RegisterClassW(&windowClass);
            otherWindow = CreateWindowExW(0, windowClass.lpszClassName, L"Other",
                                          WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, NULL,
                                          NULL, windowClass.hInstance, NULL);
        }
        SetForegroundWindow(otherWindow);
    }

    PROCESS_INFORMATION process = {};
    HWND window = NULL;
    DWORD thread = 0;
    HWND otherWindow = NULL;
};

const char kCenteredRule[] = "Center(Horz), Control, Control, Offset";
const char kCenteredChoices[] =
    "Center(Horz) Center(Vert) Move Stretch | Control | Control | Offset";

TEST_F(UserInput, OpensWithAFocusedControlAndCloseDrawnAsDefault) {
    WaitUntil([&] { return Focus() != "none" && CloseLooksDefault(); });
    std::vector<std::string> stops = TabStops();
    EXPECT_NE(std::find(stops.begin(), stops.end(), Focus()), stops.end())
        << "focus on " << Focus() << ", not on a tab stop";
    EXPECT_TRUE(CloseLooksDefault());
    EXPECT_EQ(Rule(), kCenteredRule);
    EXPECT_EQ(EnabledChoices(), kCenteredChoices);
    EXPECT_EQ(stops, (std::vector<std::string>{"Close", "Action: Center(Horz)", "Act On: Control",
                                               "Relative To: Control", "Unit: Offset"}));
}

TEST_F(UserInput, TabAndShiftTabStepThroughTheTabStopsInOrder) {
    const std::vector<std::string> stops = {"Close", "Action: Center(Horz)", "Act On: Control",
                                            "Relative To: Control", "Unit: Offset"};
    ASSERT_EQ(TabStops(), stops);
    WaitUntil([&] { return Focus() != "none"; });
    size_t at = std::find(stops.begin(), stops.end(), Focus()) - stops.begin();
    ASSERT_LT(at, stops.size()) << "focus on " << Focus();

    // The steps between stops; what happens past either end is the system's.
    for (; at + 1 < stops.size(); ++at) {
        SCOPED_TRACE("Tab from " + stops[at]);
        PressKey(VK_TAB);
        ASSERT_TRUE(FocusAndRuleBecome(stops[at + 1], kCenteredRule));
    }
    for (; at > 0; --at) {
        SCOPED_TRACE("Shift+Tab from " + stops[at]);
        PressKeyWith(VK_SHIFT, VK_TAB);
        ASSERT_TRUE(FocusAndRuleBecome(stops[at - 1], kCenteredRule));
    }
    WaitUntil([&] { return CloseLooksDefault(); });
    EXPECT_TRUE(CloseLooksDefault()) << "Close has the focus";
    {
        SCOPED_TRACE("Tab from Close");
        PressKey(VK_TAB);
        ASSERT_TRUE(FocusAndRuleBecome(stops[1], kCenteredRule));
    }
}

TEST_F(UserInput, ArrowKeysChooseWithinAColumnAndTheRulesFollow) {
    {
        SCOPED_TRACE("click on the chosen Center(Horz)");
        ClickAt(CenterOf(IDC_CENTER_HORZ));
        ASSERT_TRUE(FocusAndRuleBecome("Action: Center(Horz)", kCenteredRule));
    }
    {
        SCOPED_TRACE("Down from Center(Horz)");
        PressKey(VK_DOWN);
        ASSERT_TRUE(
            FocusAndRuleBecome("Action: Center(Vert)", "Center(Vert), Control, Control, Offset"));
        EXPECT_EQ(EnabledChoices(), kCenteredChoices);
    }
    {
        SCOPED_TRACE("Down from Center(Vert)");
        PressKey(VK_DOWN);
        ASSERT_TRUE(FocusAndRuleBecome("Action: Move", "Move, Left, Left, Offset"));
        EXPECT_EQ(EnabledChoices(), "Center(Horz) Center(Vert) Move Stretch | Left Top Right Bottom"
                                    " | Left Right Width Height | Offset");
    }
    {
        SCOPED_TRACE("Down from Move");
        PressKey(VK_DOWN);
        ASSERT_TRUE(FocusAndRuleBecome("Action: Stretch", "Stretch, Left, Left, Offset"));
        EXPECT_EQ(EnabledChoices(), "Center(Horz) Center(Vert) Move Stretch | Left Top Right Bottom"
                                    " Width Height | Left Right Width Height | Offset");
    }
    {
        SCOPED_TRACE("Up from Stretch");
        PressKey(VK_UP);
        ASSERT_TRUE(FocusAndRuleBecome("Action: Move", "Move, Left, Left, Offset"));
    }
    {
        SCOPED_TRACE("Tab to the chosen Act On, Down to Top");
        PressKey(VK_TAB);
        ASSERT_TRUE(FocusAndRuleBecome("Act On: Left", "Move, Left, Left, Offset"));
        PressKey(VK_DOWN);
        ASSERT_TRUE(FocusAndRuleBecome("Act On: Top", "Move, Top, Top, Offset"));
        EXPECT_EQ(EnabledChoices(), "Center(Horz) Center(Vert) Move Stretch | Left Top Right Bottom"
                                    " | Top Bottom Width Height | Offset");
    }
    {
        SCOPED_TRACE("Tab to the chosen Relative To, Down past the disabled Right, Down to Width");
        PressKey(VK_TAB);
        ASSERT_TRUE(FocusAndRuleBecome("Relative To: Top", "Move, Top, Top, Offset"));
        PressKey(VK_DOWN);
        ASSERT_TRUE(FocusAndRuleBecome("Relative To: Bottom", "Move, Top, Bottom, Offset"));
        PressKey(VK_DOWN);
        ASSERT_TRUE(FocusAndRuleBecome("Relative To: Width", "Move, Top, Width, Percent"));
        EXPECT_EQ(EnabledChoices(), "Center(Horz) Center(Vert) Move Stretch | Left Top Right Bottom"
                                    " | Top Bottom Width Height | Percent");
    }
    {
        SCOPED_TRACE("Tab to the unit, which the rule has moved to Percent");
        PressKey(VK_TAB);
        ASSERT_TRUE(FocusAndRuleBecome("Unit: Percent", "Move, Top, Width, Percent"));
    }
}

TEST_F(UserInput, SpaceChoosesTheFocusedRadioButton) {
    {
        // Pressing on Stretch and letting go elsewhere focuses it without choosing it.
        SCOPED_TRACE("press on Stretch, release on the background");
        POINT stretch = CenterOf(IDC_STRETCH);
        POINT background = Background();
        ASSERT_EQ(WindowFromPoint(background), window);
        PressLeftButtonAt(stretch);
        ASSERT_TRUE(WaitUntil([&] { return ThreadInfo().hwndCapture == Item(IDC_STRETCH); }))
            << "Stretch did not take the mouse";
        MoveMouseTo(background);
        ASSERT_TRUE(WaitUntil([&] { return !(Ask(Item(IDC_STRETCH), BM_GETSTATE) & BST_PUSHED); }))
            << "Stretch still looks pushed with the pointer off it";
        ReleaseLeftButtonAt(background);
        ASSERT_TRUE(WaitUntil([&] { return ThreadInfo().hwndCapture == NULL; }))
            << "Stretch kept the mouse after the release";
        EXPECT_EQ(Focus(), "Action: Stretch");
        EXPECT_EQ(Rule(), kCenteredRule);
    }
    {
        SCOPED_TRACE("Space on the focused, unchosen Stretch");
        PressKey(VK_SPACE);
        ASSERT_TRUE(FocusAndRuleBecome("Action: Stretch", "Stretch, Left, Left, Offset"));
    }
    {
        SCOPED_TRACE("Act On Top chosen with the keys, back to Stretch");
        PressKey(VK_TAB);
        PressKey(VK_DOWN);
        ASSERT_TRUE(FocusAndRuleBecome("Act On: Top", "Stretch, Top, Top, Offset"));
        PressKeyWith(VK_SHIFT, VK_TAB);
        ASSERT_TRUE(FocusAndRuleBecome("Action: Stretch", "Stretch, Top, Top, Offset"));
    }
    {
        // Choosing the chosen action again starts its rule afresh.
        SCOPED_TRACE("Space on the focused, chosen Stretch");
        PressKey(VK_SPACE);
        ASSERT_TRUE(FocusAndRuleBecome("Action: Stretch", "Stretch, Left, Left, Offset"));
    }
}

TEST_F(UserInput, ClickingMoveGivesLeftLeftOffset) {
    ClickAt(CenterOf(IDC_MOVE));
    ASSERT_TRUE(FocusAndRuleBecome("Action: Move", "Move, Left, Left, Offset"));
    EXPECT_EQ(EnabledChoices(), "Center(Horz) Center(Vert) Move Stretch | Left Top Right Bottom"
                                " | Left Right Width Height | Offset");
    EXPECT_TRUE(CloseLooksDefault());
}

TEST_F(UserInput, EscapeLeavesTheWindowOpenAndEnterClosesIt) {
    WaitUntil([&] { return Focus() != "none"; });
    const std::string before = Focus();
    {
        SCOPED_TRACE("Escape");
        PressKey(VK_ESCAPE);
        // Input is handled in order: once the Tab has moved the focus, Escape is done.
        PressKey(VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return Focus() != before; })) << "focus stayed on " << before;
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 0), (DWORD)WAIT_TIMEOUT);
        EXPECT_TRUE(IsWindow(window));
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_NE(Focus(), "none");
        EXPECT_EQ(Rule(), kCenteredRule);
    }
    {
        SCOPED_TRACE("Enter");
        PressKey(VK_RETURN);
        EXPECT_EQ(WaitForExitCode(process.hProcess, kStepTimeoutMs), 0u);
        EXPECT_FALSE(IsWindow(window));
    }
}

TEST_F(UserInput, AltF4ClosesTheWindowWithExitCodeZero) {
    PressKeyWith(VK_MENU, VK_F4);
    EXPECT_EQ(WaitForExitCode(process.hProcess, kStepTimeoutMs), 0u);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(UserInput, ReactivationGivesTheFocusBackAndCloseItsDefaultLook) {
    {
        SCOPED_TRACE("focus to Move with the keys");
        ClickAt(CenterOf(IDC_CENTER_HORZ));
        ASSERT_TRUE(FocusAndRuleBecome("Action: Center(Horz)", kCenteredRule));
        PressKey(VK_DOWN);
        PressKey(VK_DOWN);
        ASSERT_TRUE(FocusAndRuleBecome("Action: Move", "Move, Left, Left, Offset"));
        EXPECT_TRUE(CloseLooksDefault());
    }
    const POINT background = Background();
    ASSERT_EQ(WindowFromPoint(background), window);
    struct Reactivation {
        const char* how;
        std::function<void()> activate;
    };
    const Reactivation reactivations[] = {
        {"a click on the form's background", [&] { ClickAt(background); }},
        {"SetForegroundWindow", [&] { SetForegroundWindow(window); }},
    };
    for (const Reactivation& reactivation : reactivations) {
        SCOPED_TRACE(std::string("reactivated by ") + reactivation.how);
        {
            SCOPED_TRACE("another window in front");
            ActivateOtherWindow();
            ASSERT_TRUE(
                Becomes([&] { return ActivationState(); }, "inactive, focus on none, Close plain"));
            EXPECT_EQ(GetForegroundWindow(), otherWindow);
        }
        {
            SCOPED_TRACE("the form in front again");
            reactivation.activate();
            ASSERT_TRUE(Becomes([&] { return ActivationState(); },
                                "active, focus on Action: Move, Close default"));
            EXPECT_EQ(GetForegroundWindow(), window);
            EXPECT_EQ(Rule(), "Move, Left, Left, Offset");
        }
    }
}

} // namespace
