#include <gtest/gtest.h>
#include <windows.h>
#include "app/placement.h"
#include "tests/support/importpatch.h"

namespace {

// A plain captioned, thin-framed top-level window, hidden.
HWND CreateFramedWindow(DWORD style, HMENU menu) {
    return CreateWindowExW(0, L"Static", L"frame", style, 40, 50, 200, 100, NULL, menu, NULL, NULL);
}

SIZE ClientSize(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

RECT WorkArea() {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// Makes the work area the given rectangle for the guard's life and puts the
// one before back however the test ends; nothing goes to the user's profile.
class WorkAreaGuard {
  public:
    explicit WorkAreaGuard(RECT area) : saved_(WorkArea()) {
        SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, 0);
    }
    ~WorkAreaGuard() {
        SystemParametersInfoW(SPI_SETWORKAREA, 0, &saved_, 0);
    }
    WorkAreaGuard(const WorkAreaGuard&) = delete;
    WorkAreaGuard& operator=(const WorkAreaGuard&) = delete;

  private:
    RECT saved_;
};

decltype(&SystemParametersInfoW) g_realSystemParametersInfoW;

// A work-area query that fails and leaves an area off the screen's middle
// where the answer would be.
BOOL WINAPI FailingWorkAreaQuery(UINT action, UINT param, PVOID value, UINT flags) {
    if (action != SPI_GETWORKAREA)
        return g_realSystemParametersInfoW(action, param, value, flags);
    SetRect((RECT*)value, 90, 50, 500, 400);
    return FALSE;
}

} // namespace

TEST(SetClientSize, GivesExactlyTheRequestedClientAreaWithoutMoving) {
    HWND window = CreateFramedWindow(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER, NULL);
    ASSERT_NE(window, nullptr);
    RECT before;
    GetWindowRect(window, &before);
    SetClientSize(window, 394, 136);
    SIZE size = ClientSize(window);
    EXPECT_EQ(size.cx, 394);
    EXPECT_EQ(size.cy, 136);
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_NE(GetActiveWindow(), window);
    DestroyWindow(window);
}

TEST(SetClientSize, AllowsForScrollBarsAndAMenu) {
    HMENU menu = CreateMenu();
    AppendMenuW(menu, MF_STRING, 1, L"File");
    HWND window =
        CreateFramedWindow(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_HSCROLL | WS_VSCROLL, menu);
    ASSERT_NE(window, nullptr);
    SetClientSize(window, 300, 120);
    RECT client;
    GetClientRect(window, &client);
    // The client rectangle excludes the scroll bars.
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 120);
    DestroyWindow(window);
}

TEST(CenterWindow, PlacesAWindowInTheMiddleOfTheWorkArea) {
    HWND window = CreateFramedWindow(WS_POPUP | WS_CAPTION, NULL);
    ASSERT_NE(window, nullptr);
    SetWindowPos(window, NULL, 0, 0, 301, 151, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(CenterWindow(window, NULL));
    RECT work = WorkArea();
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, work.left + (work.right - work.left - 301) / 2);
    EXPECT_EQ(rect.top, work.top + (work.bottom - work.top - 151) / 2);
    EXPECT_EQ(rect.right - rect.left, 301);
    EXPECT_EQ(rect.bottom - rect.top, 151);
    DestroyWindow(window);
}

TEST(CenterWindow, CentresOnTheWorkAreaNotOnTheScreen) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    // Taskbars at the left and at the top move the middle in both directions.
    WorkAreaGuard taskbars({90, 50, screenWidth, screenHeight});
    RECT work = WorkArea();
    POINT middle = {work.left + (work.right - work.left - 301) / 2,
                    work.top + (work.bottom - work.top - 151) / 2};
    ASSERT_NE(middle.x, (screenWidth - 301) / 2) << "the work area was not changed";
    ASSERT_NE(middle.y, (screenHeight - 151) / 2);
    HWND window = CreateFramedWindow(WS_POPUP | WS_CAPTION, NULL);
    ASSERT_NE(window, nullptr);
    SetWindowPos(window, NULL, 0, 0, 301, 151, SWP_NOMOVE | SWP_NOZORDER);

    EXPECT_TRUE(CenterWindow(window, NULL));
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, middle.x);
    EXPECT_EQ(rect.top, middle.y);
    DestroyWindow(window);
}

TEST(CenterWindow, CentresOnTheWholeScreenWhenTheWorkAreaIsUnknown) {
    HWND window = CreateFramedWindow(WS_POPUP | WS_CAPTION, NULL);
    ASSERT_NE(window, nullptr);
    SetWindowPos(window, NULL, 0, 0, 301, 151, SWP_NOMOVE | SWP_NOZORDER);
    {
        ImportPatch failing("user32.dll", "SystemParametersInfoW", (void*)FailingWorkAreaQuery);
        g_realSystemParametersInfoW = (decltype(&SystemParametersInfoW))failing.Original();
        ASSERT_NE(g_realSystemParametersInfoW, nullptr);
        EXPECT_TRUE(CenterWindow(window, NULL));
    }
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 301) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 151) / 2);
    DestroyWindow(window);
}

TEST(CenterWindow, KeepsALargerWindowAtTheWorkAreasTopLeft) {
    HWND window = CreateFramedWindow(WS_POPUP | WS_CAPTION, NULL);
    ASSERT_NE(window, nullptr);
    RECT work = WorkArea();
    SetWindowPos(window, NULL, 0, 0, work.right - work.left + 200, work.bottom - work.top + 100,
                 SWP_NOMOVE | SWP_NOZORDER);
    CenterWindow(window, NULL);
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, work.left);
    EXPECT_EQ(rect.top, work.top);
    DestroyWindow(window);
}

TEST(CenterWindow, CentresAChildOnItsParentInClientCoordinates) {
    HWND parent = CreateFramedWindow(WS_POPUP, NULL);
    ASSERT_NE(parent, nullptr);
    SetWindowPos(parent, NULL, 100, 80, 400, 300, SWP_NOZORDER);
    HWND child =
        CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 100, 50, parent, NULL, NULL, NULL);
    ASSERT_NE(child, nullptr);
    CenterWindow(child, parent);
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(NULL, parent, (POINT*)&rect, 2);
    EXPECT_EQ(rect.left, 150);
    EXPECT_EQ(rect.top, 125);
    DestroyWindow(parent);
}
