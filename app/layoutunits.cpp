#include "app/layoutunits.h"

// The screen's logical DPI, read on first use; 0 means not read yet.
static int s_dpiX;
static int s_dpiY;

int MulDivRounded(int number, int multiplier, int divisor) {
    long long magnitude = number < 0 ? -(long long)number : number;
    long long rounded = (magnitude * multiplier + divisor / 2) / divisor;
    return (int)(number < 0 ? -rounded : rounded);
}

static int ReadScreenDpi(int* cache, int index) {
    if (*cache == 0) {
        HDC dc = GetDC(NULL);
        *cache = GetDeviceCaps(dc, index);
        ReleaseDC(NULL, dc);
    }
    return *cache;
}

int GetScreenDpiX() {
    return ReadScreenDpi(&s_dpiX, LOGPIXELSX);
}

int GetScreenDpiY() {
    return ReadScreenDpi(&s_dpiY, LOGPIXELSY);
}

int UnitsToPixelsX(int length, int fontBase, int referenceBase) {
    if (fontBase == 0)
        return MulDivRounded(length, GetScreenDpiX(), 96);
    if (referenceBase == 0)
        return MulDiv(length, fontBase, 4);
    return MulDivRounded(length, fontBase, referenceBase);
}

int UnitsToPixelsY(int length, int fontBase, int referenceBase) {
    if (fontBase == 0)
        return MulDivRounded(length, GetScreenDpiY(), 96);
    if (referenceBase == 0)
        return MulDiv(length, fontBase, 8);
    return MulDivRounded(length, fontBase, referenceBase);
}
