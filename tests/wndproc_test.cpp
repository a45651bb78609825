#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <memory>
#include <vector>
#include "app/extensionpoints.h"
#include "app/fontmetrics.h"
#include "app/mainwindowclass.h"
#include "app/winmain.h"
#include "mainwindow/controlids.h"
#include "tests/focushelpers.h"
#include "tests/support/formstate.h"
#include "tests/support/importpatch.h"
#include "tests/testwindow.h"

namespace {

// What a subclass installed after creation sees of the window's messages.
struct Observations {
    WNDPROC original;
    int windowFocused; // WM_SETFOCUS received by the main window itself
    bool destroyed;
    HANDLE fontBeforeDestroy;
    HANDLE recordBeforeDestroy;
    HANDLE fontAfterDestroy;
    HANDLE recordAfterDestroy;
    LRESULT destroyResult;
};
Observations g_observed;

LRESULT CALLBACK ObservingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFOCUS)
        ++g_observed.windowFocused;
    if (message != WM_DESTROY)
        return CallWindowProcW(g_observed.original, window, message, wParam, lParam);
    g_observed.fontBeforeDestroy = GetPropW(window, L"FONT");
    g_observed.recordBeforeDestroy = GetPropW(window, L"KEYBOARDFOCUS");
    g_observed.destroyResult =
        CallWindowProcW(g_observed.original, window, message, wParam, lParam);
    g_observed.fontAfterDestroy = GetPropW(window, L"FONT");
    g_observed.recordAfterDestroy = GetPropW(window, L"KEYBOARDFOCUS");
    g_observed.destroyed = true;
    return g_observed.destroyResult;
}

void Observe(HWND window) {
    g_observed = {};
    g_observed.original = (WNDPROC)SetWindowLongPtrW(window, GWLP_WNDPROC, (LONG_PTR)ObservingProc);
}

// Larger than the stock GUI font, so that sizes measured from the window's
// own font differ from those of the default one.
HFONT CreateLargeFont() {
    return CreateFontW(-24, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, L"Arial");
}

HFONT StockFont() {
    return (HFONT)GetStockObject(DEFAULT_GUI_FONT);
}

void ExpectSameRects(const std::vector<RECT>& expected, const std::vector<RECT>& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "child " << i);
        EXPECT_EQ(expected[i].left, actual[i].left);
        EXPECT_EQ(expected[i].top, actual[i].top);
        EXPECT_EQ(expected[i].right, actual[i].right);
        EXPECT_EQ(expected[i].bottom, actual[i].bottom);
    }
}

// The system colours that a control may draw its lines, text and background
// with, each changed for the object's life to a colour that none of them had,
// and put back whatever happens.
struct ChangedSystemColours {
    static constexpr int kCount = 10;
    static constexpr INT kElements[kCount] = {
        COLOR_3DDKSHADOW, COLOR_WINDOWFRAME, COLOR_BTNSHADOW, COLOR_3DLIGHT,    COLOR_BTNHIGHLIGHT,
        COLOR_BTNFACE,    COLOR_BTNTEXT,     COLOR_WINDOW,    COLOR_WINDOWTEXT, COLOR_GRAYTEXT};
    COLORREF old[kCount];
    COLORREF fresh[kCount];
    bool changed;

    ChangedSystemColours() {
        for (int i = 0; i < kCount; ++i)
            old[i] = GetSysColor(kElements[i]);
        // Steps small enough that no byte of the colour carries into the next.
        const COLORREF step = RGB(0x09, 0, 0x05);
        COLORREF candidate = RGB(0x21, 0x9A, 0x37);
        for (COLORREF& colour : fresh) {
            while (IsOld(candidate))
                candidate += step;
            colour = candidate;
            candidate += step;
        }
        changed = SetSysColors(kCount, kElements, fresh) != FALSE;
    }
    ~ChangedSystemColours() {
        if (changed)
            SetSysColors(kCount, kElements, old);
    }
    bool IsOld(COLORREF colour) const {
        return std::count(old, old + kCount, colour) != 0;
    }
    bool IsNew(COLORREF colour) const {
        return std::count(fresh, fresh + kCount, colour) != 0;
    }
};

// The colour a separator line shows: the middle of its top edge.
COLORREF LineColour(HWND line) {
    RECT client;
    GetClientRect(line, &client);
    HDC dc = GetDC(line);
    COLORREF colour = GetPixel(dc, client.right / 2, 0);
    ReleaseDC(line, dc);
    return colour;
}

