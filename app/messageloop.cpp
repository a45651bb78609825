#include "app/messageloop.h"
#include "app/dialogwindow.h"
#include "app/extensionpoints.h"

void HandleLoopMessage(HWND mainWindow, MSG* message) {
    if (OnPreTranslateMessage(mainWindow, message))
        return;
    HWND dialog = FindDialogWindow(GetFocus());
    if (dialog && IsDialogMessageW(dialog, message))
        return;
    TranslateMessage(message);
    DispatchMessageW(message);
}

BOOL RunMessageLoop(HWND mainWindow, MSG* message) {
    BOOL got;
    while ((got = GetMessageW(message, NULL, 0, 0)) > 0)
        HandleLoopMessage(mainWindow, message);
    return got == 0;
}
