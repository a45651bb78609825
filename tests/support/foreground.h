#pragma once
#include <windows.h>
#include <functional>
#include <string>

// Makes the window the foreground window and the active window of its
// thread, in the ways Windows allows. Windows grants SetForegroundWindow only
// to a process that is in the foreground, was started by it, or received the
// last input event (input it sends with SendInput counts), among a few more;
// on a build server a console holds the foreground and the request is
// refused. Wine grants every request. The steps, each checked before the next:
//   1. SetForegroundWindow;
//   2. an input event of our own, then SetForegroundWindow again;
//   3. a real click on the window's caption, which always activates it.
// `also`, when given, must hold besides (the asking thread having seen its
// own window lose the activation, say). TESSARY_FOREGROUND_STEP=2 or 3 starts
// at that step, to try the later ones where the first never fails.
// Empty once it is there, else why not: "the window never became the
// foreground window: SetForegroundWindow refused, ...".
std::string TakeForeground(HWND window, const std::function<bool()>& also = nullptr);
