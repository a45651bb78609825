#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <random>
#include <stdlib.h>
#include <string>
#include <vector>
#include "mainwindow/controlids.h"
#include "tests/focushelpers.h"
#include "tests/support/formstate.h"
#include "tests/support/programprocess.h"
#include "tests/support/watchdog.h"
#include "tests/testwindow.h"

namespace {

// A window procedure answers a message in milliseconds; a busy machine may
// make it a second.
const DWORD kAnswerTimeoutMs = 3000;
const DWORD kStartTimeoutMs = 10000;

bool FocusIsInside(HWND window) {
    return IsChild(window, GetFocus()) != FALSE;
}

// A plain top-level window of the test, counting the dialog-manager questions
// that anybody asks it.
LONG g_questionsToStranger;
LRESULT CALLBACK StrangerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE || message == EM_SETSEL || message == BM_SETSTYLE)
        ++g_questionsToStranger;
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateStranger() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = StrangerProc;
    windowClass.lpszClassName = L"TessaryTestStranger";
    windowClass.hInstance = GetModuleHandleW(NULL);
    RegisterClassW(&windowClass);
    // WS_MAXIMIZEBOX has the value of WS_TABSTOP: a tab-stop search that
    // strays among top-level windows would take this one.
    return CreateWindowExW(0, L"TessaryTestStranger", L"stranger",
                           WS_OVERLAPPED | WS_VISIBLE | WS_MAXIMIZEBOX, 0, 0, 100, 80, NULL, NULL,
                           GetModuleHandleW(NULL), NULL);
}

class HostileMessages : public MainWindowTest {};

} // namespace

TEST_F(HostileMessages, CommandsWithAnyCodeOrIdentifierKeepTheRule) {
    const WORD ids[] = {0,   2,   3,   99,  100, 101, 102, 103, 105, 107, 108, 109,  113,
                        115, 116, 117, 118, 122, 124, 125, 126, 127, 128, 129, 1000, 0xFFFF};
    FormState before = Form();
    for (WORD id : ids) {
        for (UINT code = 0; code <= 0xFFFF; code += (code < 32 ? 1 : 0x1FF)) {
            SCOPED_TRACE(::testing::Message() << "id " << id << " code " << code);
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)0xDEADBEEF);
            ASSERT_TRUE(IsWindow(window));
            FormState now = Form();
            ASSERT_EQ(RuleProblems(now), "");
            if (code != BN_CLICKED) {
                ASSERT_EQ(now, before);
            }
            before = now;
        }
    }
}

