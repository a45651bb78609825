#pragma once
#include <windows.h>
#include <string>

// The program under test as its own process: where it is, starting it,
// finding its window and waiting for its end.

// The file that an environment variable names, as a full path; empty when
// the variable is not set.
std::wstring FullPathFromEnvironment(const wchar_t* variable);
// The executable that CTest names in TESSARY_EXE.
std::wstring ProgramPath();

// A started process, ended by force at destruction if it still runs.
class StartedProgram {
  public:
    StartedProgram() = default;
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    // Starts the executable and allows it to set the foreground window; with
    // a show command other than -1 its start-up information carries it
    // (STARTF_USESHOWWINDOW).
    bool Start(const std::wstring& path, int showCommand = -1);
    // The same with arguments after the program's name on its command line.
    bool Start(const std::wstring& path, const std::wstring& arguments, int showCommand);
    // Starts it with its standard input and output on these inheritable
    // handles.
    bool StartWithStandardHandles(const std::wstring& path, HANDLE input, HANDLE output);

    // A visible top-level window of the process with this class, or NULL
    // after the time-out.
    HWND WaitForWindow(const wchar_t* className, DWORD timeoutMs) const;
    // The program's visible main window, found by its class and title.
    HWND WaitForMainWindow(DWORD timeoutMs) const;
    // The exit code, or STILL_ACTIVE when the process outlives the time-out.
    DWORD WaitForExit(DWORD timeoutMs) const;
    // "is still running", "has exited with code 3": for failure messages.
    std::string State() const;
    // Why a wait found nothing: "no main window within 10 s; the program is
    // still running".
    std::string Missing(const std::string& what, DWORD timeoutMs) const;

    HANDLE Process() const {
        return info_.hProcess;
    }

  private:
    bool Launch(const std::wstring& path, const std::wstring& arguments, STARTUPINFOW& startup);

    PROCESS_INFORMATION info_ = {};
};
