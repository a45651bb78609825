#pragma once
#include <windows.h>

// The floor: the program's window class fields, window styles and client
// size, its 29 controls with their classes, styles, rectangles and font, and
// in place of the program's logic a replay of what that logic calls on the
// controls (bench/replay.h).

#define FLOOR_CLASS_NAME L"Tessary_Floor_Class"

struct Replay;

ATOM RegisterFloorClass(HINSTANCE instance);

// Created hidden and centred on the work area, then "Center(Horz)" is
// clicked, as the program clicks it at start-up, with the replay of the
// program's start-up click playing; NULL when the window cannot be created
// or the replay read.
HWND CreateFloorWindow(HINSTANCE instance, const WCHAR* startupReplay);

// The replay that the floor's next click notifications play, from its start;
// NULL for none.
void SetFloorReplay(HWND floor, Replay* replay);
