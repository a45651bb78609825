#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <random>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>
#include "mainwindow/controlids.h"
#include "tests/callerprocess.h"
#include "tests/focushelpers.h"
#include "tests/support/formstate.h"
#include "tests/support/rulemodel.h"
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

// Who sends the program its messages: this 32-bit process, or a 64-bit one,
// as automation tools, screen readers and test tools drive a 32-bit program's
// window on 64-bit Windows.
enum class Caller { ThisProcess, Process64 };

// Built beside this test with the x86-64 MinGW compiler, where the build
// found one.
std::wstring Caller64Path() {
    wchar_t path[MAX_PATH] = L"";
    std::wstring test(path, GetModuleFileNameW(NULL, path, MAX_PATH));
    return test.substr(0, test.find_last_of(L"\\/") + 1) + L"caller64.exe";
}

// Why this run has no 64-bit caller; empty when it has one.
std::string NoCaller64() {
    BOOL wow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64)
        return "this Windows is 32-bit and runs no 64-bit program";
    if (GetFileAttributesW(Caller64Path().c_str()) == INVALID_FILE_ATTRIBUTES)
        return "caller64.exe was not built beside the test: the build found no x86-64 MinGW "
               "compiler";
    return "";
}

// The real program in its own process, ended at the end of the test whatever
// happens, and the caller that sends it messages.
class ProgramUnderFire : public ::testing::TestWithParam<Caller> {
  protected:
    void SetUp() override {
        if (GetParam() == Caller::Process64) {
            std::string missing = NoCaller64();
            if (!missing.empty()) {
                // A run that stands for 64-bit Windows must drive the form
                // from a 64-bit process.
                const char* platform = getenv("TESSARY_PLATFORM");
                ASSERT_FALSE(platform && strcmp(platform, "win11-wow64") == 0) << missing;
                GTEST_SKIP() << missing;
            }
            ASSERT_TRUE(caller.Start(Caller64Path()));
        }
        ASSERT_TRUE(program.Start(ProgramPath()));
        window = program.WaitForMainWindow(kStartTimeoutMs);
        ASSERT_NE(window, nullptr) << program.Missing("main window", kStartTimeoutMs);
        reader = FormReader(window);
        // A button of a window that is not active may refuse BM_CLICK.
        ASSERT_TRUE(BroughtToForeground(window));
    }
    // Sends to the window, or to a control of it, unless an earlier message
    // went unanswered: a hung program costs one time-out, not one a message.
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam, HWND target = NULL) {
        return Deliver(message, wParam, lParam, target, nullptr);
    }
    // The same with lParam pointing at the text, in the caller's memory.
    LRESULT SendText(UINT message, WPARAM wParam, const char* text) {
        return Deliver(message, wParam, 0, NULL, text);
    }
    // A click on an option button, the model's too.
    void Click(int option, RuleModel& rules) {
        Send(BM_CLICK, 0, 0, Control(option));
        rules.Click(option);
    }
    // WM_NEXTDLGCTL with a control of the model's, the model's too.
    void MoveFocus(int control, RuleModel& rules) {
        Send(WM_NEXTDLGCTL, (WPARAM)Control(control), TRUE);
        rules.MoveFocus(control);
    }
    // A button's click command without a click, the model's too.
    void Command(int option, RuleModel& rules) {
        Send(WM_COMMAND, MAKEWPARAM(OptionControlId(option), BN_CLICKED), (LPARAM)Control(option));
        rules.Command(option);
    }
    // The caller's EnableWindow on Close, the model's too.
    void EnableClose(bool enable, RuleModel& rules) {
        if (GetParam() == Caller::Process64) {
            if (!caller.Enable(Item(IDC_CLOSE), enable, kCallerTimeoutMs))
                unanswered = "EnableWindow";
        } else {
            EnableWindow(Item(IDC_CLOSE), enable);
        }
        rules.EnableCloseFromOutside(enable);
    }
    // The model's problems with the form, its focus and its default
    // identifier.
    std::string Problems(const RuleModel& rules, const FormState& shown) {
        return ModelProblems(rules, shown, window, Focus(), Send(DM_GETDEFID, 0, 0));
    }
    void Post(UINT message, WPARAM wParam, LPARAM lParam) {
        if (GetParam() == Caller::Process64)
            caller.Post(window, message, wParam, lParam, kCallerTimeoutMs);
        else
            PostMessageW(window, message, wParam, lParam);
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
    // An option button, or Close.
    HWND Control(int button) const {
        return Item(ButtonControlId(button));
    }
    HWND Focus() const {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info);
        return info.hwndFocus;
    }

    StartedProgram program;
    CallerProcess caller;
    HWND window = NULL;
    FormReader reader{NULL};
    std::string unanswered;

  private:
    // The caller's own wait for the window, and time to pass the answer on.
    static const DWORD kCallerTimeoutMs = kAnswerTimeoutMs + 2000;

    LRESULT Deliver(UINT message, WPARAM wParam, LPARAM lParam, HWND target, const char* text) {
        if (!unanswered.empty())
            return 0;
        target = target ? target : window;
        LRESULT result = 0;
        bool answered;
        if (GetParam() == Caller::Process64) {
            answered =
                text ? caller.SendText(target, message, wParam, text, kCallerTimeoutMs, &result)
                     : caller.Send(target, message, wParam, lParam, kCallerTimeoutMs, &result);
        } else {
            wchar_t wide[256] = L"";
            if (text) {
                MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, 256);
                lParam = (LPARAM)wide;
            }
            DWORD_PTR answer = 0;
            answered = SendMessageTimeoutW(target, message, wParam, lParam, SMTO_NORMAL,
                                           kAnswerTimeoutMs, &answer) != 0;
            result = (LRESULT)answer;
        }
        if (!answered)
            unanswered = (::testing::Message()
                          << "message 0x" << std::hex << message << std::dec << " (" << wParam
                          << ", " << (text ? text : std::to_string(lParam)) << ") to "
                          << (target == window ? "the window" : ControlName(window, target)))
                             .GetString();
        return result;
    }
};

} // namespace

