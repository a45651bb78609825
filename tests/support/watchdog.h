#pragma once
#include <windows.h>
#include <string>

// A deadline for each step of a test that calls a window procedure on its own
// thread: such a call cannot be abandoned, so when a step outlives its
// deadline the watchdog writes what the step was and ends the process with a
// failure instead of leaving it to CTest's time-out.
class StepWatchdog {
  public:
    explicit StepWatchdog(DWORD stepTimeoutMs);
    ~StepWatchdog();
    StepWatchdog(const StepWatchdog&) = delete;
    StepWatchdog& operator=(const StepWatchdog&) = delete;

    // Starts a step; its deadline runs from now.
    void Step(const std::string& what);

  private:
    static DWORD WINAPI Watch(void* self);

    CRITICAL_SECTION lock_;
    std::string step_;
    DWORD timeoutMs_;
    HANDLE stepped_;
    HANDLE stop_;
    HANDLE thread_;
};
