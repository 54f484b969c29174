// Palette files: each format round trips, reads what other programs write, and refuses malformed
// Swatch Exchange files whole.
#include "color/palette_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "color/color_text.h"
#include "tests/unit/color_support.h"

namespace {

const PaletteFormat kFormats[] = {PALETTE_GPL, PALETTE_ASE, PALETTE_CSS, PALETTE_TEXT};

struct Read {
    PaletteReadResult result;
    std::vector<uint32_t> colors;
};

// Unused room keeps a sentinel, so a refused or short read that stored anything shows.
Read ReadAll(PaletteFormat format, const std::string& file, uint32_t room = 1000)
{
    Read read = {{}, std::vector<uint32_t>(room, 0xDEADBEEF)};
    read.result = ReadPalette(format, file.data(), file.size(), read.colors.data(), room);
    for (uint32_t i = read.result.added; i < room; ++i)
        EXPECT_EQ(0xDEADBEEFu, read.colors[i]) << "beyond the colours added, at " << i;
    read.colors.resize(read.result.added);
    return read;
}

std::string Write(PaletteFormat format, const std::vector<uint32_t>& colors, bool upper = true,
                  bool prefix = true)
{
    const uint32_t count = static_cast<uint32_t>(colors.size());
    const size_t size = WritePalette(format, colors.data(), count, upper, prefix, nullptr, 0);
    std::string file(size + 1, '*');
    EXPECT_EQ(size, WritePalette(format, colors.data(), count, upper, prefix, &file[0], size - 1));
    EXPECT_EQ(std::string(size + 1, '*'), file) << "one byte short, nothing is written";
    EXPECT_EQ(size, WritePalette(format, colors.data(), count, upper, prefix, &file[0], size + 1));
    EXPECT_EQ('*', file[size]);
    return file.substr(0, size);
}

// Swatch Exchange fields, big-endian as the published layout has them.
std::string U16(uint32_t v)
{
    return {static_cast<char>(v >> 8), static_cast<char>(v)};
}
std::string U32(uint32_t v)
{
    return U16(v >> 16) + U16(v & 0xFFFF);
}
std::string Block(uint32_t type, const std::string& body)
{
    return U16(type) + U32(static_cast<uint32_t>(body.size())) + body;
}
std::string Name(const std::string& ascii)
{
    std::string name = U16(static_cast<uint32_t>(ascii.size() + 1));
    for (char c : ascii)
        name += U16(static_cast<unsigned char>(c));
    return name + U16(0);
}
std::string Entry(const std::string& name, const char* model, std::vector<float> values, uint32_t type = 2)
{
    std::string body = Name(name) + model;
    for (float v : values) {
        uint32_t bits;
        memcpy(&bits, &v, 4);
        body += U32(bits);
    }
    return Block(0x0001, body + U16(type));
}
std::string Ase(uint32_t count, const std::string& blocks, uint32_t version = 0x00010000)
{
    return "ASEF" + U32(version) + U32(count) + blocks;
}

bool Near(uint32_t expected, uint32_t got)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>(expected >> shift & 255) - static_cast<int>(got >> shift & 255)) > 1)
            return false;
    return true;
}

TEST(PaletteFiles, FormatOfName)
{
    const char* names[] = {"a.gpl", "B.ASE", "c.Css", "d.txt",    "e.HEX", "x.y.css", "x.gplx",
                           "x.gp",  "x",     "x.",    "a.gpl\\b", "",      "a.ase/b"};
    const int formats[] = {PALETTE_GPL, PALETTE_ASE, PALETTE_CSS, PALETTE_TEXT, PALETTE_TEXT, PALETTE_CSS};
    for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i) {
        PaletteFormat format = static_cast<PaletteFormat>(99);  // no format: left alone when unnamed
        const bool named = i < sizeof formats / sizeof formats[0];
        EXPECT_EQ(named, PaletteFormatOfName(names[i], &format)) << names[i];
        EXPECT_EQ(named ? formats[i] : 99, static_cast<int>(format)) << names[i];
    }
}

