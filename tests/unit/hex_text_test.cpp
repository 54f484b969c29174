#include "color/hex_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/ansi_text.h"
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

// Text beyond ASCII reaches other programs as the characters it is, whichever code page the
// program runs in (UTF-8 by its manifest, which this test shares) and whichever the user's is,
// and comes back the same way.
TEST(Clipboard, TextBeyondAsciiGoesAndComesAsUnicode)
{
    const struct {
        const wchar_t* wide;
        const char* utf8;
    } texts[] = {
        {L"30\u00B0", "30\xC2\xB0"},
        {L"\u0426\u0432\u0435\u0442 #FF8000", "\xD0\xA6\xD0\xB2\xD0\xB5\xD1\x82 #FF8000"},
        {L"\u8272 \U0001F3A8", "\xE8\x89\xB2 \xF0\x9F\x8E\xA8"},
    };
    ASSERT_EQ(static_cast<UINT>(CP_UTF8), GetACP()) << "the program's manifest names UTF-8";
    for (const auto& text : texts) {
        ASSERT_TRUE(CopyTextToClipboard(nullptr, text.utf8));
        ASSERT_TRUE(OpenClipboard(nullptr));
        const auto* shared = static_cast<const wchar_t*>(GetClipboardData(CF_UNICODETEXT));
        EXPECT_EQ(std::wstring(text.wide), shared ? std::wstring(shared) : L"(none)");
        CloseClipboard();

        char read[64] = "";
        EXPECT_TRUE(ReadClipboardText(nullptr, read, sizeof(read)));
        EXPECT_STREQ(text.utf8, read);
        // What does not fit is not read at all.
        EXPECT_FALSE(ReadClipboardText(nullptr, read, strlen(text.utf8)));
    }
}

// A cut never leaves half a character: UTF-8 backs over continuation bytes, a double-byte code
// page (932, Japanese) walks from the start since its second bytes may look like anything.
TEST(WholeCharacters, ACutEndsOnACharacterBoundary)
{
    const struct {
        UINT codePage;
        const char* text;
        size_t limit;
        size_t whole;
    } cases[] = {
        {CP_UTF8, "ab", 5, 2},         // all of it fits
        {CP_UTF8, "a\xC2\xB0", 2, 1},  // a two-byte degree sign split
        {CP_UTF8, "a\xC2\xB0", 3, 3},
        {CP_UTF8, "\xE8\x89\xB2\xE8\x89\xB2", 5, 3},  // three-byte characters
        {CP_UTF8, "\xF0\x9F\x8E\xA8x", 3, 0},         // a four-byte one
        {CP_UTF8, "\xF0\x9F\x8E\xA8x", 4, 4},
        {932, "a\x95\x5C", 2, 1},  // its second byte is '\\'
        {932, "a\x95\x5C", 3, 3},
        {932, "\x95\x5C\x95\x5C", 3, 2},
        {1252, "\xE9t\xE9", 2, 2},  // one byte a character
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.codePage) + ", limit " + std::to_string(c.limit));
        EXPECT_EQ(c.whole, WholeCharacters(c.text, c.limit, c.codePage));
    }
    char cut[3];
    CopyWholeCharacters(cut, sizeof(cut), "a\xC2\xB0");
    EXPECT_STREQ("a", cut);
}

}  // namespace