TEST_F(HostileMessages, NextDlgCtlWithStaleForeignOrRandomHandlesKeepsTheFocusInTheForm) {
    ASSERT_TRUE(ShowAndActivate(window));
    HWND stale = CreateWindowExW(0, L"Button", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 5, 5,
                                 window, NULL, NULL, NULL);
    ASSERT_NE(stale, nullptr);
    DestroyWindow(stale);
    HWND stranger = CreateStranger();
    ASSERT_NE(stranger, nullptr);
    ASSERT_TRUE(ShowAndActivate(window));
    g_questionsToStranger = 0;

    std::mt19937 random(7);
    std::vector<WPARAM> handles = {
        (WPARAM)stale, (WPARAM)stranger, (WPARAM)GetDesktopWindow(), (WPARAM)window, 0, 1,
        0xFFFFFFFF};
    for (int i = 0; i < 200; ++i)
        handles.push_back(random());
    for (WPARAM handle : handles) {
        SCOPED_TRACE(::testing::Message() << "handle " << handle);
        SendMessageW(window, WM_NEXTDLGCTL, handle, TRUE);
        EXPECT_TRUE(FocusIsInside(window));
        SendMessageW(window, WM_NEXTDLGCTL, handle & 1, 0);
        EXPECT_TRUE(FocusIsInside(window));
    }
    EXPECT_EQ(g_questionsToStranger, 0);

    // With the focus on the window itself, a step must not wander off to the
    // next top-level window.
    SetWindowPos(stranger, window, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetFocus(window);
    SendMessageW(window, WM_NEXTDLGCTL, 0, 0);
    EXPECT_TRUE(FocusIsInside(window));
    EXPECT_EQ(g_questionsToStranger, 0);
    DestroyWindow(stranger);
}

TEST_F(HostileMessages, SetDefIdWithAnySixteenBitValueKeepsOnlyTheCloseButtonAsDefault) {
    ASSERT_TRUE(ShowAndActivate(window));
    SendMessageW(window, WM_NEXTDLGCTL, (WPARAM)Item(IDC_CENTER_HORZ), TRUE);
    HWND close = Item(IDC_CLOSE);
    // Every value takes over a minute under Wine; the suite tries the low
    // values and a spread of the rest, TESSARY_EVERY_DEFID=1 tries them all.
    const bool everyValue = getenv("TESSARY_EVERY_DEFID") != nullptr;
    for (DWORD value = 0; value <= 0xFFFF; value += (everyValue || value < 300) ? 1 : 97) {
        WPARAM wParam = value | ((value * 2654435761u) & 0xFFFF0000u); // garbage above
        ASSERT_EQ(SendMessageW(window, DM_SETDEFID, wParam, 0), TRUE) << value;
        bool closeIsDefault = value == IDC_CLOSE;
        LRESULT answer = SendMessageW(window, DM_GETDEFID, 0, 0);
        ASSERT_EQ(answer, closeIsDefault ? MAKELONG(IDC_CLOSE, DC_HASDEFID) : 0) << value;
        ASSERT_EQ((GetWindowLongW(close, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON, closeIsDefault)
            << value;
    }
    EXPECT_TRUE(FocusIsInside(window));
}

TEST_F(HostileMessages, ClickStormsOnEveryControlLeaveAnActionClickInCharge) {
    // A button's own handling of a click can loop: without common controls 6,
    // Wine's radio button looks for itself in its group, which skips it when
    // it is disabled.
    StepWatchdog watchdog(kAnswerTimeoutMs);
    auto click = [&](int round, int id) {
        HWND control = Item(id);
        watchdog.Step((::testing::Message()
                       << "round " << round << ": BM_CLICK on " << ControlName(window, control)
                       << (IsWindowEnabled(control) ? "" : ", disabled,"))
                          .GetString());
        SendMessageW(control, BM_CLICK, 0, 0);
    };
    std::mt19937 random(11);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round);
        std::vector<int> ids;
        for (int id = IDC_ACTION_LABEL; id <= IDC_PERCENT; ++id)
            ids.push_back(id);
        std::shuffle(ids.begin(), ids.end(), random);
        // Programmatic clicks reach disabled buttons too, which no user can do.
        for (int id : ids)
            click(round, id);
        ASSERT_TRUE(IsWindow(window));
        int action = IDC_CENTER_HORZ + (int)(random() % 4);
        click(round, action);
        FormState state = Form();
        EXPECT_EQ(RuleProblems(state), "");
        EXPECT_EQ(state[OptionFromControlId(action)].check, BST_CHECKED);
    }
}

TEST_F(HostileMessages, SetFontWithAForeignOrStaleHandleNeverDeletesAnotherObject) {
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HFONT stale = CreateFontW(12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma");
    ASSERT_NE(stale, nullptr);
    DeleteObject(stale);
    SendMessageW(window, WM_SETFONT, (WPARAM)stale, TRUE);
    SendMessageW(window, WM_SETTINGCHANGE, 0, 0);
    SendMessageW(window, WM_SETFONT, (WPARAM)0x12345678, TRUE);
    SendMessageW(window, WM_THEMECHANGED, 0, 0);
    SendMessageW(window, WM_SETFONT, (WPARAM)brush, FALSE);
    SendMessageW(window, WM_SETTINGCHANGE, 0, 0);
    DestroyTestMainWindow(window);
    EXPECT_EQ(GetObjectType(brush), (DWORD)OBJ_BRUSH);
    DeleteObject(brush);

    // A real font is the window's own, as ever, and goes with it.
    window = CreateTestMainWindow();
    ASSERT_NE(window, nullptr);
    HFONT font = CreateFontW(12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma");
    ASSERT_NE(font, nullptr);
    SendMessageW(window, WM_SETFONT, (WPARAM)font, FALSE);
    DestroyTestMainWindow(window);
    EXPECT_EQ(GetObjectType(font), 0u);
}

TEST_F(HostileMessages, RepeatedSettingAndThemeChangesKeepSizeAndPlace) {
    RECT before;
    GetWindowRect(window, &before);
    for (int i = 0; i < 200; ++i)
        SendMessageW(window, i % 2 ? WM_THEMECHANGED : WM_SETTINGCHANGE, i, 0);
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(HostileMessages, CloseSentTwiceDestroysOnceAndQuitsWithZero) {
    SendMessageW(window, WM_CLOSE, 0, 0);
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
}

namespace {

// The real program in its own process, ended at the end of the test whatever
// happens.
class ProgramUnderFire : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(program.Start(ProgramPath()));
        window = program.WaitForMainWindow(kStartTimeoutMs);
        ASSERT_NE(window, nullptr) << program.Missing("main window", kStartTimeoutMs);
    }
    // Sends to the window, or to a control of it, unless an earlier message
    // went unanswered: a hung program costs one time-out, not one a message.
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam, HWND target = NULL) {
        if (!unanswered.empty())
            return 0;
        target = target ? target : window;
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(target, message, wParam, lParam, SMTO_NORMAL, kAnswerTimeoutMs,
                                 &result))
            unanswered = (::testing::Message()
                          << "message 0x" << std::hex << message << std::dec << " (" << wParam
                          << ", " << lParam << ") to "
                          << (target == window ? "the window" : ControlName(window, target)))
                             .GetString();
        return (LRESULT)result;
    }
    ::testing::AssertionResult AnsweredEverything() const {
        if (unanswered.empty())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the program did not answer " << unanswered
                                             << " within " << kAnswerTimeoutMs << " ms";
    }
    void CheckAliveWithAnAllowedRule() {
        Send(WM_NULL, 0, 0);
        ASSERT_TRUE(AnsweredEverything());
        EXPECT_EQ(RuleProblems(ReadFormState(window)), "");
    }
    HWND Item(int id) const {
        return GetDlgItem(window, id);
    }

    StartedProgram program;
    HWND window = NULL;
    std::string unanswered;
};

} // namespace

