#include "color/hex_text.h"

#include <gtest/gtest.h>

#include <string>

#include "core/clipboard.h"
#include "tests/shared/clipboard_text.h"

namespace {

ColorValue Rgb(uint32_t rgb)
{
    ColorValue c{};
    c.SetRgb(rgb);
    return c;
}

std::string Hex(const ColorValue& c, bool upper)
{
    char text[HEX_TEXT_SIZE];
    return FormatHex(c, text, upper);
}

TEST(HexText, FormatsSixDigitsInTheAskedCase)
{
    EXPECT_EQ("FF8000", Hex(Rgb(0xFF8000), true));
    EXPECT_EQ("ff8000", Hex(Rgb(0xFF8000), false));
    EXPECT_EQ("000000", Hex(Rgb(0), true));
    EXPECT_EQ("FFFFFF", Hex(Rgb(0xFFFFFF), true));
    EXPECT_EQ("0A0B0C", Hex(Rgb(0x0A0B0C), true));

    // An Hsb-form colour is formatted from its computed components.
    ColorValue hsb{};
    hsb.SetHsb(21846, 65535, 65535);
    EXPECT_EQ("00FF00", Hex(hsb, true));
}

TEST(HexText, ParsesOneToSixDigitsOfEitherCase)
{
    for (const char* text : {"ff8000", "FF8000", "Ff8000"}) {
        ColorValue c{};
        ASSERT_TRUE(ParseHex(c, text)) << text;
        EXPECT_EQ(0xFF8000u, c.GetRgb()) << text;
    }
    ColorValue c{};
    ASSERT_TRUE(ParseHex(c, "F"));
    EXPECT_EQ(0x00000Fu, c.GetRgb());
    ASSERT_TRUE(ParseHex(c, "12345"));
    EXPECT_EQ(1, c.GetRed());
    EXPECT_EQ(35, c.GetGreen());
    EXPECT_EQ(69, c.GetBlue());

    // Success leaves the colour in Rgb form.
    c.SetHsb(1000, 2000, 3000);
    ASSERT_TRUE(ParseHex(c, "abcdef"));
    EXPECT_EQ(ColorForm::Rgb, c.form);
}

TEST(HexText, RejectedTextLeavesTheColourAlone)
{
    for (const char* text : {"", "#FF8000", "#FFF", "FF 000", "FF80G0", "1234567", "-1", "0x12", "ff800g"}) {
        ColorValue c{};
        c.SetHsb(1234, 5678, 9012);
        const ColorValue before = c;
        EXPECT_FALSE(ParseHex(c, text)) << '"' << text << '"';
        EXPECT_EQ(0, memcmp(&before, &c, sizeof c)) << '"' << text << '"';
    }
}

TEST(HexText, ParsingTheFormattedTextRestoresEveryColour)
{
    for (uint32_t rgb = 0; rgb <= 0xFFFFFF; ++rgb) {
        char text[HEX_TEXT_SIZE];
        ColorValue parsed{};
        const bool upper = rgb & 1;
        if (!ParseHex(parsed, FormatHex(Rgb(rgb), text, upper)) || parsed.GetRgb() != rgb)
            FAIL() << "colour " << std::hex << rgb << " came back as " << parsed.GetRgb();
    }
}

TEST(FieldNumberTest, OnlyDigitsMakeANumber)
{
    auto parse = [](const char* text) {
        uint32_t value = 12345;
        return ParseFieldNumber(text, &value) ? static_cast<long long>(value) : -1LL;
    };
    EXPECT_EQ(0, parse(""));
    EXPECT_EQ(0, parse("   "));
    EXPECT_EQ(255, parse("255"));
    EXPECT_EQ(7, parse("007"));
    EXPECT_EQ(7, parse("  7"));
    EXPECT_EQ(12, parse(" 12\t "));
    for (const char* text : {"12a", "abc", "+12", "-1", "0x1F", "1.5", "1 2", "\xB2"})
        EXPECT_EQ(-1, parse(text)) << '"' << text << '"';
    // Past the range: still above every field's maximum, never wrapped round to a small value.
    EXPECT_EQ(4294967295LL, parse("4294967295"));
    EXPECT_EQ(4294967295LL, parse("4294967296"));
    EXPECT_EQ(4294967295LL, parse("99999999999999999999"));

    // The digits of a span of a longer text, as the saved colours' file holds them.
    const char line[] = "Color1234=56";
    uint32_t value = 0;
    EXPECT_TRUE(ParseDecimal(line + 5, line + 9, &value));
    EXPECT_EQ(1234u, value);
    EXPECT_FALSE(ParseDecimal(line, line + 9, &value));
    EXPECT_EQ(1234u, value) << "untouched on failure";
    EXPECT_TRUE(ParseDecimal(line + 10, line + 10, &value));
    EXPECT_EQ(0u, value);
}

TEST(Clipboard, CopiesTextAndClosesTheClipboard)
{
    ASSERT_TRUE(CopyTextToClipboard(nullptr, "#FF8000"));
    EXPECT_EQ(nullptr, GetOpenClipboardWindow());
    EXPECT_EQ("#FF8000", ClipboardText());

    ASSERT_TRUE(CopyTextToClipboard(nullptr, ""));
    EXPECT_EQ("", ClipboardText());
}

TEST(Clipboard, FailsWhileAnotherWindowHoldsIt)
{
    // The clipboard is per session: hold it open from a window of our own and try to copy.
    HWND holder = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    HWND other = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(holder));
    EXPECT_FALSE(CopyTextToClipboard(other, "abc"));
    CloseClipboard();
    DestroyWindow(holder);
    DestroyWindow(other);
    ASSERT_TRUE(CopyTextToClipboard(nullptr, "abc"));
    EXPECT_EQ("abc", ClipboardText());
}

}  // namespace