// Whether `upper` is the next window above `window` in the z-order, but for
// windows of this thread that the system may keep there. The walk stops at
// any window of another thread.
bool IsJustBelow(HWND window, HWND upper) {
    for (HWND next = GetWindow(window, GW_HWNDPREV); next; next = GetWindow(next, GW_HWNDPREV)) {
        if (next == upper)
            return true;
        if (GetWindowThreadProcessId(next, NULL) != GetCurrentThreadId())
            return false;
    }
    return false;
}

BOOL WINAPI RefusedGetTextMetricsW(HDC, LPTEXTMETRICW) {
    return FALSE;
}

class NewWindow : public MainWindowTest {
  protected:
    NewWindow() {
        started = false;
    }
};

// After the start-up click on "Center(Horz)".
class StartedForm : public MainWindowTest {};

} // namespace

TEST_F(NewWindow, ActivateIsAnsweredWithZeroAndNeverFocusesTheWindowItself) {
    ASSERT_TRUE(ShowAndActivate(window));
    Observe(window);

    SetFocus(Item(IDC_MOVE));
    EXPECT_EQ(SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0), 0);
    EXPECT_EQ(FocusedId(), IDC_MOVE); // deactivation remembers, it moves nothing
    EXPECT_FALSE(LooksDefault(Item(IDC_CLOSE)));

    SetFocus(Item(IDC_ACTON_TOP));
    EXPECT_EQ(SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0), 0);
    EXPECT_EQ(FocusedId(), IDC_MOVE);
    EXPECT_TRUE(LooksDefault(Item(IDC_CLOSE)));

    // Only the low word tells deactivation from activation.
    SetFocus(Item(IDC_RELTO_TOP));
    EXPECT_EQ(SendMessageW(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, TRUE), 0), 0);
    SetFocus(Item(IDC_CLOSE));
    EXPECT_EQ(SendMessageW(window, WM_ACTIVATE, WA_CLICKACTIVE, 0), 0);
    EXPECT_EQ(FocusedId(), IDC_RELTO_TOP);

    // The default handling of an activation would focus the window itself.
    EXPECT_EQ(g_observed.windowFocused, 0);
}

TEST_F(NewWindow, FocusOnTheWindowGoesOnToTheRememberedControl) {
    ASSERT_TRUE(ShowAndActivate(window));
    SetFocus(Item(IDC_ACTON_RIGHT));
    SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0);
    ASSERT_FALSE(LooksDefault(Item(IDC_CLOSE)));
    Observe(window);

    SetFocus(window);
    EXPECT_EQ(g_observed.windowFocused, 1);
    EXPECT_EQ(FocusedId(), IDC_ACTON_RIGHT);
    EXPECT_TRUE(LooksDefault(Item(IDC_CLOSE)));
}

TEST_F(NewWindow, SettingAndThemeChangesRestoreTheClientSizeInPlace) {
    // Another always-on-top window, just above the form: the form keeps its
    // place under it.
    HWND above = CreateWindowExW(WS_EX_TOPMOST, L"Static", L"", WS_POPUP, 40, 40, 200, 100, NULL,
                                 NULL, NULL, NULL);
    ASSERT_NE(above, nullptr);
    ShowWindow(above, SW_SHOWNOACTIVATE);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    HFONT large = CreateLargeFont();
    ASSERT_NE(large, nullptr);
    HDC screen = GetDC(NULL);
    const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    struct Case {
        HFONT font;
        bool metricsRefused;
    };
    // A font whose metrics cannot be read has no height, and the height falls
    // back to 136 pixels at 96 dots per inch, scaled to the screen: the large
    // font, unlike the stock one, would give another height.
    const Case cases[] = {{StockFont(), false}, {large, false}, {large, true}};
    int x = 100;
    for (UINT message : {(UINT)WM_SETTINGCHANGE, (UINT)WM_THEMECHANGED}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << "message " << message << (c.font == large ? " with a large font" : "")
                         << (c.metricsRefused ? ", its metrics refused" : ""));
            // The size is measured from the window's own font.
            SendMessageW(window, WM_SETFONT, (WPARAM)c.font, FALSE);
            x += 17;
            SetWindowPos(window, above, x, 77, 300, 200, SWP_NOACTIVATE);
            ASSERT_TRUE(IsJustBelow(window, above));
            std::vector<RECT> children = ChildRects(window);

            {
                std::unique_ptr<ImportPatch> refusal;
                if (c.metricsRefused) {
                    refusal = std::make_unique<ImportPatch>("gdi32.dll", "GetTextMetricsW",
                                                            (void*)RefusedGetTextMetricsW);
                    ASSERT_NE(refusal->Original(), nullptr);
                }
                EXPECT_EQ(SendMessageW(window, message, 0, 0),
                          DefWindowProcW(window, message, 0, 0));
            }

            RECT frame, client;
            GetWindowRect(window, &frame);
            GetClientRect(window, &client);
            EXPECT_EQ(frame.left, x);
            EXPECT_EQ(frame.top, 77);
            EXPECT_TRUE(IsJustBelow(window, above)) << "the form rose above the other window";
            int baseX, baseY;
            GetFontBaseUnits(c.font, &baseX, &baseY);
            EXPECT_EQ(client.right, (394 * baseX * 2 + 6) / 12);
            if (c.metricsRefused)
                EXPECT_EQ(client.bottom, (136 * dpiY * 2 + 96) / 192);
            else
                EXPECT_EQ(client.bottom, (136 * baseY * 2 + 13) / 26);
            ExpectSameRects(children, ChildRects(window));
        }
    }
    SendMessageW(window, WM_SETFONT, (WPARAM)StockFont(), FALSE);
    DeleteObject(large);
    DestroyWindow(above);
}