TEST_F(ProgramUnderFire, SurvivesHostileMessagesFromAnotherProcessAndClosesWithZero) {
    std::mt19937 random(5);
    {
        SCOPED_TRACE("commands");
        for (WORD id = 0; id <= 130; ++id) {
            if (id == IDC_CLOSE)
                continue;
            for (UINT code = 0; code < 16; ++code)
                Send(WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)random());
        }
        Send(WM_COMMAND, MAKEWPARAM(0xFFFF, 0xFFFF), 0);
        ASSERT_NO_FATAL_FAILURE(CheckAliveWithAnAllowedRule());
    }
    {
        SCOPED_TRACE("next control with handles that are not the program's");
        HWND stranger = CreateStranger();
        ASSERT_NE(stranger, nullptr);
        g_questionsToStranger = 0;
        HWND stale =
            CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
        ASSERT_NE(stale, nullptr);
        DestroyWindow(stale);
        const WPARAM handles[] = {(WPARAM)stranger, (WPARAM)stale,    (WPARAM)GetDesktopWindow(),
                                  (WPARAM)random(), (WPARAM)random(), 0xFFFFFFFF};
        for (WPARAM handle : handles) {
            Send(WM_NEXTDLGCTL, handle, TRUE);
            Send(WM_NEXTDLGCTL, handle & 1, 0);
        }
        EXPECT_EQ(g_questionsToStranger, 0);
        DestroyWindow(stranger);
        ASSERT_NO_FATAL_FAILURE(CheckAliveWithAnAllowedRule());
    }
    {
        SCOPED_TRACE("default identifiers");
        for (DWORD value = 0; value <= 0xFFFF; value += 1 + (value % 7) * 37) {
            LRESULT answer = Send(DM_SETDEFID, value | (random() & 0xFFFF0000u), 0);
            ASSERT_TRUE(AnsweredEverything());
            EXPECT_EQ(answer, TRUE) << value;
        }
        EXPECT_EQ(Send(DM_SETDEFID, IDC_CLOSE, 0), TRUE);
        EXPECT_EQ(Send(DM_GETDEFID, 0, 0), MAKELONG(IDC_CLOSE, DC_HASDEFID));
        ASSERT_NO_FATAL_FAILURE(CheckAliveWithAnAllowedRule());
    }
    {
        SCOPED_TRACE("fonts, settings and themes");
        for (int i = 0; i < 50; ++i) {
            // Fonts are not marshalled between processes; a posted one arrives
            // as the bare number it is.
            PostMessageW(window, WM_SETFONT, (WPARAM)random(), i & 1);
            Send(i & 1 ? WM_THEMECHANGED : WM_SETTINGCHANGE, 0, 0);
        }
        ASSERT_NO_FATAL_FAILURE(CheckAliveWithAnAllowedRule());
    }
    {
        SCOPED_TRACE("click storms");
        for (int round = 0; round < 5; ++round) {
            for (int id = IDC_ACTION_LABEL; id <= IDC_PERCENT; ++id)
                Send(BM_CLICK, 0, 0, Item(id));
        }
        Send(BM_CLICK, 0, 0, Item(IDC_MOVE));
        ASSERT_NO_FATAL_FAILURE(CheckAliveWithAnAllowedRule());
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u) << "the program " << program.State();
}
