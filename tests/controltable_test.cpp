#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "mainwindow/controlids.h"
#include "tests/testwindow.h"

namespace {

struct ExpectedControl {
    int id;
    const wchar_t* className;
    const wchar_t* caption;
    DWORD style;
    int x, y, width, height;
    bool hasFont;
};

const ExpectedControl kExpected[] = {
    {1, L"Button", L"Close", 0x54010F01, 319, 99, 63, 21, true},
    {101, L"Static", L"Action", 0x54000201, 5, 1, 81, 15, true},
    {102, L"Static", L"", 0x54000007, 10, 16, 71, 2, false},
    {103, L"Button", L"Center(Horz)", 0x54030D09, 5, 21, 86, 15, true},
    {104, L"Button", L"Center(Vert)", 0x54000D09, 5, 36, 86, 15, true},
    {105, L"Button", L"Move", 0x54000D09, 5, 51, 86, 15, true},
    {106, L"Button", L"Stretch", 0x54000D09, 5, 66, 86, 15, true},
    {107, L"Static", L"Act On", 0x54000201, 95, 1, 92, 15, true},
    {108, L"Static", L"", 0x54000007, 100, 16, 85, 2, false},
    {109, L"Button", L"Left", 0x54030D09, 95, 21, 60, 15, true},
    {110, L"Button", L"Top", 0x54000D09, 95, 36, 60, 15, true},
    {111, L"Button", L"Right", 0x54000D09, 95, 51, 60, 15, true},
    {112, L"Button", L"Bottom", 0x54000D09, 95, 66, 60, 15, true},
    {113, L"Button", L"Width", 0x54000D09, 95, 81, 60, 15, true},
    {114, L"Button", L"Height", 0x54000D09, 95, 96, 60, 15, true},
    {115, L"Button", L"Control", 0x54000D09, 95, 111, 60, 15, true},
    {116, L"Static", L"Relative To", 0x54000201, 199, 1, 97, 15, true},
    {117, L"Static", L"", 0x54000007, 204, 16, 89, 2, false},
    {118, L"Button", L"Left", 0x54030D09, 199, 21, 60, 15, true},
    {119, L"Button", L"Top", 0x54000D09, 199, 36, 60, 15, true},
    {120, L"Button", L"Right", 0x54000D09, 199, 51, 60, 15, true},
    {121, L"Button", L"Bottom", 0x54000D09, 199, 66, 60, 15, true},
    {122, L"Button", L"Width", 0x54000D09, 199, 81, 60, 15, true},
    {123, L"Button", L"Height", 0x54000D09, 199, 96, 60, 15, true},
    {124, L"Button", L"Control", 0x54000D09, 199, 111, 60, 15, true},
    {125, L"Static", L"Offset", 0x54000201, 307, 1, 81, 15, true},
    {126, L"Static", L"", 0x54000007, 312, 16, 71, 2, false},
    {127, L"Button", L"Offset", 0x54030D09, 307, 21, 86, 15, true},
    {128, L"Button", L"Percent", 0x54000D09, 307, 36, 86, 15, true},
};

// Layout units to pixels, halves away from zero (all values here are positive).
int Scale(int units, int base, int reference) {
    return (2 * units * base + reference) / (2 * reference);
}

std::wstring Text(HWND window) {
    wchar_t buffer[64] = L"";
    GetWindowTextW(window, buffer, 64);
    return buffer;
}

std::wstring ClassOf(HWND window) {
    wchar_t buffer[64] = L"";
    GetClassNameW(window, buffer, 64);
    return buffer;
}

class ControlTable : public MainWindowTest {
  protected:
    ControlTable() {
        started = false;
    }
};

} // namespace

TEST_F(ControlTable, HasTheTwentyNineControlsInCreationOrder) {
    HWND child = GetWindow(window, GW_CHILD);
    for (const ExpectedControl& expected : kExpected) {
        SCOPED_TRACE(expected.id);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(GetDlgCtrlID(child), expected.id);
        EXPECT_EQ(GetParent(child), window);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);
}

TEST_F(ControlTable, GivesEachControlItsClassCaptionAndStyle) {
    for (const ExpectedControl& expected : kExpected) {
        SCOPED_TRACE(expected.id);
        HWND control = Item(expected.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(_wcsicmp(ClassOf(control).c_str(), expected.className), 0);
        EXPECT_EQ(Text(control), expected.caption);
        EXPECT_EQ((DWORD)GetWindowLongW(control, GWL_STYLE), expected.style);
        EXPECT_EQ(GetWindowLongW(control, GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY, 0);
    }
}

TEST_F(ControlTable, PlacesEachControlInLayoutUnitsOfTheMeasuredFont) {
    int baseX, baseY;
    DefaultFontBaseUnits(&baseX, &baseY);
    ASSERT_GT(baseX, 0);
    ASSERT_GT(baseY, 0);
    for (const ExpectedControl& expected : kExpected) {
        SCOPED_TRACE(expected.id);
        RECT rect;
        GetWindowRect(Item(expected.id), &rect);
        MapWindowPoints(NULL, window, (POINT*)&rect, 2);
        EXPECT_EQ(rect.left, Scale(expected.x, baseX, 6));
        EXPECT_EQ(rect.top, Scale(expected.y, baseY, 13));
        EXPECT_EQ(rect.right - rect.left, Scale(expected.width, baseX, 6));
        EXPECT_EQ(rect.bottom - rect.top, Scale(expected.height, baseY, 13));
    }
}

TEST_F(ControlTable, GivesTheWindowFontToAllButTheSeparators) {
    HFONT guiFont = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    for (const ExpectedControl& expected : kExpected) {
        SCOPED_TRACE(expected.id);
        HFONT font = (HFONT)SendMessageW(Item(expected.id), WM_GETFONT, 0, 0);
        EXPECT_EQ(font, expected.hasFont ? guiFont : nullptr);
    }
}

TEST_F(ControlTable, StartsWithEveryControlEnabledVisibleAndUnchecked) {
    for (const ExpectedControl& expected : kExpected) {
        SCOPED_TRACE(expected.id);
        EXPECT_TRUE(IsWindowEnabled(Item(expected.id)));
        EXPECT_TRUE(GetWindowLongW(Item(expected.id), GWL_STYLE) & WS_VISIBLE);
        if (expected.id != IDC_CLOSE && wcscmp(expected.className, L"Button") == 0) {
            EXPECT_EQ(SendMessageW(Item(expected.id), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        }
    }
}