TEST_F(StartedForm, CommandsOutsideTheRoutesChangeNothing) {
    SendMessageW(Item(IDC_MOVE), BM_CLICK, 0, 0);
    // Left inconsistent on purpose: any rule update would now check Percent.
    SendMessageW(Item(IDC_RELTO_LEFT), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(Item(IDC_RELTO_WIDTH), BM_SETCHECK, BST_CHECKED, 0);
    const FormState before = Form();

    struct Command {
        WORD id;
        WORD code;
    };
    const Command commands[] = {
        {IDCANCEL, BN_CLICKED},
        {0, BN_CLICKED},
        {999, BN_CLICKED},
        {IDC_ACTION_LABEL, BN_CLICKED},
        {IDC_ACTION_LINE, BN_CLICKED},
        {IDC_ACTON_LABEL, BN_CLICKED},
        {IDC_ACTON_LINE, BN_CLICKED},
        {IDC_RELTO_LABEL, BN_CLICKED},
        {IDC_RELTO_LINE, BN_CLICKED},
        {IDC_OFFSET_LABEL, BN_CLICKED},
        {IDC_OFFSET_LINE, BN_CLICKED},
        {IDC_MOVE, BN_DOUBLECLICKED},
        {IDC_ACTON_LEFT, BN_DOUBLECLICKED},
        {IDC_ACTON_CONTROL, BN_SETFOCUS},
        {IDC_RELTO_WIDTH, BN_KILLFOCUS},
        {IDC_CLOSE, BN_DOUBLECLICKED},
    };
    for (const Command& command : commands) {
        SCOPED_TRACE(testing::Message() << "id " << command.id << ", code " << command.code);
        LRESULT answer = SendMessageW(window, WM_COMMAND, MAKEWPARAM(command.id, command.code),
                                      (LPARAM)GetDlgItem(window, command.id));
        EXPECT_EQ(answer, 0) << "the answer to a command";
        ASSERT_TRUE(IsWindow(window));
        EXPECT_EQ(Form(), before);
    }

    // The same state does change on a routed click.
    EXPECT_EQ(SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_RELTO_WIDTH, BN_CLICKED),
                           (LPARAM)Item(IDC_RELTO_WIDTH)),
              0);
    EXPECT_TRUE(IsChecked(IDC_PERCENT));
    EXPECT_FALSE(IsEnabled(IDC_OFFSET));
}

TEST(ClosingTheWindow, DestroysItReleasesItsStateAndEndsTheLoopWithZero) {
    enum Way { kCloseCommand, kCloseButtonClick, kCloseMessage };
    for (Way way : {kCloseCommand, kCloseButtonClick, kCloseMessage}) {
        SCOPED_TRACE(testing::Message() << "way " << way);
        HWND window = CreateTestMainWindow();
        ASSERT_NE(window, nullptr);
        OnMainWindowCreated(window, const_cast<LPWSTR>(L""));
        HFONT font = CreateLargeFont();
        ASSERT_NE(font, nullptr);
        SendMessageW(window, WM_SETFONT, (WPARAM)font, FALSE);
        Observe(window);
        MSG quit;
        ASSERT_FALSE(PeekMessageW(&quit, NULL, WM_QUIT, WM_QUIT, PM_NOREMOVE));

        HWND close = GetDlgItem(window, IDC_CLOSE);
        switch (way) {
        case kCloseCommand:
            EXPECT_EQ(
                SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_CLOSE, BN_CLICKED), (LPARAM)close),
                0);
            break;
        case kCloseButtonClick:
            SendMessageW(close, BM_CLICK, 0, 0);
            break;
        case kCloseMessage:
            EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 0);
            break;
        }
        // Destroyed at once, inside the message, before anything is pumped.
        EXPECT_FALSE(IsWindow(window));
        EXPECT_TRUE(g_observed.destroyed);
        EXPECT_EQ(g_observed.destroyResult, 0);
        EXPECT_EQ(g_observed.fontBeforeDestroy, font);
        EXPECT_NE(g_observed.recordBeforeDestroy, nullptr);
        EXPECT_EQ(g_observed.fontAfterDestroy, nullptr);
        EXPECT_EQ(g_observed.recordAfterDestroy, nullptr);
        // The window owns its font and deletes it.
        EXPECT_EQ(GetObjectType(font), 0u);

        ASSERT_TRUE(PeekMessageW(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(quit.wParam, 0u);
        DestroyTestMainWindow(window);
    }
}

