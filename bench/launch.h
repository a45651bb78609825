#pragma once
#include <windows.h>
#include <string>
#include "tests/support/programprocess.h"

// One of the executables the benchmark starts.
struct Executable {
    const char* name;
    std::wstring path;
    const wchar_t* className;
    std::wstring arguments;
};

struct LaunchedProgram {
    StartedProgram process;
    HWND window = NULL;
};

// Starts the executable and waits until it is idle (WaitForInputIdle) and its
// window of that class is visible; *startupMs is the time from just before
// CreateProcessW to then.
bool LaunchProgram(const Executable& executable, LaunchedProgram* launched, double* startupMs,
                   std::string* error);

// Closes the window (WM_CLOSE) and waits for the process to exit with 0; the
// process is ended by force when it does not.
bool CloseProgram(const Executable& executable, LaunchedProgram* launched, std::string* error);

struct MemoryFigures {
    double workingSetKiB = 0;
    // PrivateUsage, or PagefileUsage (the same commit charge on Windows) where
    // PrivateUsage reads 0, as under Wine.
    double privateKiB = 0;
    // The process's committed private pages, summed with VirtualQueryEx.
    double committedPrivateKiB = 0;
};

bool ReadMemoryFigures(HANDLE process, MemoryFigures* figures);
