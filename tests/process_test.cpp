#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "mainwindow/controlids.h"
#include "tests/support/formstate.h"
#include "tests/support/programprocess.h"
#include "tests/support/rulemodel.h"

namespace {

const DWORD kTimeoutMs = 10000;

// Only Wine can make a program see a platform outside the NT family: it
// takes a per-program Windows version from the registry.
bool RunsUnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

void SetWineVersionFor(const std::wstring& exeName, const wchar_t* version) {
    std::wstring key = L"Software\\Wine\\AppDefaults\\" + exeName;
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Version", REG_SZ, version,
                    (DWORD)((wcslen(version) + 1) * sizeof(wchar_t)));
}

// Empty when the copy cannot be made, e.g. while an earlier run of it still runs.
std::wstring TempCopyOfProgram(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::wstring copy = std::wstring(folder) + name;
    if (!CopyFileW(ProgramPath().c_str(), copy.c_str(), FALSE))
        return std::wstring();
    return copy;
}

bool LooksDefault(HWND button) {
    return (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

} // namespace

TEST(ProgramRun, ShowsItsWindowCentredOnTopAndExitsWithZeroOnClose) {
    StartedProgram program;
    ASSERT_TRUE(program.Start(ProgramPath())) << "TESSARY_EXE names no program";
    HWND window = program.WaitForMainWindow(kTimeoutMs);
    ASSERT_NE(window, nullptr) << program.Missing("main window", kTimeoutMs);
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

    RECT rect, work;
    GetWindowRect(window, &rect);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(rect.left, work.left + (work.right - work.left - (rect.right - rect.left)) / 2);
    EXPECT_EQ(rect.top, work.top + (work.bottom - work.top - (rect.bottom - rect.top)) / 2);

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(kTimeoutMs), 0u) << "the program " << program.State();
}

TEST(ProgramRun, ShowsItsWindowWithTheStartupShowCommand) {
    StartedProgram program;
    ASSERT_TRUE(program.Start(ProgramPath(), SW_SHOWMINNOACTIVE));
    HWND window = program.WaitForMainWindow(kTimeoutMs);
    ASSERT_NE(window, nullptr) << program.Missing("main window", kTimeoutMs);
    EXPECT_TRUE(IsIconic(window));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(kTimeoutMs), 0u) << "the program " << program.State();
}

TEST(ProgramRun, StartsWithCenterHorzChosenAndTheDefaultLookOnClose) {
    StartedProgram program;
    ASSERT_TRUE(program.Start(ProgramPath()));
    HWND window = program.WaitForMainWindow(kTimeoutMs);
    ASSERT_NE(window, nullptr) << program.Missing("main window", kTimeoutMs);
    EXPECT_FALSE(IsIconic(window));
    EXPECT_EQ(ReadFormState(window), RuleModel::Started().State());
    EXPECT_TRUE(LooksDefault(GetDlgItem(window, IDOK)));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(kTimeoutMs), 0u) << "the program " << program.State();
}

TEST(ProgramRun, RefusesAPlatformOutsideTheNtFamily) {
    if (!RunsUnderWine())
        GTEST_SKIP() << "only Wine can present a platform outside the NT family";
    std::wstring copy = TempCopyOfProgram(L"tessary-win98.exe");
    ASSERT_FALSE(copy.empty()) << "cannot copy the program to tessary-win98.exe (error "
                               << GetLastError() << ")";
    SetWineVersionFor(L"tessary-win98.exe", L"win98");
    StartedProgram program;
    ASSERT_TRUE(program.Start(copy));

    HWND box = program.WaitForWindow(L"#32770", kTimeoutMs);
    ASSERT_NE(box, nullptr) << program.Missing("message box", kTimeoutMs);
    bool saysWin98 = false;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[64] = L"";
        GetWindowTextW(child, text, 64);
        saysWin98 = saysWin98 || wcscmp(text, L"Win98 No Support") == 0;
    }
    EXPECT_TRUE(saysWin98);
    EXPECT_EQ(program.WaitForWindow(L"Quillmar_Tessary_Class", 0), nullptr);

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(program.WaitForExit(kTimeoutMs), 255u) << "the program " << program.State();
    DeleteFileW(copy.c_str());
}

TEST(ManyInstances, RunSideBySideAndEachClosesWithZero) {
    const int kCopies = 4;
    StartedProgram copies[kCopies];
    HWND windows[kCopies] = {};
    for (int i = 0; i < kCopies; ++i) {
        ASSERT_TRUE(copies[i].Start(ProgramPath()));
        windows[i] = copies[i].WaitForMainWindow(kTimeoutMs);
        ASSERT_NE(windows[i], nullptr)
            << copies[i].Missing("main window of copy " + std::to_string(i), kTimeoutMs);
        for (int j = 0; j < i; ++j)
            EXPECT_NE(windows[i], windows[j]);
    }
    // Each answers on its own: a click in one leaves the others alone.
    RuleModel moved = RuleModel::Started();
    moved.Click(OptionFromControlId(IDC_MOVE));
    SendMessageW(GetDlgItem(windows[0], IDC_MOVE), BM_CLICK, 0, 0);
    EXPECT_EQ(ReadFormState(windows[0]), moved.State());
    for (int i = 1; i < kCopies; ++i)
        EXPECT_EQ(ReadFormState(windows[i]), RuleModel::Started().State()) << i;
    for (int i = 0; i < kCopies; ++i) {
        PostMessageW(windows[i], WM_CLOSE, 0, 0);
        EXPECT_EQ(copies[i].WaitForExit(kTimeoutMs), 0u)
            << "copy " << i << " " << copies[i].State();
    }
}
