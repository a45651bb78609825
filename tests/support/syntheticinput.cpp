#include "tests/support/syntheticinput.h"

namespace {

INPUT KeyInput(WORD key, bool release) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = (WORD)MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Absolute coordinates run from 0 to 65535 across the primary screen; aim at
// the middle of the pixel so either rounding lands on it.
LONG Normalised(LONG pixel, int screenSize) {
    return (LONG)(((2LL * pixel + 1) * 65536) / (2LL * screenSize));
}

INPUT MouseInput(POINT screen, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = Normalised(screen.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = Normalised(screen.y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    return input;
}

} // namespace

void PressKey(WORD key) {
    INPUT inputs[] = {KeyInput(key, false), KeyInput(key, true)};
    SendInput(2, inputs, sizeof(INPUT));
}

void PressKeyWith(WORD modifier, WORD key) {
    INPUT inputs[] = {KeyInput(modifier, false), KeyInput(key, false), KeyInput(key, true),
                      KeyInput(modifier, true)};
    SendInput(4, inputs, sizeof(INPUT));
}

void HoldKey(WORD key) {
    INPUT input = KeyInput(key, false);
    SendInput(1, &input, sizeof(INPUT));
}

void ReleaseKey(WORD key) {
    INPUT input = KeyInput(key, true);
    SendInput(1, &input, sizeof(INPUT));
}

void MoveMouseTo(POINT screen) {
    INPUT input = MouseInput(screen, 0);
    SendInput(1, &input, sizeof(INPUT));
}

void ParkMouse() {
    MoveMouseTo({GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
}

void PressLeftButtonAt(POINT screen) {
    INPUT inputs[] = {MouseInput(screen, 0), MouseInput(screen, MOUSEEVENTF_LEFTDOWN)};
    SendInput(2, inputs, sizeof(INPUT));
}

void ReleaseLeftButtonAt(POINT screen) {
    INPUT inputs[] = {MouseInput(screen, 0), MouseInput(screen, MOUSEEVENTF_LEFTUP)};
    SendInput(2, inputs, sizeof(INPUT));
}

void ClickAt(POINT screen) {
    INPUT inputs[] = {MouseInput(screen, 0), MouseInput(screen, MOUSEEVENTF_LEFTDOWN),
                      MouseInput(screen, MOUSEEVENTF_LEFTUP)};
    SendInput(3, inputs, sizeof(INPUT));
}
