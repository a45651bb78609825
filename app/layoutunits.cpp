#include "app/layoutunits.h"

// The screen's logical DPI, read on first use; 0 means not read yet.
static int s_dpiX;
static int s_dpiY;

// 32-bit arithmetic only: without a C runtime there is no 64-bit division.
// magnitude = q * divisor + r gives magnitude * multiplier / divisor =
// q * multiplier + r * multiplier / divisor; the first term is at most the
// result, and r * multiplier + divisor / 2 < 65535 * 65535 + 32768 < 2^32.
int MulDivRounded(int number, int multiplier, int divisor) {
    unsigned magnitude = number < 0 ? 0u - (unsigned)number : (unsigned)number;
    unsigned times = (unsigned)multiplier, over = (unsigned)divisor;
    unsigned rounded = magnitude / over * times + (magnitude % over * times + over / 2) / over;
    return number < 0 ? (int)(0u - rounded) : (int)rounded;
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
