#include "mainwindow/wndproc.h"
#include "dialogkeys/defaultbutton.h"
#include "dialogkeys/dialogfocus.h"
#include "dialogkeys/focusmemory.h"
#include "mainwindow/clientsize.h"
#include "mainwindow/colorchange.h"
#include "mainwindow/commands.h"
#include "mainwindow/formhooks.h"
#include "mainwindow/create.h"
#include "mainwindow/destroy.h"
#include "mainwindow/windowfont.h"

extern "C" LRESULT CALLBACK TESSARY_WNDPROC(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
    case WM_COMMAND:
        if (HandleCommand(window, wParam, lParam))
            return 0;
        break;
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
        RestoreClientSize(window);
        break;
    case WM_SYSCOLORCHANGE:
        HandleSysColorChange(window, wParam, lParam);
        break;
    case WM_ACTIVATE:
        // Answered here and not passed on: the default handling would put the
        // focus on the window itself.
        if (LOWORD(wParam) == WA_INACTIVE)
            SaveDialogFocus(window);
        else
            RestoreDialogFocus(window);
        return 0;
    case WM_SETFOCUS:
        RestoreDialogFocus(window);
        break;
    case DM_GETDEFID:
        return HandleGetDefId(window);
    case DM_SETDEFID:
        return HandleSetDefId(window, wParam);
    case WM_NEXTDLGCTL:
        HandleNextDlgCtl(window, wParam, lParam);
        return 0;
    case WM_CLOSE:
        if (OnFormClose(window))
            return 0;
        break;
    case WM_QUERYENDSESSION:
        if (OnFormQueryEndSession(window, wParam, lParam, &result))
            return result;
        break;
    case WM_DESTROY:
        return HandleDestroy(window);
    case WM_SIZE:
        if (OnFormSize(window, (UINT)wParam, LOWORD(lParam), HIWORD(lParam)))
            return 0;
        break;
    case WM_GETFONT:
        return HandleGetFont(window);
    case WM_SETFONT:
        return HandleSetFont(window, (HFONT)wParam, (BOOL)lParam);
    case WM_CREATE:
        return HandleCreate(window, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
