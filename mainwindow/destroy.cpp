#include "mainwindow/destroy.h"
#include "dialogkeys/focusrecord.h"
#include "mainwindow/formhooks.h"
#include "mainwindow/windowfont.h"

LRESULT HandleDestroy(HWND window) {
    ReleaseWindowFont(window);
    KeyboardFocusRecord* record = DetachFocusRecord(window);
    int exitCode = 0;
    OnFormDestroy(window, &exitCode);
    FreeFocusRecord(record);
    PostQuitMessage(exitCode);
    return 0;
}
