#pragma once
#include <windows.h>
#include <functional>

// This thread's own messages, for the tests and the benchmark, which run no
// message loop of their own: activation across threads and a click on a
// window of this thread arrive through the queue.

// Handles every message queued for this thread, until the queue is empty.
void PumpMessages();

// Handles them until done() holds or timeoutMs has passed, looking again
// every 10 ms; says whether done() holds. It handles the queue at least
// once, even with no time at all.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
