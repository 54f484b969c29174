#include "color/named_colors.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

ColorValue Rgb(int r, int g, int b)
{
    ColorValue c{};
    c.SetRgb((r << 16) | (g << 8) | b);
    return c;
}

TEST(NamedColors, TableLookups)
{
    EXPECT_EQ(0xF0F8FFu, GetNamedColorValue(0));
    EXPECT_EQ(0x9ACD32u, GetNamedColorValue(139));
    EXPECT_EQ(0u, GetNamedColorValue(-1));
    EXPECT_EQ(0u, GetNamedColorValue(140));
    EXPECT_STREQ("LightGrey", NamedColorTable[FindNamedColor(Rgb(0xD3, 0xD3, 0xD3), false)].name);

    // Names are in alphabetical order, case-insensitively, with no duplicates.
    for (int i = 1; i < NAMED_COLOR_COUNT; ++i)
        EXPECT_LT(_stricmp(NamedColorTable[i - 1].name, NamedColorTable[i].name), 0) << i;
}

TEST(NamedColors, ExactAndNearestSearch)
{
    EXPECT_EQ(2, FindNamedColor(Rgb(0, 255, 255), false));
    EXPECT_EQ(2, FindNamedColor(Rgb(0, 255, 255), true));
    EXPECT_EQ(45, FindNamedColor(Rgb(255, 0, 255), false));
    EXPECT_EQ(-1, FindNamedColor(Rgb(1, 0, 0), false));
    EXPECT_EQ(7, FindNamedColor(Rgb(1, 0, 0), true));
    EXPECT_EQ(-1, FindNamedColor(Rgb(255, 255, 254), false));
    EXPECT_EQ(136, FindNamedColor(Rgb(255, 255, 254), true));  // White beats Snow and Ivory
}

TEST(NamedColors, EveryValueFindsItsFirstRow)
{
    for (int i = 0; i < NAMED_COLOR_COUNT; ++i) {
        int first = 0;
        while (NamedColorTable[first].value != NamedColorTable[i].value)
            ++first;
        ColorValue c{};
        c.SetRgb(NamedColorTable[i].value);
        EXPECT_EQ(first, FindNamedColor(c, false)) << NamedColorTable[i].name;
        EXPECT_EQ(first, FindNamedColor(c, true)) << NamedColorTable[i].name;
    }
}

TEST(NamedColors, CyanAndMagentaAreNeverFound)
{
    for (int r = 0; r < 256; r += 3)
        for (int g = 0; g < 256; g += 3)
            for (int b = 0; b < 256; b += 3) {
                const int32_t found = FindNamedColor(Rgb(r, g, b), true);
                if (found == 20 || found == 79)
                    FAIL() << r << "," << g << "," << b << " -> " << found;
            }
}

TEST(NamedColors, NearestIsTheSmallestCityBlockDistance)
{
    for (uint32_t seed = 1; seed < 5000; ++seed) {
        const uint32_t rgb = (seed * 2654435761u) & 0xFFFFFF;
        ColorValue c{};
        c.SetRgb(rgb);
        const int32_t found = FindNamedColor(c, true);
        auto distance = [&](uint32_t v) {
            return abs(int((v >> 16) & 255) - int(rgb >> 16)) +
                   abs(int((v >> 8) & 255) - int((rgb >> 8) & 255)) + abs(int(v & 255) - int(rgb & 255));
        };
        for (int i = 0; i < NAMED_COLOR_COUNT; ++i) {
            const int d = distance(NamedColorTable[i].value), best = distance(NamedColorTable[found].value);
            ASSERT_TRUE(d > best || (d == best && i >= found)) << std::hex << rgb << " row " << std::dec << i;
        }
    }
}

TEST(NamedColors, NamesFollowCopyRules)
{
    char name[100];
    EXPECT_EQ(9, GetColorName(Rgb(240, 248, 255), name, sizeof name, false));
    EXPECT_STREQ("AliceBlue", name);
    char small[5];
    EXPECT_EQ(4, GetColorName(Rgb(240, 248, 255), small, sizeof small, false));
    EXPECT_STREQ("Alic", small);
    EXPECT_EQ(9, GetColorName(Rgb(240, 248, 255), nullptr, 0, false));

    strcpy(name, "untouched");
    EXPECT_EQ(0, GetColorName(Rgb(1, 2, 3), name, sizeof name, false));
    EXPECT_STREQ("untouched", name);
    EXPECT_EQ(5, GetColorName(Rgb(1, 2, 3), name, sizeof name, true));
    EXPECT_STREQ("Black", name);
}

TEST(WebSafe, RoundsEachComponentToTheNearestMultipleOf51)
{
    ColorValue c = Rgb(25, 26, 230);
    RoundToWebSafe(c);
    EXPECT_EQ(0x0033FFu, c.GetRgb());
    c = Rgb(127, 128, 178);
    RoundToWebSafe(c);
    EXPECT_EQ(0x669999u, c.GetRgb());
    c = Rgb(26, 25, 0);
    RoundToWebSafe(c);
    EXPECT_EQ(0x330000u, c.GetRgb());

    for (int v = 0; v < 256; ++v) {
        ColorValue grey = Rgb(v, v, v);
        RoundToWebSafe(grey);
        const int rounded = grey.GetRed();
        EXPECT_EQ(0, rounded % 51) << v;
        EXPECT_LE(abs(rounded - v), 25) << v;
    }
}

TEST(WebSafe, JudgesTheShownRedGreenAndBlueInEitherForm)
{
    EXPECT_TRUE(IsWebSafe(Rgb(51, 102, 153)));
    EXPECT_FALSE(IsWebSafe(Rgb(52, 102, 153)));
    EXPECT_FALSE(IsWebSafe(Rgb(255, 255, 254)));

    // Reached through the hue and brightness fields from red: held as hue, saturation and
    // brightness, shown as web-safe red, green and blue.
    struct {
        int degrees;
        int percent;
        uint32_t rgb;
    } const reached[] = {{120, 100, 0x00FF00}, {240, 100, 0x0000FF}, {300, 100, 0xFF00FF},
                         {360, 100, 0xFF0000}, {0, 60, 0x990000},    {0, 20, 0x330000}};
    for (const auto& r : reached) {
        ColorValue c = Rgb(255, 0, 0);
        c.SetHue(DegreesToHue(r.degrees));
        c.SetBrightness(PercentToLevel(r.percent));
        ASSERT_EQ(ColorForm::Hsb, c.form);
        ASSERT_EQ(r.rgb, c.GetRgb()) << r.degrees << " " << r.percent;
        EXPECT_TRUE(IsWebSafe(c)) << std::hex << r.rgb;
        // Pressing the web-safe swatch leaves such a colour as it shows.
        ColorValue rounded = c;
        RoundToWebSafe(rounded);
        EXPECT_EQ(r.rgb, rounded.GetRgb());
    }

    // Black with a stray hue is still black.
    ColorValue hsb{};
    hsb.SetHsb(1000, 0, 0);
    EXPECT_TRUE(IsWebSafe(hsb));
    // Off the grid in Hsb form stays off it.
    hsb.SetHsb(0, 65535, PercentToLevel(50));
    ASSERT_NE(0u, hsb.GetRed() % 51);
    EXPECT_FALSE(IsWebSafe(hsb));
}

}  // namespace
