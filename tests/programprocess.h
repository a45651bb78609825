#pragma once
#include <windows.h>
#include <string>

// The built program, beside the tests' own folder.
std::wstring ProgramPath();

// Starts a program as its own process; the handles are the caller's to close.
bool StartProgram(const std::wstring& path, PROCESS_INFORMATION* process);

// The visible main window of that process, or NULL after the time-out.
HWND WaitForMainWindow(DWORD processId, DWORD timeoutMs);

// A visible top-level window of that process with this class name, or NULL
// after the time-out.
HWND WaitForProcessWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs);

// The exit code, or STILL_ACTIVE when the process outlives the time-out.
DWORD WaitForExitCode(HANDLE process, DWORD timeoutMs);
