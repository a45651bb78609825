#include "tests/support/programprocess.h"

namespace {

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

} // namespace

std::wstring FullPathFromEnvironment(const wchar_t* variable) {
    wchar_t given[MAX_PATH] = L"";
    DWORD length = GetEnvironmentVariableW(variable, given, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    // CTest gives the build's own form of the path (forward slashes; under
    // Wine a path of the host); the full path is one Windows understands.
    wchar_t full[MAX_PATH] = L"";
    length = GetFullPathNameW(given, MAX_PATH, full, NULL);
    return length && length < MAX_PATH ? std::wstring(full) : std::wstring(given);
}

std::wstring ProgramPath() {
    return FullPathFromEnvironment(L"TESSARY_EXE");
}

StartedProgram::~StartedProgram() {
    if (!info_.hProcess)
        return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 10000);
    }
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
}

bool StartedProgram::Start(const std::wstring& path, int showCommand) {
    return Start(path, std::wstring(), showCommand);
}

bool StartedProgram::Start(const std::wstring& path, const std::wstring& arguments,
                           int showCommand) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (showCommand >= 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = (WORD)showCommand;
    }
    return Launch(path, arguments, startup);
}

bool StartedProgram::StartWithStandardHandles(const std::wstring& path, HANDLE input,
                                              HANDLE output) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    return Launch(path, std::wstring(), startup);
}

bool StartedProgram::Launch(const std::wstring& path, const std::wstring& arguments,
                            STARTUPINFOW& startup) {
    if (path.empty() || info_.hProcess)
        return false;
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    // Standard handles given are inherited, with every other inheritable one.
    const BOOL inherit = (startup.dwFlags & STARTF_USESTDHANDLES) != 0;
    if (!CreateProcessW(path.c_str(), &commandLine[0], NULL, NULL, inherit, 0, NULL, NULL, &startup,
                        &info_)) {
        info_ = PROCESS_INFORMATION();
        return false;
    }
    // Lets its window take the foreground when this process may; refused, it
    // changes nothing.
    AllowSetForegroundWindow(info_.dwProcessId);
    return true;
}

HWND StartedProgram::WaitForWindow(const wchar_t* className, DWORD timeoutMs) const {
    DWORD start = GetTickCount();
    for (;;) {
        WindowSearch search = {info_.dwProcessId, className, NULL};
        EnumWindows(MatchVisibleWindow, (LPARAM)&search);
        if (search.found || GetTickCount() - start >= timeoutMs)
            return search.found;
        if (WaitForSingleObject(info_.hProcess, 0) != WAIT_TIMEOUT)
            return NULL;
        Sleep(10);
    }
}

HWND StartedProgram::WaitForMainWindow(DWORD timeoutMs) const {
    HWND window = WaitForWindow(L"Quillmar_Tessary_Class", timeoutMs);
    wchar_t title[64] = L"";
    GetWindowTextW(window, title, 64);
    return wcscmp(title, L"Ferrolyn Tessary") == 0 ? window : NULL;
}

DWORD StartedProgram::WaitForExit(DWORD timeoutMs) const {
    DWORD code = STILL_ACTIVE;
    if (info_.hProcess && WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

std::string StartedProgram::State() const {
    if (!info_.hProcess)
        return "was not started";
    DWORD code = WaitForExit(0);
    if (code == STILL_ACTIVE)
        return "is still running";
    return "has exited with code " + std::to_string(code);
}

std::string StartedProgram::Missing(const std::string& what, DWORD timeoutMs) const {
    return "no " + what + " within " + std::to_string(timeoutMs / 1000) + " s; the program " +
           State();
}
