#include "tests/programloop.h"
#include "app/messageloop.h"
#include "tests/focushelpers.h"

namespace {

LPARAM KeyParam(WORD key, bool release) {
    LPARAM param = 1 | (LPARAM)(MapVirtualKeyW(key, MAPVK_VK_TO_VSC) << 16);
    if (key >= VK_PRIOR && key <= VK_DOWN)
        param |= 1 << 24; // the arrows are extended keys
    if (release)
        param |= (LPARAM)0xC0000000;
    return param;
}

void HoldShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

} // namespace

// Keys go to the focus, which only an active window has.
void ProgramLoopTest::SetUp() {
    MainWindowTest::SetUp();
    ASSERT_TRUE(ShowAndActivate(window));
}

void ProgramLoopTest::Reopen() {
    quitPosted = false;
    SetUp();
}

void ProgramLoopTest::PumpLikeTheProgram() {
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitPosted = true;
            exitCode = message.wParam;
            continue;
        }
        HandleLoopMessage(window, &message);
    }
}

void ProgramLoopTest::PressKey(DialogKey key) {
    const DialogKeyStroke& stroke = StrokeOf(key);
    if (stroke.withShift) {
        HoldShift(true);
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_SHIFT, KeyParam(VK_SHIFT, false));
    }
    PostMessageW(GetFocus(), WM_KEYDOWN, stroke.virtualKey, KeyParam(stroke.virtualKey, false));
    PumpLikeTheProgram();
    PostMessageW(GetFocus(), WM_KEYUP, stroke.virtualKey, KeyParam(stroke.virtualKey, true));
    PumpLikeTheProgram();
    if (stroke.withShift) {
        PostMessageW(GetFocus(), WM_KEYUP, VK_SHIFT, KeyParam(VK_SHIFT, true));
        PumpLikeTheProgram();
        HoldShift(false);
    }
}

std::string ProgramLoopTest::FormProblems(const RuleModel& expected) const {
    FormState shown = Form();
    HWND focus = GetFocus();
    std::string problems =
        ModelProblems(expected, shown, window, focus, SendMessageW(window, DM_GETDEFID, 0, 0));
    // A click that a program sends to a disabled button may leave a state
    // outside the rules, as the model knows; any other state must be a rule.
    if (RuleProblems(expected.State()).empty())
        problems += RuleProblems(shown);
    return problems + FocusProblems(window, focus);
}
