#include "tests/support/watchdog.h"
#include <stdio.h>

StepWatchdog::StepWatchdog(DWORD stepTimeoutMs)
    : step_("the test before its first step"), timeoutMs_(stepTimeoutMs) {
    InitializeCriticalSection(&lock_);
    stepped_ = CreateEventW(NULL, FALSE, FALSE, NULL);
    stop_ = CreateEventW(NULL, TRUE, FALSE, NULL);
    thread_ = CreateThread(NULL, 0, Watch, this, 0, NULL);
}

StepWatchdog::~StepWatchdog() {
    SetEvent(stop_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(stop_);
    CloseHandle(stepped_);
    DeleteCriticalSection(&lock_);
}

void StepWatchdog::Step(const std::string& what) {
    EnterCriticalSection(&lock_);
    step_ = what;
    LeaveCriticalSection(&lock_);
    SetEvent(stepped_);
}

DWORD WINAPI StepWatchdog::Watch(void* self) {
    StepWatchdog* watchdog = (StepWatchdog*)self;
    HANDLE events[] = {watchdog->stop_, watchdog->stepped_};
    for (;;) {
        DWORD woken = WaitForMultipleObjects(2, events, FALSE, watchdog->timeoutMs_);
        if (woken == WAIT_OBJECT_0)
            return 0;
        if (woken != WAIT_TIMEOUT)
            continue;
        EnterCriticalSection(&watchdog->lock_);
        fprintf(stderr, "Failure: %s did not come back within %lu ms; the test ends here\n",
                watchdog->step_.c_str(), (unsigned long)watchdog->timeoutMs_);
        fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 1);
    }
}
