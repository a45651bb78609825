// Keeps a Wine virtual desktop open for a whole test run. Wine closes a
// virtual desktop once no program uses it and opens it again for the next
// one, which costs seconds per test program; this program uses it and waits
// until the session ends it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    GetDesktopWindow();
    Sleep(INFINITE);
    return 0;
}
