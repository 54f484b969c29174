// Colour text for code: the four formats' exact text, real HSL with its rounding, and colours
// pasted in any of the forms people copy them in.
#include "color/color_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "color/hex_text.h"
#include "tests/unit/color_support.h"

namespace {

std::string CssRgb(const ColorValue& c)
{
    char text[COLOR_TEXT_SIZE];
    return FormatCssRgb(c, text);
}

std::string CssHsl(const ColorValue& c)
{
    char text[COLOR_TEXT_SIZE];
    return FormatCssHsl(c, text);
}

std::string Win32Rgb(const ColorValue& c)
{
    char text[COLOR_TEXT_SIZE];
    return FormatWin32Rgb(c, text);
}

std::string ColorRef(const ColorValue& c)
{
    char text[COLOR_TEXT_SIZE];
    return FormatColorRefLiteral(c, text);
}

TEST(ColorText, FormatsTheFourKindsOfCode)
{
    const struct {
        uint32_t rgb;
        const char* cssRgb;
        const char* cssHsl;
        const char* win32;
        const char* colorRef;
    } cases[] = {
        {0xFF8000, "rgb(255, 128, 0)", "hsl(30, 100%, 50%)", "RGB(255, 128, 0)", "0x000080FF"},
        {0x000000, "rgb(0, 0, 0)", "hsl(0, 0%, 0%)", "RGB(0, 0, 0)", "0x00000000"},
        {0xFFFFFF, "rgb(255, 255, 255)", "hsl(0, 0%, 100%)", "RGB(255, 255, 255)", "0x00FFFFFF"},
        // Leading zeros kept, letters upper case, blue in the high byte.
        {0x010203, "rgb(1, 2, 3)", "hsl(210, 50%, 1%)", "RGB(1, 2, 3)", "0x00030201"},
        {0xABCDEF, "rgb(171, 205, 239)", "hsl(210, 68%, 80%)", "RGB(171, 205, 239)", "0x00EFCDAB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cssRgb);
        const ColorValue color = Rgb(c.rgb);
        EXPECT_EQ(c.cssRgb, CssRgb(color));
        EXPECT_EQ(c.cssHsl, CssHsl(color));
        EXPECT_EQ(c.win32, Win32Rgb(color));
        EXPECT_EQ(c.colorRef, ColorRef(color));
    }

    // An Hsb-form colour is written from its computed red, green and blue.
    ColorValue hsb{};
    hsb.SetHsb(21846, 65535, 65535);
    EXPECT_EQ("rgb(0, 255, 0)", CssRgb(hsb));
    EXPECT_EQ("hsl(120, 100%, 50%)", CssHsl(hsb));
    EXPECT_EQ("RGB(0, 255, 0)", Win32Rgb(hsb));
    EXPECT_EQ("0x0000FF00", ColorRef(hsb));
}

TEST(ColorText, HslOfGreysPrimariesAndSecondaries)
{
    const struct {
        uint32_t rgb;
        const char* text;
    } cases[] = {
        // Greys: no hue and no saturation, whatever the lightness.
        {0x808080, "hsl(0, 0%, 50%)"},
        {0x010101, "hsl(0, 0%, 0%)"},
        {0xFEFEFE, "hsl(0, 0%, 100%)"},
        {0xFF0000, "hsl(0, 100%, 50%)"},
        {0x00FF00, "hsl(120, 100%, 50%)"},
        {0x0000FF, "hsl(240, 100%, 50%)"},
        {0x00FFFF, "hsl(180, 100%, 50%)"},
        {0xFF00FF, "hsl(300, 100%, 50%)"},
        {0xFFFF00, "hsl(60, 100%, 50%)"},
        {0x800000, "hsl(0, 100%, 25%)"},
        // One of each sector formula, away from the primaries: red, green and blue highest.
        {0xC86432, "hsl(20, 60%, 49%)"},
        {0x64C896, "hsl(150, 48%, 59%)"},
        {0x3264C8, "hsl(220, 60%, 49%)"},
        {0x1A2B3C, "hsl(210, 40%, 17%)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.text, CssHsl(Rgb(c.rgb)));
    }
}

TEST(ColorText, HslRoundsHalfUpAndWrapsTheHue)
{
    const struct {
        uint32_t rgb;
        const char* text;
    } cases[] = {
        {0xFF0002, "hsl(0, 100%, 50%)"},    // hue 359.53 rounds to 360, which is 0
        {0xFF0001, "hsl(0, 100%, 50%)"},    // 359.76
        {0xFF0003, "hsl(359, 100%, 50%)"},  // 359.29
        {0x010800, "hsl(113, 100%, 2%)"},   // hue 112.5 exactly, lightness 1.57
        {0x090707, "hsl(0, 13%, 3%)"},      // saturation 12.5 exactly
        {0xFFFFFD, "hsl(60, 100%, 100%)"},  // lightness 99.61
        {0xFFFFFC, "hsl(60, 100%, 99%)"},   // lightness 99.41
        {0x020101, "hsl(0, 33%, 1%)"},      // lightness 0.59, saturation 33.3
        {0x010000, "hsl(0, 100%, 0%)"},     // lightness 0.20
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.text, CssHsl(Rgb(c.rgb)));
    }
}

// CSS's own HSL to RGB, in doubles, 0..255 per channel.
void HslToRgb(double hue, double saturation, double lightness, double rgb[3])
{
    const double s = saturation / 100, l = lightness / 100;
    const double a = s * std::min(l, 1 - l);
    const int n[3] = {0, 8, 4};
    for (int i = 0; i < 3; ++i) {
        const double k = std::fmod(n[i] + hue / 30, 12);
        rgb[i] = 255 * (l - a * std::max(-1.0, std::min({k - 3, 9 - k, 1.0})));
    }
}

TEST(ColorText, WholeHslLeadsBackToTheColour)
{
    // Rounding each part by at most half a unit moves a channel by less than 4 of 255; a wrong
    // sector, scale or wrap lands far off.
    int worst = 0;
    std::string worstColour;
    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 5) {
                const WholeHsl hsl = RgbToWholeHsl(r, g, b);
                ASSERT_LT(hsl.hue, 360) << r << "," << g << "," << b;
                ASSERT_LE(hsl.saturation, 100) << r << "," << g << "," << b;
                ASSERT_LE(hsl.lightness, 100) << r << "," << g << "," << b;
                double back[3];
                HslToRgb(hsl.hue, hsl.saturation, hsl.lightness, back);
                const int channel[3] = {r, g, b};
                for (int i = 0; i < 3; ++i) {
                    const int off = static_cast<int>(std::ceil(std::fabs(back[i] - channel[i])));
                    if (off > worst) {
                        worst = off;
                        worstColour = std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b);
                    }
                }
            }
    EXPECT_LE(worst, 4) << worstColour;
}

