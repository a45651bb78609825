#pragma once
#include <windows.h>
#include <string>

// Milliseconds on the performance counter, from an arbitrary origin.
double NowMs();

// One of the executables the benchmark starts.
struct Executable {
    const char* name;
    std::wstring path;
    const wchar_t* className;
};

struct RunningProgram {
    PROCESS_INFORMATION process = {};
    HWND window = NULL;
};

// Starts the executable and waits until it is idle (WaitForInputIdle) and its
// window of that class is visible; *startupMs is the time from just before
// CreateProcessW to then.
bool LaunchProgram(const Executable& executable, RunningProgram* running, double* startupMs,
                   std::string* error);

struct MemoryFigures {
    double workingSetKiB = 0;
    // PrivateUsage, or PagefileUsage (the same commit charge on Windows) where
    // PrivateUsage reads 0, as under Wine.
    double privateKiB = 0;
    // The process's committed private pages, summed with VirtualQueryEx.
    double committedPrivateKiB = 0;
};

bool ReadMemoryFigures(HANDLE process, MemoryFigures* figures);

// Closes the window (WM_CLOSE) and waits for the process to exit with 0; ends
// it by force when it does not.
bool CloseProgram(RunningProgram* running, std::string* error);

// Places a top-level window in one of the work area's corners (0 top left,
// 1 top right, 2 bottom left), so that the windows measured side by side
// neither cover each other nor the middle, where the next one opens.
void MoveToCorner(HWND window, int corner);
