#include "app/dialogwindow.h"

HWND FindDialogWindow(HWND window) {
    for (;;) {
        if (!(GetWindowLongW(window, GWL_STYLE) & WS_CHILD))
            return window;
        if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_MDICHILD)
            return window;
        window = GetParent(window);
    }
}
