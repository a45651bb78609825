// A 64-bit process that sends a test's messages to the windows they name, the
// way a 64-bit tool (automation, a screen reader) drives a 32-bit program's
// window on 64-bit Windows. It reads one request a line from its input and
// writes one answer a line; it ends when its input does.
//
//   send HWND MESSAGE WPARAM LPARAM    ->  "1 RESULT", or "0 0" when unanswered
//   post HWND MESSAGE WPARAM LPARAM    ->  "1 0", or "0 0" when refused
//   text HWND MESSAGE WPARAM TEXT...   ->  as send, LPARAM pointing at TEXT
//   enable HWND 0 FLAG 0               ->  "1 0" once EnableWindow has returned
//
// Numbers are 32-bit hexadecimal, as a 32-bit program knows them; they are
// widened as Windows widens a handle between the two, with their sign. The
// answer is the low 32 bits of the result, all of it a 32-bit window gives.
#include <windows.h>
#include <stdio.h>
#include <string.h>

namespace {

// As long as the test waits for an answer of its own process.
const UINT kAnswerTimeoutMs = 3000;

WPARAM Widened(unsigned long value) {
    return (WPARAM)(LONG_PTR)(LONG)value;
}

} // namespace

int main() {
    char line[1024];
    while (fgets(line, sizeof line, stdin)) {
        line[strcspn(line, "\r\n")] = '\0';
        char verb[8] = "";
        unsigned long target = 0, message = 0, wParam = 0, lParam = 0;
        int textStart = 0;
        int fields = sscanf(line, "%7s %lx %lx %lx %n%lx", verb, &target, &message, &wParam,
                            &textStart, &lParam);
        HWND window = (HWND)Widened(target);
        DWORD_PTR result = 0;
        BOOL done = FALSE;
        if (strcmp(verb, "send") == 0 && fields == 5) {
            done = SendMessageTimeoutW(window, message, Widened(wParam), (LPARAM)Widened(lParam),
                                       SMTO_NORMAL, kAnswerTimeoutMs, &result) != 0;
        } else if (strcmp(verb, "post") == 0 && fields == 5) {
            done = PostMessageW(window, message, Widened(wParam), (LPARAM)Widened(lParam));
        } else if (strcmp(verb, "enable") == 0 && fields == 5) {
            EnableWindow(window, wParam != 0);
            done = TRUE;
        } else if (strcmp(verb, "text") == 0 && fields >= 4 && textStart > 0) {
            wchar_t text[1024] = L"";
            MultiByteToWideChar(CP_UTF8, 0, line + textStart, -1, text, 1024);
            done = SendMessageTimeoutW(window, message, Widened(wParam), (LPARAM)text, SMTO_NORMAL,
                                       kAnswerTimeoutMs, &result) != 0;
        } else {
            fprintf(stderr, "caller64: not a request: %s\n", line);
            return 2;
        }
        printf("%d %lx\n", done ? 1 : 0, (unsigned long)(result & 0xFFFFFFFFu));
        fflush(stdout);
    }
    return 0;
}
