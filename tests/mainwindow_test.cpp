#include <gtest/gtest.h>
#include <windows.h>
#include "app/dialogwindow.h"
#include "app/mainwindowclass.h"
#include "mainwindow/controlids.h"
#include "tests/testwindow.h"

namespace {

class CreatedWindow : public MainWindowTest {
  protected:
    CreatedWindow() {
        started = false;
    }
};

} // namespace

TEST_F(CreatedWindow, IsOfTheRegisteredClass) {
    WNDCLASSEXW info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(NULL), L"Quillmar_Tessary_Class", &info));
    EXPECT_EQ(info.style, (UINT)CS_DBLCLKS);
    EXPECT_EQ(info.cbClsExtra, 0);
    EXPECT_EQ(info.cbWndExtra, 0);
    EXPECT_EQ(info.hbrBackground, (HBRUSH)(COLOR_BTNFACE + 1));
    EXPECT_EQ(info.hCursor, LoadCursorW(NULL, IDC_ARROW));
    EXPECT_EQ(info.lpszMenuName, nullptr);
    EXPECT_NE(info.hIcon, nullptr);
    EXPECT_EQ((HICON)GetClassLongPtrW(window, GCLP_HICON),
              LoadIconW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(101)));
    EXPECT_EQ((WNDPROC)GetClassLongPtrW(window, GCLP_WNDPROC), info.lpfnWndProc);
}

TEST_F(CreatedWindow, IsAHiddenTopmostCaptionedPopup) {
    DWORD style = (DWORD)GetWindowLongW(window, GWL_STYLE);
    DWORD wanted = WS_POPUP | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(style & (WS_VISIBLE | WS_CHILD | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              0u);
    DWORD exStyle = (DWORD)GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_EQ(exStyle & (WS_EX_TOPMOST | WS_EX_WINDOWEDGE),
              (DWORD)(WS_EX_TOPMOST | WS_EX_WINDOWEDGE));
    wchar_t title[64] = L"";
    GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"Ferrolyn Tessary");
    EXPECT_EQ(GetParent(window), nullptr);
}

TEST_F(CreatedWindow, HasAClientAreaOf394By136LayoutUnits) {
    int baseX, baseY;
    DefaultFontBaseUnits(&baseX, &baseY);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, (394 * baseX * 2 + 6) / 12);
    EXPECT_EQ(client.bottom, (136 * baseY * 2 + 13) / 26);
}

TEST_F(CreatedWindow, IsItsOwnDialogWindowAndThatOfEveryControl) {
    EXPECT_EQ(FindDialogWindow(window), window);
    EXPECT_EQ(FindDialogWindow(NULL), nullptr);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        EXPECT_EQ(FindDialogWindow(child), window);
}

TEST_F(CreatedWindow, StopsAtAnMdiChild) {
    // The main window serves as the frame: a search that passes the MDI child
    // by ends there.
    WNDCLASSW childClass = {};
    childClass.lpfnWndProc = DefMDIChildProcW;
    childClass.hInstance = GetModuleHandleW(NULL);
    childClass.lpszClassName = L"TessaryTestMdiChild";
    RegisterClassW(&childClass);
    CLIENTCREATESTRUCT clientInfo = {NULL, 1000};
    HWND client = CreateWindowExW(0, L"MDICLIENT", L"", WS_CHILD, 0, 0, 200, 100, window, NULL,
                                  childClass.hInstance, &clientInfo);
    ASSERT_NE(client, nullptr);
    MDICREATESTRUCTW childInfo = {
        childClass.lpszClassName, L"", childClass.hInstance, 0, 0, 100, 80, 0, 0};
    HWND child = (HWND)SendMessageW(client, WM_MDICREATE, 0, (LPARAM)&childInfo);
    ASSERT_NE(child, nullptr);
    ASSERT_TRUE(GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_MDICHILD);
    HWND control =
        CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 5, 5, child, NULL, NULL, NULL);
    ASSERT_NE(control, nullptr);

    EXPECT_EQ(FindDialogWindow(control), child);
    EXPECT_NE(FindDialogWindow(control), window);
}

TEST_F(CreatedWindow, AnswersTheCloseButtonAsDefault) {
    EXPECT_EQ(SendMessageW(window, DM_GETDEFID, 0, 0), MAKELONG(IDC_CLOSE, DC_HASDEFID));
}

TEST_F(CreatedWindow, HoldsTheStockGuiFont) {
    EXPECT_EQ((HFONT)SendMessageW(window, WM_GETFONT, 0, 0), GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(CreatedWindow, SetFontReplacesOnlyTheWindowsOwnFont) {
    HFONT guiFont = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    HFONT other = (HFONT)GetStockObject(SYSTEM_FONT);
    RECT before;
    GetWindowRect(Item(IDC_MOVE), &before);

    EXPECT_EQ((HFONT)SendMessageW(window, WM_SETFONT, (WPARAM)other, 0), guiFont);
    EXPECT_EQ((HFONT)SendMessageW(window, WM_GETFONT, 0, 0), other);
    EXPECT_EQ((HFONT)SendMessageW(Item(IDC_MOVE), WM_GETFONT, 0, 0), guiFont);
    RECT after;
    GetWindowRect(Item(IDC_MOVE), &after);
    EXPECT_TRUE(EqualRect(&before, &after));

    // The window owns whatever font it holds at the end; give it back the stock one.
    EXPECT_EQ((HFONT)SendMessageW(window, WM_SETFONT, (WPARAM)guiFont, 1), other);
}
