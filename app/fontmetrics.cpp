#include "app/fontmetrics.h"

// Real division rounded to nearest, ties to even (numerator >= 0).
static int DivideRoundHalfEven(int numerator, int divisor) {
    int quotient = numerator / divisor;
    int twiceRemainder = 2 * (numerator % divisor);
    if (twiceRemainder > divisor || (twiceRemainder == divisor && (quotient & 1)))
        ++quotient;
    return quotient;
}

// Twice the average over the 52 letters, then halved: both steps round half to
// even, as the layout was drawn up with.
int AverageCharWidth(int alphabetExtent) {
    int doubled = DivideRoundHalfEven(alphabetExtent, 26);
    return DivideRoundHalfEven(doubled + 1, 2);
}

void GetFontBaseUnits(HFONT font, int* averageWidth, int* height) {
    static const WCHAR kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HDC dc = GetDC(NULL);
    int oldMode = SetMapMode(dc, MM_TEXT);
    HGDIOBJ oldFont = SelectObject(dc, font);
    // Each result read only when its call succeeded, rather than zeroed first:
    // zeroing is a memset call, and no runtime supplies one.
    SIZE extent;
    int alphabetExtent = GetTextExtentPointW(dc, kAlphabet, 52, &extent) ? extent.cx : 0;
    TEXTMETRICW metrics;
    int lineHeight = GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
    SelectObject(dc, oldFont);
    SetMapMode(dc, oldMode);
    ReleaseDC(NULL, dc);

    *averageWidth = AverageCharWidth(alphabetExtent);
    *height = lineHeight;
}