// The bytes of one colour as each format writes it, then many through a write and a read.
TEST(PaletteFiles, WritesAndReadsBack)
{
    EXPECT_EQ("GIMP Palette\nName: Tintora\nColumns: 16\n#\n255 128   0\tFF8000\n  0  10 255\t000AFF\n",
              Write(PALETTE_GPL, {0xFF8000, 0x000AFF}));
    EXPECT_EQ(":root {\n  --color-1: #ff8000;\n  --color-2: #000aff;\n}\n",
              Write(PALETTE_CSS, {0xFF8000, 0x000AFF}));
    EXPECT_EQ("#FF8000\r\n", Write(PALETTE_TEXT, {0xFF8000}, true, true));
    EXPECT_EQ("ff8000\r\n", Write(PALETTE_TEXT, {0xFF8000}, false, false));
    EXPECT_EQ(Ase(1, Entry("FF8000", "RGB ", {1, 128.0f / 255, 0}, 0)), Write(PALETTE_ASE, {0xFF8000}));

    std::mt19937 random(20240611);
    std::vector<uint32_t> colors = {0x000000, 0xFFFFFF, 0x010203};
    while (colors.size() < 600)
        colors.push_back(random() & 0xFFFFFF);
    for (PaletteFormat format : kFormats)
        for (int options = 0; options < 4; ++options) {
            const Read read = ReadAll(format, Write(format, colors, options & 1, options & 2));
            EXPECT_FALSE(read.result.refused || read.result.notColors || read.result.didNotFit) << format;
            EXPECT_EQ(colors, read.colors) << format << " " << options;
        }
}

TEST(PaletteFiles, GimpPaletteAsShipped)
{
    const Read read =
        ReadAll(PALETTE_GPL, "\xEF\xBB\xBFGIMP Palette \r\nName: Named Colors\r\nColumns: 16\r\n#\r\n"
                             "# comment 1 2 3\r\n255 255 255\tWhite\r\n  0   0   0\tBlack\r\n\r\n"
                             " 18  52 86 Dark slate blue\n\t1\t2\t3\r255 0\tHalf\n256 0 0\tToo much\n"
                             "12 34 56x\n-1 0 0\n4294967296 0 0\n7 8 9");
    EXPECT_EQ((std::vector<uint32_t>{0xFFFFFF, 0x000000, 0x123456, 0x010203, 0x070809}), read.colors);
    EXPECT_EQ(5u, read.result.notColors);
    EXPECT_FALSE(read.result.refused);
    for (const char* header :
         {"", "1 2 3\n", "GIMP palette\n1 2 3\n", "# GIMP Palette\n", "GIMP Palette x\n1 2 3"})
        EXPECT_TRUE(ReadAll(PALETTE_GPL, header).result.refused) << header;
}

// Lab (D50) of known colours, from CSS Color 4's matrices: sRGB red 54.29 80.80 69.89, #777777
// 50 0 0.
TEST(PaletteFiles, SwatchExchangeAsOtherProgramsWriteIt)
{
    const std::string file =
        Ase(9, Block(0xC001, Name("Brand")) + Entry("Orange", "RGB ", {1, 128.0f / 255, 0}) +
                   Entry("Ink", "CMYK", {0.2f, 0.4f, 0.6f, 0.2f}, 1) + Block(0xC002, "") +
                   Entry("Red", "LAB ", {0.5429f, 80.80f, 69.89f}, 0) + Entry("Grey", "LAB ", {0.5f, 0, 0}) +
                   Entry("Bright", "LAB ", {0.5f, 127, -128}) + Entry("Dim", "Gray", {0.2f}) +
                   Entry("Odd", "HSV ", {0, 0, 0})) +
        "trailing bytes";
    const Read read = ReadAll(PALETTE_ASE, file);
    ColorValue bright{};
    ASSERT_TRUE(ParseColorText("lab(50 127 -128)", &bright));  // the pasted form of the same colour
    ASSERT_EQ(6u, read.colors.size());
    EXPECT_TRUE(Near(0xFF0000, read.colors[2]) && Near(0x777777, read.colors[3]))
        << HexOf(read.colors[2]) << " " << HexOf(read.colors[3]);
    // CMYK: 255 * 0.8 * 0.8 = 163.2 = A3 and so on.
    EXPECT_EQ((std::vector<uint32_t>{0xFF8000, 0xA37A52, read.colors[2], read.colors[3], bright.GetRgb(),
                                     0x333333}),
              read.colors);
    EXPECT_EQ(1u, read.result.notColors);
}