// ---- Start-up and loop failures, through the program's own imports ----

ATOM WINAPI RefusedRegisterClassExW(const WNDCLASSEXW*) {
    return 0;
}

HWND WINAPI RefusedCreateWindowExW(DWORD, LPCWSTR, LPCWSTR, DWORD, int, int, int, int, HWND, HMENU,
                                   HINSTANCE, LPVOID) {
    return NULL;
}

LPVOID WINAPI RefusedHeapAlloc(HANDLE, DWORD, SIZE_T) {
    return NULL;
}

int g_messageBoxes;

int WINAPI CountedMessageBoxW(HWND, LPCWSTR, LPCWSTR, UINT) {
    ++g_messageBoxes;
    return IDOK;
}

int WINAPI CountedMessageBoxA(HWND, LPCSTR, LPCSTR, UINT) {
    ++g_messageBoxes;
    return IDOK;
}

// GetMessageW that hands on real messages until the one posted with
// kLastWParam has gone through, then fails.
const WPARAM kLastWParam = 7;
decltype(&GetMessageW) g_realGetMessageW;
int g_getMessageCalls;
bool g_lastMessageTaken;

BOOL WINAPI FailingGetMessageW(MSG* message, HWND window, UINT first, UINT last) {
    ++g_getMessageCalls;
    if (g_lastMessageTaken)
        return -1;
    BOOL got = g_realGetMessageW(message, window, first, last);
    g_lastMessageTaken = message->message == WM_APP && message->wParam == kLastWParam;
    return got;
}

// Leaves old values where the next call's frame will be.
__declspec(noinline) void SoilTheStack() {
    volatile unsigned char soil[8192];
    for (size_t at = 0; at < sizeof soil; ++at)
        soil[at] = 0xA5;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*(int*)count;
    return TRUE;
}

int WindowsOfThisThread() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, (LPARAM)&count);
    return count;
}

// A launcher must tell a program that failed, at start-up or in its loop,
// from one that was closed, which ends with 0. A row without a refused import
// fails in the loop.
TEST(FailedProgram, EndsWithOneWhetherStartUpOrTheLoopFails) {
    struct Case {
        const char* name;
        const char* dll;
        const char* function;
        void* replacement;
        bool messageFirst;
    };
    const Case cases[] = {
        {"class registration refused", "user32.dll", "RegisterClassExW",
         (void*)RefusedRegisterClassExW, false},
        {"main window refused", "user32.dll", "CreateWindowExW", (void*)RefusedCreateWindowExW,
         false},
        {"no memory for the focus record", "kernel32.dll", "HeapAlloc", (void*)RefusedHeapAlloc,
         false},
        {"GetMessageW error at the first message", nullptr, nullptr, nullptr, false},
        {"GetMessageW error after a message whose wParam is 7", nullptr, nullptr, nullptr, true},
    };
    HINSTANCE instance = GetModuleHandleW(NULL);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool startUpFails = c.dll != nullptr;
        UnregisterClassW(TESSARY_CLASS_NAME, instance);
        const int windowsBefore = WindowsOfThisThread();
        g_messageBoxes = 0;
        g_getMessageCalls = 0;
        g_lastMessageTaken = !c.messageFirst;
        if (c.messageFirst) {
            ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_APP, kLastWParam, 0));
        }
        int exitCode;
        {
            ImportPatch boxW("user32.dll", "MessageBoxW", (void*)CountedMessageBoxW);
            ImportPatch boxA("user32.dll", "MessageBoxA", (void*)CountedMessageBoxA);
            ImportPatch loop("user32.dll", "GetMessageW", (void*)FailingGetMessageW);
            g_realGetMessageW = (decltype(&GetMessageW))loop.Original();
            ASSERT_NE(g_realGetMessageW, nullptr);
            std::unique_ptr<ImportPatch> refusal;
            if (startUpFails) {
                refusal = std::make_unique<ImportPatch>(c.dll, c.function, c.replacement);
                ASSERT_NE(refusal->Original(), nullptr);
            }
            SoilTheStack();
            exitCode = wWinMain(instance, NULL, const_cast<LPWSTR>(L""), SW_HIDE);
        }
        EXPECT_EQ(exitCode, 1);
        HWND window = MainWindowOfThisThread();
        if (startUpFails) {
            EXPECT_EQ(g_getMessageCalls, 0) << "the message loop was entered";
            EXPECT_EQ(g_messageBoxes, 0);
            EXPECT_EQ(window, nullptr);
            EXPECT_EQ(WindowsOfThisThread(), windowsBefore);
        } else {
            EXPECT_TRUE(g_lastMessageTaken);
            EXPECT_NE(window, nullptr) << "the loop was never reached";
        }
        // A window that refused its creation was destroyed, and posted its quit.
        DestroyTestMainWindow(window);
    }
}

