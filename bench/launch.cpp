#include "bench/launch.h"
#include <psapi.h>

namespace {

const DWORD kStartTimeoutMs = 30000;
const DWORD kExitTimeoutMs = 15000;

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchVisibleWindow(HWND window, LPARAM lParam) {
    WindowSearch* search = (WindowSearch*)lParam;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    wchar_t className[64] = L"";
    GetClassNameW(window, className, 64);
    if (wcscmp(className, search->className) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindVisibleWindow(DWORD processId, const wchar_t* className) {
    WindowSearch search = {processId, className, NULL};
    EnumWindows(MatchVisibleWindow, (LPARAM)&search);
    return search.found;
}

std::string Named(const Executable& executable, const char* what) {
    return std::string(executable.name) + ": " + what;
}

} // namespace

double NowMs() {
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

bool LaunchProgram(const Executable& executable, RunningProgram* running, double* startupMs,
                   std::string* error) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + executable.path + L"\"";
    double start = NowMs();
    if (!CreateProcessW(executable.path.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL,
                        &startup, &running->process)) {
        *error = Named(executable, "cannot be started");
        return false;
    }
    if (WaitForInputIdle(running->process.hProcess, kStartTimeoutMs) != 0) {
        *error = Named(executable, "did not become idle");
        return false;
    }
    // Both baselines and the program show their window before their loop
    // starts, so this normally finds it at the first look.
    while (!(running->window =
                 FindVisibleWindow(running->process.dwProcessId, executable.className))) {
        if (NowMs() - start > kStartTimeoutMs ||
            WaitForSingleObject(running->process.hProcess, 0) == WAIT_OBJECT_0) {
            *error = Named(executable, "showed no window");
            return false;
        }
        Sleep(1);
    }
    *startupMs = NowMs() - start;
    return true;
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

bool CloseProgram(RunningProgram* running, std::string* error) {
    HANDLE process = running->process.hProcess;
    if (!process)
        return true;
    bool closed = false;
    if (running->window && PostMessageW(running->window, WM_CLOSE, 0, 0) &&
        WaitForSingleObject(process, kExitTimeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 1;
        GetExitCodeProcess(process, &code);
        closed = code == 0;
        if (!closed)
            *error = "exited with code " + std::to_string(code) + " after WM_CLOSE";
    } else {
        *error = "did not exit after WM_CLOSE";
        TerminateProcess(process, 1);
        WaitForSingleObject(process, kExitTimeoutMs);
    }
    CloseHandle(process);
    CloseHandle(running->process.hThread);
    *running = RunningProgram();
    return closed;
}

void MoveToCorner(HWND window, int corner) {
    RECT work, rect;
    SystemParametersInfoW(SPI_GETWORKAREA, sizeof work, &work, 0);
    GetWindowRect(window, &rect);
    int x = corner == 1 ? work.right - (rect.right - rect.left) : work.left;
    int y = corner == 2 ? work.bottom - (rect.bottom - rect.top) : work.top;
    SetWindowPos(window, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
