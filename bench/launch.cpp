#include "bench/launch.h"
#include <psapi.h>
#include "bench/clock.h"

namespace {

const DWORD kStartTimeoutMs = 10000;
const DWORD kExitTimeoutMs = 10000;

std::string Named(const Executable& executable, const std::string& what) {
    return std::string(executable.name) + ": " + what;
}

} // namespace

bool LaunchProgram(const Executable& executable, LaunchedProgram* launched, double* startupMs,
                   std::string* error) {
    double start = NowMs();
    if (!launched->process.Start(executable.path, executable.arguments, -1)) {
        *error = Named(executable, "cannot be started");
        return false;
    }
    if (WaitForInputIdle(launched->process.Process(), kStartTimeoutMs) != 0) {
        *error = Named(executable, "did not become idle");
        return false;
    }
    // Both baselines and the program show their window before their loop
    // starts, so this normally finds it at the first look.
    launched->window = launched->process.WaitForWindow(executable.className, kStartTimeoutMs);
    if (!launched->window) {
        *error = Named(executable, "showed no window");
        return false;
    }
    *startupMs = NowMs() - start;
    return true;
}

bool CloseProgram(const Executable& executable, LaunchedProgram* launched, std::string* error) {
    if (!launched->window || !PostMessageW(launched->window, WM_CLOSE, 0, 0)) {
        *error = Named(executable, "has no window to close");
        return false;
    }
    DWORD code = launched->process.WaitForExit(kExitTimeoutMs);
    if (code == STILL_ACTIVE)
        *error = Named(executable, "did not exit after WM_CLOSE");
    else if (code != 0)
        *error = Named(executable, "exited with code " + std::to_string(code) + " after WM_CLOSE");
    return code == 0;
}

bool ReadMemoryFigures(HANDLE process, MemoryFigures* figures) {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, (PROCESS_MEMORY_COUNTERS*)&counters, sizeof counters))
        return false;
    figures->workingSetKiB = (double)counters.WorkingSetSize / 1024.0;
    SIZE_T privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    figures->privateKiB = (double)privateBytes / 1024.0;

    SIZE_T committed = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* address = nullptr;
         VirtualQueryEx(process, address, &region, sizeof region) == sizeof region;) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            committed += region.RegionSize;
        const char* next = (const char*)region.BaseAddress + region.RegionSize;
        if (next <= address)
            break;
        address = next;
    }
    figures->committedPrivateKiB = (double)committed / 1024.0;
    return committed != 0;
}