TEST(ColorText, PastedTextInEveryFormReadsAsItsColour)
{
    const struct {
        const char* text;
        uint32_t rgb;
    } cases[] = {
        {"#F80", 0xFF8800},
        {"#ff8000", 0xFF8000},
        {"Ff8000", 0xFF8000},
        {"  #FF8000 ;\r\n", 0xFF8000},
        {"rgb(255, 128, 0)", 0xFF8000},
        {"RGB(255,128,0);", 0xFF8000},
        {"rgba( 255 , 128 , 0 , 0.5 )", 0xFF8000},
        {"rgb(255 128 0)", 0xFF8000},
        {"rgb(255 128 0 / 50%)", 0xFF8000},
        {"rgb(100%, 50%, 0%)", 0xFF8000},  // 127.5 rounds up
        {"rgb(0%, 20%, 100%)", 0x0033FF},
        {"hsl(30, 100%, 50%)", 0xFF8000},
        {"HSL(30DEG 100% 50%)", 0xFF8000},
        {"hsla(390, 100%, 50%, 1)", 0xFF8000},  // a hue past a turn
        {"hsl(-330, 100%, 50%)", 0xFF8000},
        {"hsl(120, 100%, 25%)", 0x008000},  // CSS's "green"
        {"hsl(0, 0%, 50%)", 0x808080},
        {"hsl(240 100% 50% / 0.3)", 0x0000FF},
        {"0x000080FF", 0xFF8000},  // blue in the high byte
        {"0x80ff", 0xFF8000},
        {"0XFFFFFF", 0xFFFFFF},
        {"cornflowerblue", 0x6495ED},
        {"Cyan", 0x00FFFF},
        {"MAGENTA;", 0xFF00FF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ColorValue color{};
        color.SetHsb(1, 2, 3);
        ASSERT_TRUE(ParseColorText(c.text, &color));
        EXPECT_EQ(ColorForm::Rgb, color.form);
        EXPECT_EQ(HexOf(c.rgb), HexOf(color.GetRgb()));
    }

    // Near misses: nothing clamped, guessed or mixed, nothing before or after.
    for (const char* text : {"",
                             " ",
                             "#",
                             "#FF80",
                             "#FF80000",
                             "FF800",
                             "FF80000",
                             "#GG0000",
                             "# FF8000",
                             "rgb(300, 0, 0)",
                             "rgb(1, 2)",
                             "rgb(1, 2, 3, 4, 5)",
                             "rgb(50%, 0, 0)",
                             "rgb(1.5, 2, 3)",
                             "rgb(-1, 2, 3)",
                             "rgb(1 2, 3)",
                             "rgb(1, 2, 3 / 1)",
                             "rgb(1 2 3, 1)",
                             "rgb(12 3)",
                             "rgb(101%, 0%, 0%)",
                             "rgb(1, 2, 3",
                             "rgb 1, 2, 3",
                             "rgb(1, 2, 3) x",
                             "rgb(1, 2, 3);;",
                             "hsl(0, 120%, 50%)",
                             "hsl(30, 100, 50%)",
                             "hsl(30%, 100%, 50%)",
                             "hsl(1rad, 100, 50%)",
                             "rgbx(1, 2, 3)",
                             "0x01000000",
                             "0x",
                             "0x000000001",
                             "redish",
                             "red blue",
                             "color: red"}) {
        ColorValue color{};
        color.SetRgb(0x123456);
        EXPECT_FALSE(ParseColorText(text, &color)) << '"' << text << '"';
        EXPECT_EQ(0x123456u, color.GetRgb()) << '"' << text << '"';
    }
}

TEST(ColorText, EveryCopiedTextPastesBack)
{
    std::mt19937 random(20261207);
    for (int i = 0; i < 4000; ++i) {
        const ColorValue color = Rgb(random() & 0xFFFFFF);
        char hex[HEX_TEXT_SIZE + 1] = "#";
        for (const std::string& text : {std::string(FormatHex(color, hex + 1, i & 1)), std::string(hex),
                                        CssRgb(color), Win32Rgb(color), ColorRef(color)}) {
            ColorValue back{};
            if (!ParseColorText(text.c_str(), &back) || back.GetRgb() != color.GetRgb())
                FAIL() << text << " came back as " << HexOf(back.GetRgb());
        }
        // Whole-number HSL cannot hold every colour: back within rounding, a channel at most 5 off.
        ColorValue back{};
        const std::string hsl = CssHsl(color);
        ASSERT_TRUE(ParseColorText(hsl.c_str(), &back)) << hsl;
        for (int shift : {0, 8, 16})
            ASSERT_LE(std::abs(int(back.GetRgb() >> shift & 0xFF) - int(color.GetRgb() >> shift & 0xFF)), 5)
                << hsl << " from " << HexOf(color.GetRgb()) << " came back as " << HexOf(back.GetRgb());
    }
}

}  // namespace
