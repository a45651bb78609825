#include "tests/callerprocess.h"
#include <stdio.h>

CallerProcess::~CallerProcess() {
    // Its input ends: the caller ends by itself, or is ended.
    if (toCaller_)
        CloseHandle(toCaller_);
    if (info_.hProcess) {
        if (WaitForSingleObject(info_.hProcess, 5000) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 10000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
    if (fromCaller_)
        CloseHandle(fromCaller_);
    if (readDone_)
        CloseHandle(readDone_);
}

bool CallerProcess::Start(const std::wstring& path) {
    if (path.empty() || info_.hProcess)
        return false;
    // Its answers come through a named pipe, whose reads can be abandoned at
    // a deadline; an anonymous pipe's cannot.
    wchar_t name[80];
    swprintf(name, 80, L"\\\\.\\pipe\\tessary-caller-%lu-%p", GetCurrentProcessId(), (void*)this);
    fromCaller_ = CreateNamedPipeW(name, PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED,
                                   PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, NULL);
    if (fromCaller_ == INVALID_HANDLE_VALUE) {
        fromCaller_ = NULL;
        return false;
    }
    readDone_ = CreateEventW(NULL, TRUE, FALSE, NULL);
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, NULL, TRUE};
    HANDLE callerOutput = CreateFileW(name, GENERIC_WRITE, 0, &inherited, OPEN_EXISTING, 0, NULL);
    HANDLE callerInput = NULL;
    bool piped = callerOutput != INVALID_HANDLE_VALUE &&
                 CreatePipe(&callerInput, &toCaller_, &inherited, 0) &&
                 SetHandleInformation(toCaller_, HANDLE_FLAG_INHERIT, 0);
    bool started = false;
    if (piped && readDone_) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = callerInput;
        startup.hStdOutput = callerOutput;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        std::wstring commandLine = L"\"" + path + L"\"";
        started = CreateProcessW(path.c_str(), &commandLine[0], NULL, NULL, TRUE, 0, NULL, NULL,
                                 &startup, &info_) != 0;
        if (!started)
            info_ = PROCESS_INFORMATION();
    }
    // Only the caller holds its ends: its end shows as a broken pipe.
    if (callerOutput != INVALID_HANDLE_VALUE)
        CloseHandle(callerOutput);
    if (callerInput)
        CloseHandle(callerInput);
    return started;
}

bool CallerProcess::Send(HWND target, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs,
                         LRESULT* result) {
    char request[80];
    snprintf(request, sizeof request, "send %lx %x %lx %lx\n", (unsigned long)(UINT_PTR)target,
             message, (unsigned long)wParam, (unsigned long)lParam);
    return Ask(request, timeoutMs, result);
}

bool CallerProcess::SendText(HWND target, UINT message, WPARAM wParam, const std::string& text,
                             DWORD timeoutMs, LRESULT* result) {
    char request[80];
    snprintf(request, sizeof request, "text %lx %x %lx ", (unsigned long)(UINT_PTR)target, message,
             (unsigned long)wParam);
    return Ask(request + text + "\n", timeoutMs, result);
}

bool CallerProcess::Post(HWND target, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs) {
    char request[80];
    snprintf(request, sizeof request, "post %lx %x %lx %lx\n", (unsigned long)(UINT_PTR)target,
             message, (unsigned long)wParam, (unsigned long)lParam);
    LRESULT ignored = 0;
    return Ask(request, timeoutMs, &ignored);
}

bool CallerProcess::Ask(const std::string& request, DWORD timeoutMs, LRESULT* result) {
    *result = 0;
    DWORD written = 0;
    if (broken_ || !WriteFile(toCaller_, request.data(), (DWORD)request.size(), &written, NULL) ||
        written != request.size()) {
        broken_ = true;
        return false;
    }
    std::string answer;
    int done = 0;
    unsigned long value = 0;
    if (!ReadLine(timeoutMs, &answer) || sscanf(answer.c_str(), "%d %lx", &done, &value) != 2) {
        broken_ = true;
        return false;
    }
    *result = (LRESULT)value;
    return done == 1;
}

bool CallerProcess::ReadLine(DWORD timeoutMs, std::string* line) {
    DWORD start = GetTickCount();
    size_t end;
    while ((end = received_.find('\n')) == std::string::npos) {
        char chunk[256];
        DWORD got = 0;
        OVERLAPPED overlapped = {};
        overlapped.hEvent = readDone_;
        ResetEvent(readDone_);
        if (!ReadFile(fromCaller_, chunk, sizeof chunk, &got, &overlapped)) {
            if (GetLastError() != ERROR_IO_PENDING)
                return false;
            DWORD spent = GetTickCount() - start;
            if (spent >= timeoutMs ||
                WaitForSingleObject(readDone_, timeoutMs - spent) != WAIT_OBJECT_0) {
                CancelIo(fromCaller_);
                GetOverlappedResult(fromCaller_, &overlapped, &got, TRUE);
                return false;
            }
            if (!GetOverlappedResult(fromCaller_, &overlapped, &got, FALSE))
                return false;
        }
        received_.append(chunk, got);
    }
    *line = received_.substr(0, end);
    received_.erase(0, end + 1);
    return true;
}
