#include "tests/testwindow.h"
#include <wchar.h>
#include "app/extensionpoints.h"
#include "app/instance.h"
#include "app/fontmetrics.h"
#include "app/mainwindowclass.h"

HWND CreateTestMainWindow() {
    g_instance = GetModuleHandleW(NULL);
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExW(g_instance, TESSARY_CLASS_NAME, &existing))
        RegisterMainWindowClass(g_instance);
    return CreateMainWindow(g_instance);
}

void DestroyTestMainWindow(HWND window) {
    if (IsWindow(window))
        DestroyWindow(window);
    PumpMessages();
}

static BOOL CALLBACK StopAtMainWindow(HWND window, LPARAM found) {
    wchar_t className[64] = L"";
    GetClassNameW(window, className, 64);
    if (wcscmp(className, TESSARY_CLASS_NAME) != 0)
        return TRUE;
    *(HWND*)found = window;
    return FALSE;
}

HWND MainWindowOfThisThread() {
    HWND found = NULL;
    EnumThreadWindows(GetCurrentThreadId(), StopAtMainWindow, (LPARAM)&found);
    return found;
}

void DefaultFontBaseUnits(int* baseX, int* baseY) {
    GetFontBaseUnits((HFONT)GetStockObject(DEFAULT_GUI_FONT), baseX, baseY);
}

void MainWindowTest::SetUp() {
    window = CreateTestMainWindow();
    ASSERT_NE(window, nullptr);
    reader = FormReader(window);
    if (started)
        OnMainWindowCreated(window, const_cast<LPWSTR>(L""));
}

void MainWindowTest::TearDown() {
    DestroyTestMainWindow(window);
}

bool MainWindowTest::IsChecked(int id) const {
    return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool MainWindowTest::IsEnabled(int id) const {
    return IsWindowEnabled(Item(id)) != FALSE;
}