TEST(PaletteFiles, MalformedSwatchExchangeIsRefusedWhole)
{
    const std::string two = Entry("A", "RGB ", {1, 0, 0}) + Entry("B", "Gray", {1});
    const std::string malformed[] = {
        "",
        Ase(2, two).substr(0, Ase(2, two).size() - 1),
        "ASEG" + Ase(2, two).substr(4),
        Ase(2, two, 0x00020000),
        Ase(3, two),
        Ase(2, Entry("A", "RGB ", {1, 0, 0}) + U16(1) + U32(0xFFFFFFFF) + std::string(40, 0)),
        Ase(2, Entry("A", "RGB ", {1, 0, 0}) + U16(1) + U32(0xFFFFFFFA) + std::string(40, 0)),
        Ase(3, two + U16(1) + U32(34) + std::string(33, 0)),
        Ase(2, Entry("A", "RGB ", {1, 0, 0}) + Block(1, Name("B"))),
        Ase(2, Entry("A", "RGB ", {1, 0, 0}) + Block(1, U16(0xFFFF) + std::string(40, 'x'))),
        Ase(3, Block(0xC001, U16(9) + "ab") + two),
        Ase(2, Entry("A", "RGB ", {1, 0, 0}) + Block(1, Name("B") + "CMYK" + std::string(12, 0))),
    };
    EXPECT_FALSE(ReadAll(PALETTE_ASE, Ase(2, two)).result.refused);
    for (const std::string& file : malformed) {
        const Read read = ReadAll(PALETTE_ASE, file);
        EXPECT_TRUE(read.result.refused && !read.result.added) << testing::PrintToString(file);
    }
}

TEST(PaletteFiles, CssTakesTheDeclarationsThatAreColours)
{
    const std::string blanks(300, ' ');  // around a value they cost nothing; inside one it is too long
    const Read read = ReadAll(
        PALETTE_CSS, "/* brand: #000000; */\n:root { --brand: #ff8000; --gap: 4px; }\n"
                     "a:hover { color: rgb(0, 128, 255); margin: 0; z-index: 100000; font-family: facade }\n"
                     ".x{background:Tomato}\n.sm\\:tan { }\ni { color:" +
                         blanks + "tan\n" + blanks + "; --no: rgb(1," + blanks + "2, 3) }\n" +
                         "p { color: /* note */ #123 ; font: 12px/1.5 serif; }\n"
                         "@media (min-width: 10px) { b { border-color: hsl(120, 100%, 50%) } }");
    EXPECT_EQ((std::vector<uint32_t>{0xFF8000, 0x0080FF, 0xFF6347, 0xD2B48C, 0x112233, 0x00FF00}),
              read.colors);
    EXPECT_EQ(0u, read.result.notColors);
    const Read none = ReadAll(PALETTE_CSS, "body { margin: 0 }");
    EXPECT_FALSE(none.result.refused || none.result.added || none.result.notColors);
}

TEST(PaletteFiles, PlainTextSkipsCommentsAndCountsJunk)
{
    const std::string file =
        "\xEF\xBB\xBF#FF8000\r\n  ff8000 \t\n; note\n  // note\n\n rgb(1, 2, 3)\nnot a colour\r"
        "red\r0x00FF0000\nrgb(1," +
        std::string(300, ' ') + "2, 3)\n#fff" + std::string(1, '\0') + "x\n";
    const Read read = ReadAll(PALETTE_TEXT, file);
    EXPECT_EQ((std::vector<uint32_t>{0xFF8000, 0xFF8000, 0x010203, 0xFF0000, 0x0000FF}), read.colors);
    EXPECT_EQ(3u, read.result.notColors);
}

TEST(PaletteFiles, EmptyFilesAndRoom)
{
    for (PaletteFormat format : kFormats) {
        const Read empty = ReadAll(format, "");
        EXPECT_EQ(format == PALETTE_GPL || format == PALETTE_ASE, empty.result.refused) << format;
        EXPECT_EQ(0u, empty.result.added + empty.result.notColors + empty.result.didNotFit) << format;
        const std::vector<uint32_t> ten = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        const Read four = ReadAll(format, Write(format, ten), 4);
        EXPECT_EQ(std::vector<uint32_t>(ten.begin(), ten.begin() + 4), four.colors) << format;
        EXPECT_EQ(6u, four.result.didNotFit) << format;
        EXPECT_EQ(10u, ReadAll(format, Write(format, ten), 0).result.didNotFit) << format;
    }
}

// Ten megabytes are read to the end; a quadratic read would not finish within the test's time.
TEST(PaletteFiles, TenMegabyteTextIsReadWhole)
{
    std::string file;
    uint32_t colors = 0, junk = 0;
    for (uint32_t i = 0; file.size() < 10 << 20; ++i) {
        file += i % 10 == 9 ? "junk" : i % 10 == 8 ? "; note" : "#" + HexOf(i & 0xFFFFFF);
        file += "\r\n";
        colors += i % 10 < 8;
        junk += i % 10 == 9;
    }
    const Read read = ReadAll(PALETTE_TEXT, file, colors - 1);
    EXPECT_EQ(colors - 1, read.result.added);
    EXPECT_EQ(1u, read.result.didNotFit);
    EXPECT_EQ(junk, read.result.notColors);
}

}  // namespace
