#include "tests/callerprocess.h"
#include <stdio.h>

CallerProcess::~CallerProcess() {
    // Its input ends, and the process with it: ended by force if still running.
    if (toCaller_)
        CloseHandle(toCaller_);
    if (fromCaller_)
        CloseHandle(fromCaller_);
    if (readDone_)
        CloseHandle(readDone_);
}

bool CallerProcess::Start(const std::wstring& path) {
    if (fromCaller_)
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
    bool started = readDone_ && callerOutput != INVALID_HANDLE_VALUE &&
                   CreatePipe(&callerInput, &toCaller_, &inherited, 0) &&
                   SetHandleInformation(toCaller_, HANDLE_FLAG_INHERIT, 0) &&
                   process_.StartWithStandardHandles(path, callerInput, callerOutput);
    // Only the caller holds its ends: its end shows as a broken pipe.
    if (callerOutput != INVALID_HANDLE_VALUE)
        CloseHandle(callerOutput);
    if (callerInput)
        CloseHandle(callerInput);
    return started;
}

std::string CallerProcess::Request(const char* verb, HWND target, UINT message, WPARAM wParam,
                                   const std::string& last) {
    char start[64];
    snprintf(start, sizeof start, "%s %lx %x %lx ", verb, (unsigned long)(UINT_PTR)target, message,
             (unsigned long)wParam);
    return start + last + "\n";
}

std::string CallerProcess::Hex(LPARAM value) {
    char hex[16];
    snprintf(hex, sizeof hex, "%lx", (unsigned long)value);
    return hex;
}

bool CallerProcess::Send(HWND target, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs,
                         LRESULT* result) {
    return Ask(Request("send", target, message, wParam, Hex(lParam)), timeoutMs, result);
}

bool CallerProcess::SendText(HWND target, UINT message, WPARAM wParam, const std::string& text,
                             DWORD timeoutMs, LRESULT* result) {
    return Ask(Request("text", target, message, wParam, text), timeoutMs, result);
}

bool CallerProcess::Post(HWND target, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs) {
    LRESULT ignored = 0;
    return Ask(Request("post", target, message, wParam, Hex(lParam)), timeoutMs, &ignored);
}

bool CallerProcess::Enable(HWND target, bool enable, DWORD timeoutMs) {
    LRESULT ignored = 0;
    return Ask(Request("enable", target, 0, enable, "0"), timeoutMs, &ignored);
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
