#include "dialogkeys/focusrecord.h"
#include "mainwindow/controlids.h"

static const WCHAR kFocusProperty[] = L"KEYBOARDFOCUS";

KeyboardFocusRecord* AllocateFocusRecord() {
    KeyboardFocusRecord* record = (KeyboardFocusRecord*)HeapAlloc(
        GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(KeyboardFocusRecord));
    if (record)
        record->DefaultId = IDC_CLOSE;
    return record;
}

void FreeFocusRecord(KeyboardFocusRecord* record) {
    if (record)
        HeapFree(GetProcessHeap(), 0, record);
}

void AttachFocusRecord(HWND dialog, KeyboardFocusRecord* record) {
    SetPropW(dialog, kFocusProperty, record);
}

KeyboardFocusRecord* DetachFocusRecord(HWND dialog) {
    return (KeyboardFocusRecord*)RemovePropW(dialog, kFocusProperty);
}

KeyboardFocusRecord* GetFocusRecord(HWND dialog) {
    return (KeyboardFocusRecord*)GetPropW(dialog, kFocusProperty);
}
