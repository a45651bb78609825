#pragma once
#include <windows.h>
#include <map>
#include <string>

// The messages sent to the windows of this thread, counted with a
// WH_CALLWNDPROC hook between StartMessageTally and StopMessageTally.
struct MessageTally {
    int total = 0;
    int toMainWindow = 0;
    std::map<UINT, int> byMessage;
    // By the control identifier of the window sent to; 0 for the main window.
    std::map<int, int> byControl;

    void Add(const MessageTally& other);
};

bool StartMessageTally(HWND mainWindow);
MessageTally StopMessageTally();

// "BM_GETCHECK" and the like, or the number in hexadecimal.
std::string MessageName(UINT message);
