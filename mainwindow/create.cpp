#include "mainwindow/create.h"
#include "app/fontmetrics.h"
#include "dialogkeys/focusrecord.h"
#include "mainwindow/controltable.h"
#include "mainwindow/formhooks.h"

LRESULT HandleCreate(HWND window, LPARAM createParams) {
    KeyboardFocusRecord* record = AllocateFocusRecord();
    if (!record)
        return -1;
    AttachFocusRecord(window, record);

    HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    SendMessageW(window, WM_SETFONT, (WPARAM)font, FALSE);
    int baseX, baseY;
    GetFontBaseUnits(font, &baseX, &baseY);
    CreateFormControls(window, font, baseX, baseY);

    LRESULT result = 0;
    if (OnFormCreate(window, createParams, &result))
        return result;
    return 0;
}
