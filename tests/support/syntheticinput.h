#pragma once
#include <windows.h>

// Real keyboard and mouse input through the system's input queue (SendInput),
// which delivers it like the user's own devices: keys go to the foreground
// window's focus, mouse buttons to the window under the pointer.

// Presses and releases one key.
void PressKey(WORD key);
// Holds the modifier down around a press of the key (Shift+Tab, Alt+F4).
void PressKeyWith(WORD modifier, WORD key);
// Presses, or lets go of, one key.
void HoldKey(WORD key);
void ReleaseKey(WORD key);

// Moves the pointer to a point on the screen.
void MoveMouseTo(POINT screen);
// Moves the pointer to the screen's bottom-right corner, where no test puts a
// window. Under Wine a window that appears under the pointer hears of it from
// X later and then replays the pointer's position and resets the keys held.
void ParkMouse();
// Moves there and presses, or releases, the left button.
void PressLeftButtonAt(POINT screen);
void ReleaseLeftButtonAt(POINT screen);
// Moves there and clicks the left button.
void ClickAt(POINT screen);
