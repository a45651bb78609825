#pragma once
#include <windows.h>
#include <map>
#include <vector>

// One message as a recorded window's procedure received it.
struct SentMessage {
    HWND target;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    // How many recorded messages were still being handled when this one came.
    int depth;
};

// Records, in order of arrival, every message that reaches the window
// procedure of a window or of its descendants (those that exist when the
// recorder is made), sent or dispatched, by subclassing them for the
// recorder's life. Hooks would do the same at several times the cost under
// Wine. One recorder at a time, on the windows' own thread.
class MessageRecorder {
  public:
    explicit MessageRecorder(HWND window);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<SentMessage>& Messages() const {
        return messages_;
    }
    void Clear();

    // Whether `window` received `message` since the last Clear.
    bool Received(HWND window, UINT message) const;
    // What arrived while `window` handled the first such message, one level
    // deeper (what that handling sent itself, not what those messages sent in
    // turn); empty if the message never arrived.
    std::vector<SentMessage> SentWhileHandling(HWND window, UINT message) const;

  private:
    static BOOL CALLBACK SubclassChild(HWND child, LPARAM recorder);
    static LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Subclass(HWND window);

    std::map<HWND, WNDPROC> originals_;
    std::vector<SentMessage> messages_;
    int depth_ = 0;
};
