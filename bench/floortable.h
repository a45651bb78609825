#pragma once
#include <windows.h>

// The form's 29 controls as the floor creates them: the program's classes,
// captions, identifiers, styles and rectangles in layout units, written out
// here so that the floor runs none of the program's own code to get them.
struct FloorControl {
    WORD id;
    const WCHAR* className;
    const WCHAR* caption;
    DWORD style;
    short x, y, width, height;
    bool takesFont;
};

enum : DWORD {
    kFloorCloseStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_CENTER |
                       BS_VCENTER | BS_DEFPUSHBUTTON,
    kFloorHeadingStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_CENTERIMAGE | SS_CENTER,
    kFloorLineStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_BLACKFRAME,
    kFloorRadioStyle =
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_VCENTER | BS_LEFT | BS_AUTORADIOBUTTON,
    kFloorFirstRadioStyle = kFloorRadioStyle | WS_GROUP | WS_TABSTOP,
};

enum { kFloorControlCount = 29 };

// The two radio buttons of the first column that the benchmark clicks in turn.
enum { kFloorRadioA = 105, kFloorRadioB = 106 };

inline constexpr WCHAR kFloorButton[] = L"Button";
inline constexpr WCHAR kFloorStatic[] = L"Static";

inline constexpr FloorControl kFloorControls[kFloorControlCount] = {
    {1, kFloorButton, L"Close", kFloorCloseStyle, 319, 99, 63, 21, true},
    {101, kFloorStatic, L"Action", kFloorHeadingStyle, 5, 1, 81, 15, true},
    {102, kFloorStatic, L"", kFloorLineStyle, 10, 16, 71, 2, false},
    {103, kFloorButton, L"Center(Horz)", kFloorFirstRadioStyle, 5, 21, 86, 15, true},
    {104, kFloorButton, L"Center(Vert)", kFloorRadioStyle, 5, 36, 86, 15, true},
    {105, kFloorButton, L"Move", kFloorRadioStyle, 5, 51, 86, 15, true},
    {106, kFloorButton, L"Stretch", kFloorRadioStyle, 5, 66, 86, 15, true},
    {107, kFloorStatic, L"Act On", kFloorHeadingStyle, 95, 1, 92, 15, true},
    {108, kFloorStatic, L"", kFloorLineStyle, 100, 16, 85, 2, false},
    {109, kFloorButton, L"Left", kFloorFirstRadioStyle, 95, 21, 60, 15, true},
    {110, kFloorButton, L"Top", kFloorRadioStyle, 95, 36, 60, 15, true},
    {111, kFloorButton, L"Right", kFloorRadioStyle, 95, 51, 60, 15, true},
    {112, kFloorButton, L"Bottom", kFloorRadioStyle, 95, 66, 60, 15, true},
    {113, kFloorButton, L"Width", kFloorRadioStyle, 95, 81, 60, 15, true},
    {114, kFloorButton, L"Height", kFloorRadioStyle, 95, 96, 60, 15, true},
    {115, kFloorButton, L"Control", kFloorRadioStyle, 95, 111, 60, 15, true},
    {116, kFloorStatic, L"Relative To", kFloorHeadingStyle, 199, 1, 97, 15, true},
    {117, kFloorStatic, L"", kFloorLineStyle, 204, 16, 89, 2, false},
    {118, kFloorButton, L"Left", kFloorFirstRadioStyle, 199, 21, 60, 15, true},
    {119, kFloorButton, L"Top", kFloorRadioStyle, 199, 36, 60, 15, true},
    {120, kFloorButton, L"Right", kFloorRadioStyle, 199, 51, 60, 15, true},
    {121, kFloorButton, L"Bottom", kFloorRadioStyle, 199, 66, 60, 15, true},
    {122, kFloorButton, L"Width", kFloorRadioStyle, 199, 81, 60, 15, true},
    {123, kFloorButton, L"Height", kFloorRadioStyle, 199, 96, 60, 15, true},
    {124, kFloorButton, L"Control", kFloorRadioStyle, 199, 111, 60, 15, true},
    {125, kFloorStatic, L"Offset", kFloorHeadingStyle, 307, 1, 81, 15, true},
    {126, kFloorStatic, L"", kFloorLineStyle, 312, 16, 71, 2, false},
    {127, kFloorButton, L"Offset", kFloorFirstRadioStyle, 307, 21, 86, 15, true},
    {128, kFloorButton, L"Percent", kFloorRadioStyle, 307, 36, 86, 15, true},
};
