#include "bench/clickrecorder.h"
#include <memory>
#include <vector>
#include "bench/messagetally.h"
#include "bench/replay.h"
#include "tests/support/importpatch.h"

namespace {

// The messages of the rules and the dialog manager that only ask.
const UINT kQueries[] = {BM_GETCHECK, BM_GETSTATE,      WM_GETDLGCODE, WM_GETFONT,
                         WM_GETTEXT,  WM_GETTEXTLENGTH, DM_GETDEFID};
// Those that change a control and carry no pointer, so that text holds them.
const UINT kChanges[] = {BM_SETCHECK, BM_SETSTATE, BM_SETSTYLE, EM_SETSEL};

template <size_t N> bool Listed(const UINT (&list)[N], UINT message) {
    for (UINT listed : list) {
        if (listed == message)
            return true;
    }
    return false;
}

// The imports that are patched: the calls that change something, and the
// lookups of the rules and the dialog manager, which are only counted.
enum Patched {
    kSendMessage,
    kEnableWindow,
    kSetFocus,
    kGetDlgItem,
    kGetPropW,
    kEnumChildWindows,
    kGetFocus,
    kPatchedCount
};

struct Recording {
    HWND window;
    WNDPROC windowProc;
    void* originals[kPatchedCount];
    // Click notifications being handled, nested ones included.
    int handling;
    RecordedCalls* calls;
    std::string error;
};

// Neither a patched import nor a window procedure gets a context of its own.
Recording* s_recording;

template <typename Function> Function Original(Patched which) {
    return (Function)s_recording->originals[which];
}

void Fail(const std::string& reason) {
    if (s_recording->error.empty())
        s_recording->error = reason;
}

void AddWord(const std::wstring& word) {
    std::wstring& replay = s_recording->calls->replay;
    if (!replay.empty())
        replay += L' ';
    replay += word;
}

void AddCall(const std::string& name, ReplayCall call, HWND target,
             const std::vector<DWORD>& numbers) {
    HWND window = s_recording->window;
    if (target != window && !IsChild(window, target)) {
        Fail(name + " on a window that is not the form's");
        return;
    }
    std::wstring word(1, (wchar_t)call);
    word += std::to_wstring(target == window ? 0 : GetDlgCtrlID(target));
    for (DWORD number : numbers)
        word += L"," + std::to_wstring(number);
    AddWord(word);
    ++s_recording->calls->replayed[name];
}

void CountLookup(const std::string& name) {
    if (s_recording->handling)
        ++s_recording->calls->leftOut[name];
}

LRESULT WINAPI RecordSendMessage(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    if (s_recording->handling) {
        std::string name = MessageName(message);
        if (Listed(kQueries, message))
            CountLookup(name);
        else if (Listed(kChanges, message))
            AddCall(name, kReplaySend, target, {message, (DWORD)wParam, (DWORD)lParam});
        else
            Fail("a click sends " + name + ", which the replay does not know");
    }
    return Original<decltype(&SendMessageW)>(kSendMessage)(target, message, wParam, lParam);
}

BOOL WINAPI RecordEnableWindow(HWND target, BOOL enable) {
    if (s_recording->handling)
        AddCall("EnableWindow", kReplayEnable, target, {(DWORD)enable});
    return Original<decltype(&EnableWindow)>(kEnableWindow)(target, enable);
}

HWND WINAPI RecordSetFocus(HWND target) {
    if (s_recording->handling)
        AddCall("SetFocus", kReplayFocus, target, {});
    return Original<decltype(&SetFocus)>(kSetFocus)(target);
}

HWND WINAPI CountGetDlgItem(HWND window, int id) {
    CountLookup("GetDlgItem");
    return Original<decltype(&GetDlgItem)>(kGetDlgItem)(window, id);
}

HANDLE WINAPI CountGetPropW(HWND window, LPCWSTR name) {
    CountLookup("GetPropW");
    return Original<decltype(&GetPropW)>(kGetPropW)(window, name);
}

BOOL WINAPI CountEnumChildWindows(HWND window, WNDENUMPROC callback, LPARAM lParam) {
    CountLookup("EnumChildWindows");
    return Original<decltype(&EnumChildWindows)>(kEnumChildWindows)(window, callback, lParam);
}

HWND WINAPI CountGetFocus() {
    CountLookup("GetFocus");
    return Original<decltype(&GetFocus)>(kGetFocus)();
}

struct PatchedImport {
    const char* function;
    void* replacement;
};

const PatchedImport kPatchedImports[kPatchedCount] = {
    {"SendMessageW", (void*)RecordSendMessage}, {"EnableWindow", (void*)RecordEnableWindow},
    {"SetFocus", (void*)RecordSetFocus},        {"GetDlgItem", (void*)CountGetDlgItem},
    {"GetPropW", (void*)CountGetPropW},         {"EnumChildWindows", (void*)CountEnumChildWindows},
    {"GetFocus", (void*)CountGetFocus},
};

LRESULT CALLBACK RecordNotification(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Recording* recording = s_recording;
    bool click = message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED;
    if (click) {
        AddWord(std::wstring(1, (wchar_t)kReplayNotification));
        ++recording->calls->notifications;
        ++recording->handling;
    }
    LRESULT result = CallWindowProcW(recording->windowProc, window, message, wParam, lParam);
    if (click)
        --recording->handling;
    return result;
}

} // namespace

bool RecordCalls(HWND window, const std::function<void()>& act, RecordedCalls* calls,
                 std::string* error) {
    *calls = RecordedCalls();
    Recording recording = {window, NULL, {}, 0, calls, std::string()};
    {
        std::vector<std::unique_ptr<ImportPatch>> patches;
        for (int which = 0; which < kPatchedCount; ++which) {
            const PatchedImport& patched = kPatchedImports[which];
            patches.emplace_back(
                new ImportPatch("user32.dll", patched.function, patched.replacement));
            recording.originals[which] = patches.back()->Original();
            if (!recording.originals[which]) {
                *error = std::string("the runner does not import ") + patched.function;
                return false;
            }
        }
        s_recording = &recording;
        recording.windowProc =
            (WNDPROC)SetWindowLongPtrW(window, GWLP_WNDPROC, (LONG_PTR)RecordNotification);
        act();
        SetWindowLongPtrW(window, GWLP_WNDPROC, (LONG_PTR)recording.windowProc);
        s_recording = nullptr;
    }
    calls->after = ReadFormState(window);
    if (!recording.error.empty()) {
        *error = recording.error;
        return false;
    }
    return true;
}
