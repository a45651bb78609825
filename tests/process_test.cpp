#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "tests/programprocess.h"

namespace {

// A started copy of the program, ended at the end of the test whatever happens.
class ProgramRun : public ::testing::Test {
  protected:
    void TearDown() override {
        if (process.hProcess) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(process.hProcess, 99);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
    }
    PROCESS_INFORMATION process = {};
};

// Wine takes a per-program Windows version from the registry.
void SetWineVersionFor(const std::wstring& exeName, const wchar_t* version) {
    std::wstring key = L"Software\\Wine\\AppDefaults\\" + exeName;
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Version", REG_SZ, version,
                    (DWORD)((wcslen(version) + 1) * sizeof(wchar_t)));
}

std::wstring TempCopyOfProgram(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::wstring copy = std::wstring(folder) + name;
    CopyFileW(ProgramPath().c_str(), copy.c_str(), FALSE);
    return copy;
}

} // namespace

TEST_F(ProgramRun, ShowsItsWindowAndExitsWithZeroOnClose) {
    ASSERT_TRUE(StartProgram(ProgramPath(), &process));
    HWND window = WaitForMainWindow(process.dwProcessId, 20000);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Centred on the primary work area.
    RECT rect, work;
    GetWindowRect(window, &rect);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(rect.left, work.left + (work.right - work.left - (rect.right - rect.left)) / 2);
    EXPECT_EQ(rect.top, work.top + (work.bottom - work.top - (rect.bottom - rect.top)) / 2);

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExitCode(process.hProcess, 20000), 0u);
}

TEST_F(ProgramRun, ShowsItsWindowWithTheStartupShowCommand) {
    ASSERT_TRUE(StartProgram(ProgramPath(), &process, SW_SHOWMINNOACTIVE));
    HWND window = WaitForMainWindow(process.dwProcessId, 20000);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsIconic(window));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExitCode(process.hProcess, 20000), 0u);
}

TEST_F(ProgramRun, StartsWithCenterHorzChosenAndTheDefaultLookOnClose) {
    ASSERT_TRUE(StartProgram(ProgramPath(), &process));
    HWND window = WaitForMainWindow(process.dwProcessId, 20000);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsIconic(window));
    const int checked[] = {103, 115, 124, 127};
    for (int id : checked)
        EXPECT_EQ(SendMessageW(GetDlgItem(window, id), BM_GETCHECK, 0, 0), BST_CHECKED) << id;
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(window, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExitCode(process.hProcess, 20000), 0u);
}

TEST_F(ProgramRun, RefusesAPlatformOutsideTheNtFamily) {
    std::wstring copy = TempCopyOfProgram(L"tessary-win98.exe");
    SetWineVersionFor(L"tessary-win98.exe", L"win98");
    ASSERT_TRUE(StartProgram(copy, &process));

    HWND box = WaitForProcessWindow(process.dwProcessId, L"#32770", 20000);
    ASSERT_NE(box, nullptr);
    bool saysWin98 = false;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[64] = L"";
        GetWindowTextW(child, text, 64);
        saysWin98 = saysWin98 || wcscmp(text, L"Win98 No Support") == 0;
    }
    EXPECT_TRUE(saysWin98);
    EXPECT_EQ(WaitForProcessWindow(process.dwProcessId, L"Quillmar_Tessary_Class", 0), nullptr);

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(WaitForExitCode(process.hProcess, 20000), 255u);
    DeleteFileW(copy.c_str());
}

TEST(ManyInstances, RunSideBySideAndEachClosesWithZero) {
    const int kCopies = 4;
    PROCESS_INFORMATION copies[kCopies] = {};
    for (PROCESS_INFORMATION& copy : copies)
        ASSERT_TRUE(StartProgram(ProgramPath(), &copy));
    HWND windows[kCopies] = {};
    for (int i = 0; i < kCopies; ++i) {
        windows[i] = WaitForMainWindow(copies[i].dwProcessId, 20000);
        EXPECT_NE(windows[i], nullptr) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(windows[i], windows[j]);
    }
    // Each answers on its own: a click in one leaves the others alone.
    SendMessageW(GetDlgItem(windows[0], 105), BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(GetDlgItem(windows[0], 109), BM_GETCHECK, 0, 0), BST_CHECKED);
    for (int i = 1; i < kCopies; ++i)
        EXPECT_EQ(SendMessageW(GetDlgItem(windows[i], 115), BM_GETCHECK, 0, 0), BST_CHECKED);
    for (int i = 0; i < kCopies; ++i) {
        PostMessageW(windows[i], WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForExitCode(copies[i].hProcess, 20000), 0u) << i;
        TerminateProcess(copies[i].hProcess, 99);
        CloseHandle(copies[i].hProcess);
        CloseHandle(copies[i].hThread);
    }
}
