#include "mainwindow/clientsize.h"
#include "app/fontmetrics.h"
#include "app/layoutunits.h"
#include "app/placement.h"

void SetFormClientSize(HWND window, int baseX, int baseY) {
    SetClientSize(window, UnitsToPixelsX(kClientWidthUnits, baseX, kReferenceBaseX),
                  UnitsToPixelsY(kClientHeightUnits, baseY, kReferenceBaseY));
}

void RestoreClientSize(HWND window) {
    int baseX, baseY;
    GetFontBaseUnits((HFONT)SendMessageW(window, WM_GETFONT, 0, 0), &baseX, &baseY);
    SetFormClientSize(window, baseX, baseY);
}
