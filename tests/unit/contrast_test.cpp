// WCAG contrast: luminance, ratio, its text and grade, and the nearest colour that passes.
#include "color/contrast.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "color/color_spaces.h"

namespace {

Coords Srgb(uint32_t rgb)
{
    return Coords{{(rgb >> 16) / 255.0, (rgb >> 8 & 255) / 255.0, (rgb & 255) / 255.0}};
}
Coords Oklch(uint32_t rgb)
{
    return ToPolar(XyzToOklab(SrgbToXyz(Srgb(rgb))));
}
uint32_t Byte(double v)
{
    return v <= 0 ? 0 : v >= 1 ? 255 : static_cast<uint32_t>(std::lround(v * 255));
}

// By hand: 128/255 -> ((0.501961 + 0.055) / 1.055)^2.4 = 0.215861; 10/255 / 12.92 = 0.0030353;
// #FF8000 = 0.2126 + 0.7152 * 0.215861. CSS's XYZ Y differs from WCAG's only in the 5th place.
TEST(Contrast, RelativeLuminance)
{
    const struct {
        uint32_t rgb;
        double luminance;
    } rows[] = {{0x000000, 0},      {0xFFFFFF, 1},        {0xFF0000, 0.2126},    {0x00FF00, 0.7152},
                {0x0000FF, 0.0722}, {0x808080, 0.215861}, {0x0A0A0A, 0.0030353}, {0xFF8000, 0.366983}};
    for (const auto& row : rows) {
        EXPECT_NEAR(row.luminance, RelativeLuminance(row.rgb), 5e-7) << std::hex << row.rgb;
        EXPECT_NEAR(SrgbToXyz(Srgb(row.rgb)).c[1], RelativeLuminance(row.rgb), 1e-4) << std::hex << row.rgb;
    }
}

// Published pairs (red on white is 3.998: it must not read 4), then the boundaries.
TEST(Contrast, TextIsCutAndGradeJudgesTheExactRatio)
{
    uint32_t c = 0;  // an 8-bit colour in [4.495, 4.5) on white, found by search
    while (c < 0xFFFFFF && !(ContrastRatio(c, 0xFFFFFF) >= 4.495 && ContrastRatio(c, 0xFFFFFF) < 4.5))
        ++c;
    const struct {
        double ratio;
        const char *text, *grade;
    } rows[] = {{ContrastRatio(0, 0xFFFFFF), "21.00:1", "AAA"},
                {ContrastRatio(0xFFFFFF, 0), "21.00:1", "AAA"},
                {ContrastRatio(0x777777, 0xFFFFFF), "4.47:1", "AA Large"},
                {ContrastRatio(0xFFFFFF, 0x767676), "4.54:1", "AA"},
                {ContrastRatio(0x595959, 0xFFFFFF), "7.00:1", "AAA"},
                {ContrastRatio(0xFF0000, 0xFFFFFF), "3.99:1", "AA Large"},
                {ContrastRatio(c, 0xFFFFFF), "4.49:1", "AA Large"},
                {ContrastRatio(0x123456, 0x123456), "1.00:1", "Fail"},
                {4.4999999, "4.49:1", "AA Large"},
                {4.5, "4.50:1", "AA"},
                {1.15, "1.15:1", "Fail"},
                {2.9999, "2.99:1", "Fail"},
                {3, "3.00:1", "AA Large"},
                {6.999, "6.99:1", "AA"},
                {7, "7.00:1", "AAA"},
                {12.3456, "12.34:1", "AAA"}};
    for (const auto& row : rows) {
        char text[9] = {0, 0, 0, 0, 0, 0, 0, 0, '#'};  // the size given must bound the write
        FormatContrastRatio(row.ratio, text, 8);
        EXPECT_EQ(std::string(row.text) + "#", std::string(text) + text[8]) << row.ratio;
        EXPECT_STREQ(row.grade, ContrastGrade(row.ratio)) << row.ratio;
    }
}

// Published: the lightest greys passing on white. By hand, on #808080 (L 0.215861) white gives
// 1.05 / 0.265861 = 3.95 and black 0.265861 / 0.05 = 5.32; on #777777 (L 0.184475) 4.48 and 4.69.
TEST(Contrast, NearestOnGreys)
{
    uint32_t got = 0;
    EXPECT_TRUE(NearestPassingColor(0x777777, 0xFFFFFF, 4.5, &got) && got == 0x767676) << std::hex << got;
    EXPECT_TRUE(NearestPassingColor(0xFFFFFF, 0xFFFFFF, 7, &got) && got == 0x595959) << std::hex << got;
    for (uint32_t rgb : {0x000000, 0xFFFFFF, 0xFF0000, 0x3366CC, 0x808080})
        for (uint32_t background : {0x808080, 0x777777})
            EXPECT_FALSE(NearestPassingColor(rgb, background, 7, &got) || got != 0x595959) << std::hex << rgb;
}

// Against a brute force along the input's OKLCH hue and chroma line in steps of 0.001 (a grey's line: the
// 256 greys): the result moves lightness no more than the best passing candidate plus a step, lies within a
// code value of that candidate, and keeps the hue but for the mapping's clip (0.02) and a rounding.
TEST(Contrast, NearestMovesLightnessLeast)
{
    for (uint32_t rgb : {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF8000, 0x3366CC, 0xCC3366, 0x20B2AA,
                         0x8B4513, 0xFFC0CB, 0x663399, 0x00FFFF, 0x777777, 0xC0C0C0})
        for (uint32_t background : {0xFFFFFF, 0x000000, 0x808080, 0x767676, 0xEE0000, 0x8B0000})
            for (double target : {4.5, 7.0}) {
                SCOPED_TRACE(::testing::Message()
                             << std::hex << rgb << " on " << background << " " << target);
                const Coords in = Oklch(rgb);
                const bool grey = rgb % 0x010101 == 0;
                double best = 2;
                uint32_t bestColor = 0, got = 0xDEADBEEF;
                for (int k = 0; k <= (grey ? 255 : 1000); ++k) {
                    const Coords lab = FromPolar(Coords{{k * 0.001, in.c[1], in.c[2]}});
                    const Coords s = FitIntoSrgb(lab, XyzToSrgb(OklabToXyz(lab)));
                    const uint32_t c =
                        grey ? k * 0x010101 : Byte(s.c[0]) << 16 | Byte(s.c[1]) << 8 | Byte(s.c[2]);
                    const double change = std::fabs(Oklch(c).c[0] - in.c[0]);
                    if (ContrastRatio(c, background) >= target && change < best)
                        best = change, bestColor = c;
                }
                ASSERT_EQ(best < 2, NearestPassingColor(rgb, background, target, &got));
                if (ContrastRatio(rgb, background) >= target || best == 2) {
                    EXPECT_EQ(best == 2 ? 0xDEADBEEF : rgb, got);
                    continue;
                }
                const Coords out = Oklch(got);
                EXPECT_GE(ContrastRatio(got, background), target);
                EXPECT_LE(std::fabs(out.c[0] - in.c[0]), best + 0.001);
                for (int shift : {0, 8, 16})
                    EXPECT_LE(std::abs(int(got >> shift & 255) - int(bestColor >> shift & 255)), 1)
                        << std::hex << bestColor;
                const double turn = (out.c[2] - in.c[2]) * 3.14159265358979 / 180;
                EXPECT_LT(std::cos(turn) >= 0 ? std::fabs(out.c[1] * std::sin(turn)) : out.c[1], 0.025);
                EXPECT_TRUE(!grey || got % 0x010101 == 0);
            }
}

}  // namespace
