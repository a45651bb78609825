#pragma once
#include <windows.h>

// What a rule update does to one option button: first its availability
// changes (through EnableDialogControl, which keeps the focus and the default
// look right), then its check. Either may be left as it is.
enum OptionChange { kLeave = -1, kOff = 0, kOn = 1 };

struct OptionStep {
    OptionChange availability;
    OptionChange check;
};

// A disabled button is always unchecked too, after the disabling.
const OptionStep kEnableOption = {kOn, kLeave};
const OptionStep kDisableOption = {kOff, kOff};
const OptionStep kCheckOption = {kLeave, kOn};
const OptionStep kEnableAndCheckOption = {kOn, kOn};

void ApplyOptionStep(HWND window, int id, OptionStep step);

// True when each button from firstId to lastId, asked in turn, is exactly
// BST_UNCHECKED; the asking stops at the first that is not.
bool AreOptionsFree(HWND window, int firstId, int lastId);
