#include "app/messageloop.h"
#include "app/dialogwindow.h"
#include "app/extensionpoints.h"

void RunMessageLoop(HWND mainWindow, MSG* message) {
    while (GetMessageW(message, NULL, 0, 0) > 0) {
        if (OnPreTranslateMessage(mainWindow, message))
            continue;
        HWND dialog = FindDialogWindow(GetFocus());
        if (dialog && IsDialogMessageW(dialog, message))
            continue;
        TranslateMessage(message);
        DispatchMessageW(message);
    }
}
