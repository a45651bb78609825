#include "tests/programprocess.h"

std::wstring ProgramPath() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L"\\/"));     // the tests' folder
    folder.resize(folder.find_last_of(L"\\/") + 1); // the build folder
    return folder + L"tessary.exe";
}

bool StartProgram(const std::wstring& path, PROCESS_INFORMATION* process, int showCommand) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (showCommand >= 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = (WORD)showCommand;
    }
    std::wstring commandLine = L"\"" + path + L"\"";
    return CreateProcessW(path.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                          process) != FALSE;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
    WindowSearch* search = (WindowSearch*)lParam;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[64] = L"";
    GetClassNameW(window, className, 64);
    if (owner != search->processId || wcscmp(className, search->className) != 0)
        return TRUE;
    if (!IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND PollForWindow(WindowSearch search, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    do {
        EnumWindows(MatchWindow, (LPARAM)&search);
        if (search.found)
            return search.found;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return NULL;
}

} // namespace

HWND WaitForMainWindow(DWORD processId, DWORD timeoutMs) {
    HWND window = PollForWindow({processId, L"Quillmar_Tessary_Class", NULL}, timeoutMs);
    wchar_t title[64] = L"";
    GetWindowTextW(window, title, 64);
    return wcscmp(title, L"Ferrolyn Tessary") == 0 ? window : NULL;
}

HWND WaitForProcessWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs) {
    return PollForWindow({processId, className, NULL}, timeoutMs);
}

DWORD WaitForExitCode(HANDLE process, DWORD timeoutMs) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &code);
    return code;
}