TEST_F(NewWindow, KeepsTheFontItIsGivenAndAnswersWithIt) {
    HFONT large = CreateLargeFont();
    ASSERT_NE(large, nullptr);
    EXPECT_EQ((HFONT)SendMessageW(window, WM_SETFONT, (WPARAM)large, FALSE), StockFont());
    EXPECT_EQ((HFONT)SendMessageW(window, WM_GETFONT, 0, 0), large);
    EXPECT_EQ(GetPropW(window, L"FONT"), (HANDLE)large);
    // The controls keep theirs.
    EXPECT_EQ((HFONT)SendMessageW(Item(IDC_MOVE), WM_GETFONT, 0, 0), StockFont());

    EXPECT_EQ((HFONT)SendMessageW(window, WM_SETFONT, (WPARAM)StockFont(), TRUE), large);
    EXPECT_EQ((HFONT)SendMessageW(window, WM_GETFONT, 0, 0), StockFont());
    // The window no longer holds the large font: it is ours to delete.
    EXPECT_NE(GetObjectType(large), 0u);
    DeleteObject(large);

    EXPECT_EQ((HFONT)SendMessageW(window, WM_SETFONT, 0, FALSE), StockFont());
    EXPECT_EQ((HFONT)SendMessageW(window, WM_GETFONT, 0, 0), nullptr);
    SendMessageW(window, WM_SETFONT, (WPARAM)StockFont(), FALSE);
}

TEST_F(StartedForm, SizeAndEndOfSessionTakeTheDefaultCourse) {
    ShowWindow(window, SW_SHOWNOACTIVATE);
    const std::vector<RECT> children = ChildRects(window);
    const FormState state = Form();

    LPARAM size = MAKELPARAM(120, 80);
    EXPECT_EQ(SendMessageW(window, WM_SIZE, SIZE_RESTORED, size),
              DefWindowProcW(window, WM_SIZE, SIZE_RESTORED, size));
    ExpectSameRects(children, ChildRects(window));

    // A real resize keeps the new size and moves no control.
    SetWindowPos(window, NULL, 0, 0, 250, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right - frame.left, 250);
    EXPECT_EQ(frame.bottom - frame.top, 150);
    ExpectSameRects(children, ChildRects(window));

    for (LPARAM reason : {(LPARAM)0, (LPARAM)ENDSESSION_LOGOFF, (LPARAM)ENDSESSION_CLOSEAPP}) {
        SCOPED_TRACE(testing::Message() << "reason " << reason);
        EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, reason), TRUE);
        EXPECT_TRUE(IsWindow(window));
    }
    EXPECT_EQ(Form(), state);
}

// The common controls draw from colours of their own that only this message
// refreshes: a user switching colour schemes must not keep the old lines.
TEST_F(StartedForm, ASystemColourChangeReachesTheSeparatorLines) {
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    const COLORREF before = LineColour(Item(IDC_ACTION_LINE));
    ChangedSystemColours colours;
    ASSERT_TRUE(colours.changed);
    ASSERT_TRUE(colours.IsOld(before)) << std::hex << before;
    PumpMessages();
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (int id : {IDC_ACTION_LINE, IDC_ACTON_LINE, IDC_RELTO_LINE, IDC_OFFSET_LINE}) {
        COLORREF shown = LineColour(Item(id));
        EXPECT_TRUE(colours.IsNew(shown)) << "line " << id << " shows " << std::hex << shown;
    }
}
