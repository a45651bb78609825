#pragma once
#include <windows.h>
#include <string>
#include "tests/support/programprocess.h"

// Another process that sends messages on a test's behalf (the 64-bit caller
// of tests/caller64.cpp), one request at a time over a pipe, so that a test
// can drive a window from a process of another architecture. Each request has
// a deadline: a caller that stops answering fails the request, and every one
// after it, instead of hanging the test. Ended at destruction.
class CallerProcess {
  public:
    CallerProcess() = default;
    ~CallerProcess();
    CallerProcess(const CallerProcess&) = delete;
    CallerProcess& operator=(const CallerProcess&) = delete;

    bool Start(const std::wstring& path);

    // The caller's SendMessageTimeoutW: false when the window did not answer
    // in the caller's time, or the caller not in timeoutMs.
    bool Send(HWND target, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs,
              LRESULT* result);
    // The same with lParam pointing at the text in the caller's memory.
    bool SendText(HWND target, UINT message, WPARAM wParam, const std::string& text,
                  DWORD timeoutMs, LRESULT* result);
    bool Post(HWND target, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs);
    // The caller's EnableWindow.
    bool Enable(HWND target, bool enable, DWORD timeoutMs);

  private:
    // "send 1a2b 111 0 7\n": the verb, the target, the message and wParam in
    // hexadecimal, then the last field as given.
    static std::string Request(const char* verb, HWND target, UINT message, WPARAM wParam,
                               const std::string& last);
    static std::string Hex(LPARAM value);
    bool Ask(const std::string& request, DWORD timeoutMs, LRESULT* result);
    bool ReadLine(DWORD timeoutMs, std::string* line);

    StartedProgram process_;
    HANDLE toCaller_ = NULL;
    HANDLE fromCaller_ = NULL;
    HANDLE readDone_ = NULL;
    std::string received_;
    bool broken_ = false;
};
