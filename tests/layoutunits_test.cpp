#include <gtest/gtest.h>
#include <windows.h>
#include <cmath>
#include "app/fontmetrics.h"
#include "app/layoutunits.h"

TEST(LayoutUnits, AreOnePixelWithTheReferenceFont) {
    EXPECT_EQ(UnitsToPixelsX(394, 6, 6), 394);
    EXPECT_EQ(UnitsToPixelsY(136, 13, 13), 136);
}

TEST(LayoutUnits, ScaleWithTheFont) {
    EXPECT_EQ(UnitsToPixelsX(394, 7, 6), 460);
    EXPECT_EQ(UnitsToPixelsY(136, 16, 13), 167);
}

TEST(LayoutUnits, RoundHalvesAwayFromZeroAndMirrorNegatives) {
    EXPECT_EQ(UnitsToPixelsX(3, 1, 6), 1);
    EXPECT_EQ(UnitsToPixelsX(-3, 1, 6), -1);
    EXPECT_EQ(UnitsToPixelsX(7, 7, 6), 8);
    EXPECT_EQ(UnitsToPixelsX(-7, 7, 6), -8);
    EXPECT_EQ(UnitsToPixelsY(1, 13, 26), 1);
    EXPECT_EQ(UnitsToPixelsY(-1, 13, 26), -1);
}

TEST(LayoutUnits, ZeroReferenceMeansSystemDialogUnits) {
    EXPECT_EQ(UnitsToPixelsX(10, 8, 0), 20);
    EXPECT_EQ(UnitsToPixelsY(10, 16, 0), 20);
    // The platform's MulDiv, which rounds and reports overflow as -1.
    EXPECT_EQ(UnitsToPixelsX(0x7FFFFFFF, 8, 0), -1);
}

TEST(LayoutUnits, NoFontMeansPixelsAt96DotsPerInch) {
    HDC dc = GetDC(NULL);
    int dpiX = GetDeviceCaps(dc, LOGPIXELSX);
    int dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(NULL, dc);
    EXPECT_EQ(GetScreenDpiX(), dpiX);
    EXPECT_EQ(GetScreenDpiY(), dpiY);
    EXPECT_EQ(UnitsToPixelsX(100, 0, 6), MulDivRounded(100, dpiX, 96));
    EXPECT_EQ(UnitsToPixelsY(-100, 0, 13), -MulDivRounded(100, dpiY, 96));
}

TEST(MulDivRounded, HandlesHalvesOverflowAndSigns) {
    EXPECT_EQ(MulDivRounded(100, 120, 96), 125);
    EXPECT_EQ(MulDivRounded(2, 120, 96), 3); // 2.5
    EXPECT_EQ(MulDivRounded(-2, 120, 96), -3);
    EXPECT_EQ(MulDivRounded(0, 120, 96), 0);
    // The product does not fit 32 bits but the result does.
    EXPECT_EQ(MulDivRounded(2000000000, 3, 4), 1500000000);
    EXPECT_EQ(MulDivRounded(-2000000000, 3, 4), -1500000000);
    EXPECT_EQ(MulDivRounded(-2147483647 - 1, 1, 1), -2147483647 - 1);
}

TEST(AverageCharWidth, RoundsBothStepsHalfToEven) {
    EXPECT_EQ(AverageCharWidth(364), 8); // 14, then 7.5 -> 8
    EXPECT_EQ(AverageCharWidth(325), 6); // 12.5 -> 12, then 6.5 -> 6
    EXPECT_EQ(AverageCharWidth(338), 7); // 13, then 7
    EXPECT_EQ(AverageCharWidth(351), 8); // 13.5 -> 14, then 7.5 -> 8
    EXPECT_EQ(AverageCharWidth(0), 0);   // 0.5 -> 0
}

TEST(GetFontBaseUnits, MeasuresTheAlphabetAndTheHeight) {
    // Beside the common size, sizes whose alphabet lies at an edge of a
    // rounding step under Wine (bold 39 just below one, bold 32 and normal 63
    // just above), where one letter measured wrongly moves the width.
    const struct {
        int height;
        int weight;
    } fonts[] = {{-20, FW_NORMAL}, {-39, FW_BOLD}, {-32, FW_BOLD}, {-63, FW_NORMAL}};
    const wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    for (const auto& f : fonts) {
        SCOPED_TRACE(testing::Message() << "Tahoma " << f.height << " weight " << f.weight);
        HFONT font = CreateFontW(f.height, 0, 0, 0, f.weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                 L"Tahoma");
        ASSERT_NE(font, nullptr);
        HDC dc = GetDC(NULL);
        HGDIOBJ old = SelectObject(dc, font);
        wchar_t face[LF_FACESIZE] = L"";
        GetTextFaceW(dc, LF_FACESIZE, face);
        // Each letter on its own: their sum is the string's extent, found
        // without measuring the string.
        int extent = 0;
        for (int i = 0; i < 52; ++i) {
            SIZE size = {};
            GetTextExtentPoint32W(dc, &letters[i], 1, &size);
            extent += size.cx;
        }
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(NULL, dc);
        int width = -1, height = -1;
        GetFontBaseUnits(font, &width, &height);
        DeleteObject(font);

        ASSERT_STREQ(face, L"Tahoma");
        // Both steps are divisions of real numbers rounded half to even, as
        // lrint rounds in the default rounding mode.
        long doubled = std::lrint(extent / 26.0);
        long expected = std::lrint((doubled + 1) / 2.0);
        EXPECT_EQ(width, expected) << "alphabet " << extent << " pixels";
        EXPECT_EQ(height, metrics.tmHeight); // no external leading
    }
}
