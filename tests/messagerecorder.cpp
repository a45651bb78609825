#include "tests/messagerecorder.h"

// A window procedure gets no context of its own.
static MessageRecorder* g_recorder = nullptr;

MessageRecorder::MessageRecorder(HWND window) {
    g_recorder = this;
    Subclass(window);
    EnumChildWindows(window, SubclassChild, (LPARAM)this);
}

MessageRecorder::~MessageRecorder() {
    for (const auto& subclassed : originals_) {
        if ((WNDPROC)GetWindowLongPtrW(subclassed.first, GWLP_WNDPROC) == Record)
            SetWindowLongPtrW(subclassed.first, GWLP_WNDPROC, (LONG_PTR)subclassed.second);
    }
    g_recorder = nullptr;
}

void MessageRecorder::Clear() {
    messages_.clear();
}

BOOL CALLBACK MessageRecorder::SubclassChild(HWND child, LPARAM recorder) {
    ((MessageRecorder*)recorder)->Subclass(child);
    return TRUE;
}

void MessageRecorder::Subclass(HWND window) {
    originals_[window] = (WNDPROC)SetWindowLongPtrW(window, GWLP_WNDPROC, (LONG_PTR)Record);
}

LRESULT CALLBACK MessageRecorder::Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageRecorder* recorder = g_recorder;
    WNDPROC original = recorder->originals_[window];
    recorder->messages_.push_back({window, message, wParam, lParam, recorder->depth_});
    ++recorder->depth_;
    LRESULT result = CallWindowProcW(original, window, message, wParam, lParam);
    --recorder->depth_;
    return result;
}

bool MessageRecorder::Received(HWND window, UINT message) const {
    for (const SentMessage& sent : messages_) {
        if (sent.target == window && sent.message == message)
            return true;
    }
    return false;
}

std::vector<SentMessage> MessageRecorder::SentWhileHandling(HWND window, UINT message) const {
    std::vector<SentMessage> inside;
    size_t i = 0;
    while (i < messages_.size() &&
           !(messages_[i].target == window && messages_[i].message == message))
        ++i;
    if (i == messages_.size())
        return inside;
    int depth = messages_[i].depth;
    for (++i; i < messages_.size() && messages_[i].depth > depth; ++i) {
        if (messages_[i].depth == depth + 1)
            inside.push_back(messages_[i]);
    }
    return inside;
}