TEST_P(ProgramUnderFire, AnswersAsTheRuleTablesAndTheDialogManagerSay) {
    RuleModel rules = RuleModel::Started();
    {
        SCOPED_TRACE("every option clicked, each from the nearest state where it is enabled");
        for (int option = 0; option < kOptionCount; ++option) {
            for (const ReachedState& state : ReachableFrom({{rules, {}}})) {
                if (!state.rules[option].enabled)
                    continue;
                std::vector<int> clicks = state.clicks;
                clicks.push_back(option);
                for (int click : clicks) {
                    Click(click, rules);
                    ASSERT_TRUE(AnsweredEverything());
                    ASSERT_EQ(Problems(rules, reader.Read()), "")
                        << "after a click on " << OptionName(click);
                }
                break;
            }
        }
    }
    const int firstPart = FirstOptionOf(ActOnColumn);
    const int width = OptionFromControlId(IDC_RELTO_WIDTH);
    // The buttons that the updates may disable: the enabled Relative To edges
    // (Left to Bottom, before Width) and unit.
    auto mayBeDisabled = [&](const RuleModel& state) {
        std::vector<int> buttons;
        for (int button = FirstOptionOf(RelativeToColumn); button < kOptionCount; ++button) {
            if (state[button].enabled && (button < width || ColumnOf(button) == UnitColumn))
                buttons.push_back(button);
        }
        return buttons;
    };
    {
        SCOPED_TRACE("Action commands sent without a click, with the focus on each button that "
                     "the updates may disable");
        // An Action's command runs the chosen Action's updates again, whichever
        // it names, the chosen one included: the four take turns. One state of
        // each Action and Act On, with Relative To Width wherever it is
        // enabled: the updates uncheck it before they disable any Relative To
        // button, and then disable Percent.
        int row = 0;
        for (const ReachedState& state : ReachableFrom({{RuleModel::Started(), {}}})) {
            if (state.rules[width].enabled && state.rules[width].check != BST_CHECKED)
                continue;
            for (int focus : mayBeDisabled(state.rules)) {
                for (int click : FewestClicks(rules, state.rules.State()))
                    Click(click, rules);
                MoveFocus(focus, rules);
                int action = row++ % firstPart;
                Command(action, rules);
                ASSERT_TRUE(AnsweredEverything());
                ASSERT_EQ(Problems(rules, reader.Read()), "")
                    << "in " << Describe(state.rules.State()) << ", the focus on "
                    << OptionName(focus) << ", after the command of " << OptionName(action);
            }
        }
    }
    {
        SCOPED_TRACE("clicks sent to disabled buttons under each Action, the focus on each "
                     "button that the updates may disable in turn");
        int row = 0;
        for (int action = 0; action < firstPart; ++action) {
            Click(action, rules);
            const RuleModel chosen = rules;
            const std::vector<int> focusable = mayBeDisabled(chosen);
            for (int option = firstPart; option < kOptionCount; ++option) {
                if (chosen[option].enabled)
                    continue;
                int focus = focusable[row++ % focusable.size()];
                MoveFocus(focus, rules);
                Send(BM_CLICK, 0, 0, Control(option));
                ASSERT_TRUE(AnsweredEverything());
                // Windows may refuse it; Wine hands it on.
                FormState shown = reader.Read();
                if (shown[option].check == BST_CHECKED)
                    rules.ClickDisabled(option);
                ASSERT_EQ(Problems(rules, shown), "")
                    << "under " << OptionName(action) << ", the focus on " << OptionName(focus)
                    << ", after a click on the disabled " << OptionName(option);
                // The Action's updates clear what the click left.
                Click(action, rules);
            }
        }
    }
    {
        SCOPED_TRACE("Close disabled by another program under each Action, the focus moved, "
                     "the chosen buttons' commands sent, Close enabled again");
        for (int action = 0; action < firstPart; ++action) {
            Click(action, rules);
            auto expect = [&](const std::string& step) {
                EXPECT_TRUE(AnsweredEverything());
                EXPECT_EQ(Problems(rules, reader.Read()), "")
                    << "under " << OptionName(action) << ", " << step;
            };
            MoveFocus(rules.Chosen(RelativeToColumn), rules);
            EnableClose(false, rules);
            expect("Close disabled");
            MoveFocus(rules.Chosen(ActOnColumn), rules);
            expect("the focus moved to the chosen Act On");
            MoveFocus(kCloseButton, rules);
            expect("the focus sent to the disabled Close");
            for (OptionColumn column : {UnitColumn, RelativeToColumn, ActOnColumn, ActionColumn}) {
                int chosen = rules.Chosen(column);
                Command(chosen, rules);
                expect("the command of " + OptionName(chosen));
            }
            EnableClose(true, rules);
            expect("Close enabled again");
        }
    }
    {
        SCOPED_TRACE("the focus moved by handle to each tab stop, then a step either way");
        // The tab stops in their order: Close, then the chosen button of each
        // column. A step goes to the next or previous one and stops at the
        // ends, as a dialog's WM_NEXTDLGCTL here does not go round.
        std::vector<int> stops = {IDC_CLOSE};
        for (int option = 0; option < kOptionCount; ++option) {
            if (rules[option].check == BST_CHECKED)
                stops.push_back(OptionControlId(option));
        }
        for (size_t stop = 0; stop < stops.size(); ++stop) {
            for (WPARAM previous = 0; previous <= 1; ++previous) {
                size_t next =
                    previous ? (stop ? stop - 1 : stop) : std::min(stop + 1, stops.size() - 1);
                HWND from = Item(stops[stop]);
                EXPECT_EQ(Send(WM_NEXTDLGCTL, (WPARAM)from, TRUE), 0);
                EXPECT_EQ(Focus(), from) << "moved to " << ControlName(window, from);
                EXPECT_EQ(Send(WM_NEXTDLGCTL, previous, FALSE), 0);
                ASSERT_TRUE(AnsweredEverything());
                EXPECT_EQ(Focus(), Item(stops[next]))
                    << (previous ? "back" : "on") << " from " << ControlName(window, from)
                    << " should reach " << ControlName(window, Item(stops[next])) << ", not "
                    << ControlName(window, Focus());
                EXPECT_EQ(ReadFormState(window), rules.State());
            }
        }
    }
    {
        SCOPED_TRACE("default identifiers, with bits above the low word");
        Send(WM_NEXTDLGCTL, (WPARAM)Item(IDC_CENTER_HORZ), TRUE);
        for (WPARAM id : {(WPARAM)IDC_MOVE, (WPARAM)0, (WPARAM)0xFFFF, (WPARAM)IDC_CLOSE}) {
            EXPECT_EQ(Send(DM_SETDEFID, id | 0xABCD0000u, 0), TRUE) << id;
            EXPECT_EQ(Send(DM_GETDEFID, 0, 0),
                      id == IDC_CLOSE ? MAKELONG(IDC_CLOSE, DC_HASDEFID) : 0)
                << id;
            EXPECT_EQ(LooksDefault(Item(IDC_CLOSE)), id == IDC_CLOSE) << id;
        }
    }
    {
        SCOPED_TRACE("a settings change with a string, a theme change");
        RECT shown;
        ASSERT_TRUE(GetWindowRect(window, &shown));
        ASSERT_TRUE(SetWindowPos(window, NULL, shown.left + 20, shown.top + 10,
                                 shown.right - shown.left + 30, shown.bottom - shown.top + 40,
                                 SWP_NOZORDER | SWP_NOACTIVATE));
        SendText(WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, "WindowMetrics");
        ASSERT_TRUE(AnsweredEverything());
        RECT changed;
        GetWindowRect(window, &changed);
        EXPECT_EQ(changed.left, shown.left + 20);
        EXPECT_EQ(changed.top, shown.top + 10);
        EXPECT_EQ(changed.right - changed.left, shown.right - shown.left);
        EXPECT_EQ(changed.bottom - changed.top, shown.bottom - shown.top);
        Send(WM_THEMECHANGED, 0, 0);
        ASSERT_NO_FATAL_FAILURE(CheckAliveWithAnAllowedRule());
    }
    Send(WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u) << "the program " << program.State();
}

TEST_P(ProgramUnderFire, SurvivesHostileMessagesFromAnotherProcessAndClosesWithZero) {
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
            Post(WM_SETFONT, (WPARAM)random(), i & 1);
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
    Post(WM_CLOSE, 0, 0);
    Post(WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u) << "the program " << program.State();
}

INSTANTIATE_TEST_SUITE_P(From, ProgramUnderFire,
                         ::testing::Values(Caller::ThisProcess, Caller::Process64),
                         [](const ::testing::TestParamInfo<Caller>& info) {
                             return info.param == Caller::ThisProcess ? "ThisProcess"
                                                                      : "A64BitProcess";
                         });
