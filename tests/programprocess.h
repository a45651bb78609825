#pragma once
#include <windows.h>
#include <string>

// The built program, beside the tests' own folder.
std::wstring ProgramPath();

// Starts a program as its own process, with a show command in its start-up
// information unless it is -1; the handles are the caller's to close.
bool StartProgram(const std::wstring& path, PROCESS_INFORMATION* process, int showCommand = -1);

// The visible main window of that process, or NULL after the time-out.
HWND WaitForMainWindow(DWORD processId, DWORD timeoutMs);

// A visible top-level window of that process with this class name, or NULL
// after the time-out.
HWND WaitForProcessWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs);

// The exit code, or STILL_ACTIVE when the process outlives the time-out.
DWORD WaitForExitCode(HANDLE process, DWORD timeoutMs);
