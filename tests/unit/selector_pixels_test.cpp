// Selector pictures and mouse mapping: the fills are checked pixel by pixel against values
// worked out here from the axis formulas, and against ColorValue where the two agree.
#include "selector/selector_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The field at 96 DPI, plus sizes that are not a multiple of 8 columns, one exactly 8, and one
// wider than the column block the fill works in.
struct Size {
    int width;
    int height;
};
const Size kSizes[] = {{298, 292}, {13, 9}, {8, 2}, {2, 2}, {1100, 3}};

class Tables {
public:
    Tables(int width, int height) : width_(width), height_(height)
    {
        built_ = BuildSelectorTables(&tables_, width, height);
    }
    ~Tables() { FreeSelectorTables(&tables_); }
    Tables(const Tables&) = delete;
    Tables& operator=(const Tables&) = delete;

    bool built() const { return built_; }
    const SelectorTables& get() const { return tables_; }
    SelectorTables* raw() { return &tables_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    SelectorTables tables_{};
    int width_;
    int height_;
    bool built_ = false;
};

// A bottom-up picture with a band of known words on both sides, to catch stray writes.
class Picture {
public:
    static constexpr int kGuard = 64;
    static constexpr uint32_t kGuardWord = 0xA5C3E10Fu;

    Picture(int width, int height)
        : width_(width), height_(height), words_(static_cast<size_t>(width) * height + 2 * kGuard, kGuardWord)
    {}

    uint32_t* pixels() { return words_.data() + kGuard; }
    uint32_t at(int x, int y) const { return words_[kGuard + static_cast<size_t>(y) * width_ + x]; }
    void Pattern()
    {
        for (int i = 0; i < width_ * height_; ++i) {
            pixels()[i] = static_cast<uint32_t>(i) * 2654435761u & 0xFFFFFFu;
        }
    }
    bool GuardsIntact() const
    {
        for (int i = 0; i < kGuard; ++i) {
            if (words_[i] != kGuardWord || words_[words_.size() - 1 - i] != kGuardWord) {
                return false;
            }
        }
        return true;
    }
    const std::vector<uint32_t>& words() const { return words_; }

private:
    int width_;
    int height_;
    std::vector<uint32_t> words_;
};

BITMAPINFOHEADER Header(int width, int height)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    return header;
}

ColorValue Rgb(uint32_t rgb)
{
    ColorValue c{};
    c.SetRgb(rgb);
    return c;
}

ColorValue Hsb(uint32_t hue, uint32_t saturation, uint32_t brightness)
{
    ColorValue c{};
    c.SetHsb(hue, saturation, brightness);
    return c;
}

std::string Hex(uint32_t word)
{
    char text[16];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(word));
    return text;
}

uint32_t Ramp16(int i, int count)
{
    return static_cast<uint32_t>(static_cast<uint64_t>(i) * 65535 / (count - 1));
}

uint32_t Ramp8(int i, int count)
{
    return static_cast<uint32_t>(static_cast<uint64_t>(i) * 255 / (count - 1));
}

// The field's own fixed point: full level 65536, products shifted rather than divided.
uint32_t FieldHsbPixel(uint32_t h, uint32_t s, uint32_t v)
{
    const uint64_t f = (h % 10923) * 6;
    const uint64_t full = 65536;
    const uint64_t p = 65535 - s;
    const uint64_t q = 65535 - ((s * f) >> 16);
    const uint64_t t = 65535 - ((s * (65535 - f)) >> 16);
    const uint64_t levels[6][3] = {{full, t, p}, {q, full, p}, {p, full, t},
                                   {p, q, full}, {t, p, full}, {full, p, q}};
    const uint64_t* level = levels[h / 10923];
    uint32_t word = 0;
    for (int c = 0; c < 3; ++c) {
        word = word << 8 | static_cast<uint32_t>((level[c] * v) >> 24);
    }
    return word;
}

// The current colour's six components, read once per picture.
struct Components {
    explicit Components(const ColorValue& c)
        : red(c.GetRed()), green(c.GetGreen()), blue(c.GetBlue()), hue(c.GetHue()),
          saturation(c.GetSaturation()), brightness(c.GetBrightness())
    {}
    uint32_t red, green, blue, hue, saturation, brightness;
};

// The field pixel worked out from the axis table, one pixel at a time.
uint32_t ExpectedField(uint32_t mode, const Components& cur, int x, int y, int width, int height)
{
    const uint32_t col8 = Ramp8(x, width);
    const uint32_t row8 = Ramp8(y, height);
    const uint32_t col16 = Ramp16(x, width);
    const uint32_t row16 = Ramp16(y, height);
    switch (mode) {
    case 0:
        return cur.red << 16 | col8 << 8 | row8;
    case 1:
        return col8 << 16 | cur.green << 8 | row8;
    case 2:
        return col8 << 16 | row8 << 8 | cur.blue;
    case 3:
        return FieldHsbPixel(cur.hue, col16, row16);
    case 4:
        return FieldHsbPixel(col16, cur.saturation, row16);
    default:
        return FieldHsbPixel(col16, row16, cur.brightness);
    }
}

// Hue, saturation, brightness of field pixel (x, y) in the HSB modes.
ColorValue FieldPointHsb(uint32_t mode, const ColorValue& cur, int x, int y, int width, int height)
{
    const uint32_t col = Ramp16(x, width);
    const uint32_t row = Ramp16(y, height);
    switch (mode) {
    case 3:
        return Hsb(cur.GetHue(), col, row);
    case 4:
        return Hsb(col, cur.GetSaturation(), row);
    default:
        return Hsb(col, row, cur.GetBrightness());
    }
}

int Channel(uint32_t word, int c)
{
    return static_cast<int>(word >> (16 - 8 * c) & 0xFF);
}

// Colours for the field: every hue sector, both ends of every axis, and an Hsb-form colour for
// the RGB modes (the fill must read it through the getters).
std::vector<ColorValue> FieldColours()
{
    std::vector<ColorValue> colours = {Rgb(0xFF0000), Rgb(0x000000), Rgb(0xFFFFFF),
                                       Rgb(0xC86432), Rgb(0x808080), Hsb(40000, 30000, 50000)};
    for (uint32_t hue : {0u, 5000u, 10922u, 10923u, 20000u, 32767u, 43692u, 54614u, 65535u}) {
        colours.push_back(Hsb(hue, 65535, 65535));
        colours.push_back(Hsb(hue, 20000, 256));
    }
    colours.push_back(Hsb(12345, 1, 65535));
    colours.push_back(Hsb(33333, 65535, 255));
    return colours;
}

}  // namespace

// ---- tables -------------------------------------------------------------------------------

TEST(SelectorTables, RampsFollowTheirFormulas)
{
    for (const Size& size : kSizes) {
        Tables tables(size.width, size.height);
        ASSERT_TRUE(tables.built()) << size.width << "x" << size.height;
        const SelectorTables& t = tables.get();
        for (int x = 0; x < size.width; ++x) {
            ASSERT_EQ(Ramp16(x, size.width), t.columnRamp16[x]) << "column " << x;
            ASSERT_EQ(Ramp8(x, size.width), t.columnRamp8[x]) << "column " << x;
            ASSERT_EQ(Ramp8(x, size.width) << 16, t.columnRed[x]) << "column " << x;
            ASSERT_EQ(Ramp8(x, size.width) << 8, t.columnGreen[x]) << "column " << x;
        }
        for (int y = 0; y < size.height; ++y) {
            ASSERT_EQ(Ramp16(y, size.height), t.rowRamp16[y]) << "row " << y;
            ASSERT_EQ(Ramp8(y, size.height), t.rowRamp8[y]) << "row " << y;
            ASSERT_EQ(Ramp8(y, size.height) << 8, t.rowGreen[y]) << "row " << y;
            ASSERT_EQ(Ramp8(y, size.height), t.rowBlue[y]) << "row " << y;
        }
        EXPECT_EQ(65535, t.columnRamp16[size.width - 1]);
        EXPECT_EQ(255, t.rowRamp8[size.height - 1]);
    }
}

TEST(SelectorTables, FreeReleasesEveryTableOnceAndRefusesDegenerateSizes)
{
    Tables tables(30, 20);
    ASSERT_TRUE(tables.built());
    FreeSelectorTables(tables.raw());
    const SelectorTables& t = tables.get();
    EXPECT_FALSE(t.columnRamp16);
    EXPECT_FALSE(t.rowRamp16);
    EXPECT_FALSE(t.columnRamp8);
    EXPECT_FALSE(t.rowRamp8);
    EXPECT_FALSE(t.columnRed);
    EXPECT_FALSE(t.columnGreen);
    EXPECT_FALSE(t.rowGreen);
    EXPECT_FALSE(t.rowBlue);
    FreeSelectorTables(tables.raw());  // a second release must be harmless

    // One column or row would divide by zero in the ramps.
    Tables narrow(1, 20);
    EXPECT_FALSE(narrow.built());
    Tables flat(20, 1);
    EXPECT_FALSE(flat.built());
}

// ---- field fill ---------------------------------------------------------------------------

TEST(SelectorField, EveryPixelOfEveryModeMatchesItsAxes)
{
    const std::vector<ColorValue> colours = FieldColours();
    for (const Size& size : kSizes) {
        Tables tables(size.width, size.height);
        ASSERT_TRUE(tables.built());
        Picture picture(size.width, size.height);
        for (uint32_t mode = 0; mode < 6; ++mode) {
            for (size_t k = 0; k < colours.size(); ++k) {
                const ColorValue& cur = colours[k];
                const Components components(cur);
                FillField(picture.pixels(), size.width, size.height, mode, cur, tables.get());
                ASSERT_TRUE(picture.GuardsIntact())
                    << "mode " << mode << " wrote outside " << size.width << "x" << size.height;
                for (int y = 0; y < size.height; ++y) {
                    for (int x = 0; x < size.width; ++x) {
                        const uint32_t want = ExpectedField(mode, components, x, y, size.width, size.height);
                        const uint32_t got = picture.at(x, y);
                        ASSERT_EQ(want, got)
                            << Hex(want) << " wanted, " << Hex(got) << " found: mode " << mode << ", colour #"
                            << k << ", " << size.width << "x" << size.height << ", pixel " << x << "," << y;
                    }
                }
            }
        }
    }
}

// The field scales by shifts with a full level of 65536, ColorValue by division with 65535;
// the two differ by far less than one unit before truncation, so at most 1 per channel after.
TEST(SelectorField, HsbModesAgreeWithColorValueToOneUnit)
{
    const int width = 298;
    const int height = 292;
    Tables tables(width, height);
    ASSERT_TRUE(tables.built());
    Picture picture(width, height);
    const int points[][2] = {{0, 0},     {width - 1, 0}, {0, height - 1}, {width - 1, height - 1},
                             {149, 146}, {37, 201},      {250, 13},       {100, 280}};
    for (uint32_t mode = 3; mode < 6; ++mode) {
        for (const ColorValue& cur : FieldColours()) {
            FillField(picture.pixels(), width, height, mode, cur, tables.get());
            for (const auto& point : points) {
                const int x = point[0];
                const int y = point[1];
                const uint32_t want = FieldPointHsb(mode, cur, x, y, width, height).GetRgb();
                const uint32_t got = picture.at(x, y);
                for (int c = 0; c < 3; ++c) {
                    EXPECT_LE(std::abs(Channel(want, c) - Channel(got, c)), 1)
                        << "mode " << mode << ", pixel " << x << "," << y << ": field " << Hex(got)
                        << ", ColorValue " << Hex(want);
                }
            }
        }
    }
}

TEST(SelectorField, RedModeRunsFromRedToWhiteWithTheMarkerInTheCorner)
{
    const int width = 298;
    const int height = 292;
    Tables tables(width, height);
    ASSERT_TRUE(tables.built());
    Picture picture(width, height);
    const ColorValue red = Rgb(0xFF0000);
    FillField(picture.pixels(), width, height, AxisRed, red, tables.get());
    EXPECT_EQ(Hex(0xFF0000), Hex(picture.at(0, 0)));                   // bottom left
    EXPECT_EQ(Hex(0xFFFFFF), Hex(picture.at(width - 1, height - 1)));  // top right
    EXPECT_EQ(Hex(0xFF00FF), Hex(picture.at(0, height - 1)));          // top left: blue up
    EXPECT_EQ(Hex(0xFFFF00), Hex(picture.at(width - 1, 0)));           // bottom right: green across
    const POINT marker = FieldMarkerPosition(AxisRed, red, width, height);
    EXPECT_EQ(0, marker.x);
    EXPECT_EQ(0, marker.y);
}

TEST(SelectorField, HueModeOfAGreyIsGreyAtTheLeftAndBlackAtTheBottom)
{
    const ColorValue grey = Rgb(0x808080);
    {
        const int width = 13;
        const int height = 9;
        Tables tables(width, height);
        ASSERT_TRUE(tables.built());
        Picture picture(width, height);
        FillField(picture.pixels(), width, height, AxisHue, grey, tables.get());
        for (int y = 0; y < height; ++y) {
            const uint32_t word = picture.at(0, y);
            EXPECT_EQ(Channel(word, 0), Channel(word, 1)) << "row " << y << ": " << Hex(word);
            EXPECT_EQ(Channel(word, 0), Channel(word, 2)) << "row " << y << ": " << Hex(word);
        }
        EXPECT_EQ(Hex(0xFFFFFF), Hex(picture.at(0, height - 1)));
        for (int x = 0; x < width; ++x) {
            EXPECT_EQ(Hex(0), Hex(picture.at(x, 0))) << "column " << x;
        }
        EXPECT_EQ(0, FieldMarkerPosition(AxisHue, grey, width, height).x);
    }
    {
        // Where a row's brightness is a multiple of 256, red's full level of 65536 carries one
        // unit that green and blue (p = 65535 at saturation 0) do not: row 133 of the real field
        // has brightness 29952.
        const int width = 298;
        const int height = 292;
        Tables tables(width, height);
        ASSERT_TRUE(tables.built());
        ASSERT_EQ(29952, tables.get().rowRamp16[133]);
        Picture picture(width, height);
        FillField(picture.pixels(), width, height, AxisHue, grey, tables.get());
        EXPECT_EQ(Hex(0x757474), Hex(picture.at(0, 133)));
        EXPECT_EQ(Hex(0x747474), Hex(picture.at(0, 132)));
    }
}

// ---- field marker -------------------------------------------------------------------------

TEST(SelectorMarker, PositionFollowsTheModesAxes)
{
    const int width = 298;
    const int height = 292;
    const ColorValue rgb = Rgb(0xC86432);  // 200, 100, 50
    const ColorValue hsb = Hsb(40000, 30000, 50000);
    // Each mode's field: the other two components across and up.
    const struct {
        uint32_t mode;
        const ColorValue& color;
        int x, y;
    } modes[] = {
        {AxisRed, rgb, 100 * 297 / 255, 50 * 291 / 255},
        {AxisGreen, rgb, 200 * 297 / 255, 50 * 291 / 255},
        {AxisBlue, rgb, 200 * 297 / 255, 100 * 291 / 255},
        {AxisHue, hsb, 30000 * 297 / 65535, 50000 * 291 / 65535},
        {AxisSaturation, hsb, 40000 * 297 / 65535, 50000 * 291 / 65535},
        {AxisBrightness, hsb, 40000 * 297 / 65535, 30000 * 291 / 65535},
    };
    for (const auto& m : modes) {
        const POINT marker = FieldMarkerPosition(m.mode, m.color, width, height);
        EXPECT_EQ(m.x, marker.x) << "mode " << m.mode;
        EXPECT_EQ(m.y, marker.y) << "mode " << m.mode;
    }

    // The largest components land on the last column and row, inside the field.
    const POINT top = FieldMarkerPosition(AxisHue, Hsb(0, 65535, 65535), width, height);
    EXPECT_EQ(width - 1, top.x);
    EXPECT_EQ(height - 1, top.y);
}

TEST(SelectorMarker, InvertsAHollowClippedCrossAndTwiceRestores)
{
    const int width = 40;
    const int height = 30;
    const int places[][2] = {{0, 0},   {width - 1, 0},  {0, height - 1}, {width - 1, height - 1},
                             {20, 15}, {3, height - 2}, {width - 4, 2},  {5, 5}};
    for (const auto& place : places) {
        const int mx = place[0];
        const int my = place[1];
        Picture picture(width, height);
        picture.Pattern();
        const std::vector<uint32_t> before = picture.words();

        XorFieldMarker(picture.pixels(), width, height, mx, my);
        ASSERT_TRUE(picture.GuardsIntact()) << "marker at " << mx << "," << my;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool onRow = y == my && std::abs(x - mx) <= 5;
                const bool onColumn = x == mx && std::abs(y - my) <= 5;
                const uint32_t old = before[Picture::kGuard + static_cast<size_t>(y) * width + x];
                const uint32_t want = onRow != onColumn ? old ^ 0xFFFFFFu : old;
                ASSERT_EQ(Hex(want), Hex(picture.at(x, y)))
                    << "marker at " << mx << "," << my << ", pixel " << x << "," << y;
            }
        }

        XorFieldMarker(picture.pixels(), width, height, mx, my);
        EXPECT_TRUE(picture.words() == before) << "marker at " << mx << "," << my;
    }
}

// ---- strips -------------------------------------------------------------------------------

TEST(SelectorStrip, GradientStepsFromTheExactBottomTowardsTheTop)
{
    const uint32_t pairs[][2] = {
        {0xFF0000, 0x000000}, {0x00FF80, 0xFF0000}, {0xFFFFFF, 0x000000}, {0x102030, 0xF0E0D0}};
    for (int height : {100, 171, 7, 1}) {
        const int width = 5;
        const BITMAPINFOHEADER header = Header(width, height);
        for (const auto& pair : pairs) {
            Picture picture(width, height);
            FillGradientStrip(pair[0], pair[1], picture.pixels(), header);
            ASSERT_TRUE(picture.GuardsIntact());
            EXPECT_EQ(Hex(pair[1]), Hex(picture.at(0, 0)));
            for (int i = 0; i < height; ++i) {
                uint32_t want = 0;
                for (int c = 0; c < 3; ++c) {
                    const int bottom = Channel(pair[1], c);
                    const int span = Channel(pair[0], c) - bottom;
                    // Exact fractions, truncated toward zero; for these colours and heights
                    // the double product never falls on the wrong side of an integer.
                    want = want << 8 | static_cast<uint32_t>(bottom + span * i / height);
                }
                for (int x = 0; x < width; ++x) {
                    ASSERT_EQ(Hex(want), Hex(picture.at(x, i)))
                        << Hex(pair[0]) << " over " << Hex(pair[1]) << ", height " << height << ", row " << i
                        << ", column " << x;
                }
            }
        }
    }
}

// The steps are double-precision products, truncated: 180 x double(0.7) falls just short of 126,
// so row 7 of 10 keeps one unit that an exact fraction would take. And x87 intermediates must
// not leak in: 80-bit 175 x 5/7 lands just above -125 where the double product is exactly -125.
TEST(SelectorStrip, GradientStepsAreDoublePrecisionProducts)
{
    Picture tenRows(3, 10);
    FillGradientStrip(0x000000, 0xB40000, tenRows.pixels(), Header(3, 10));
    EXPECT_EQ(Hex(0x370000), Hex(tenRows.at(1, 7)));  // 180 - 125
    Picture sevenRows(3, 7);
    FillGradientStrip(0x000000, 0xAF0000, sevenRows.pixels(), Header(3, 7));
    EXPECT_EQ(Hex(0x320000), Hex(sevenRows.at(1, 5)));  // 175 - 125
}

TEST(SelectorStrip, SliderStripShowsTheCurrentColourAlongTheSlidersAxis)
{
    const int width = 8;
    const int hs = 100;
    const BITMAPINFOHEADER header = Header(width, hs);
    Picture picture(width, hs);

    // Black in red mode: the top row stops one step short of pure red.
    FillSliderStrip(picture.pixels(), header, AxisRed, Rgb(0x000000));
    EXPECT_EQ(Hex(0x000000), Hex(picture.at(0, 0)));
    EXPECT_EQ(Hex(0xFC0000), Hex(picture.at(width - 1, hs - 1)));

    const ColorValue cur = Rgb(0x0A141E);  // 10, 20, 30
    FillSliderStrip(picture.pixels(), header, AxisGreen, cur);
    EXPECT_EQ(Hex(0x0A001E), Hex(picture.at(0, 0)));
    EXPECT_EQ(Hex(0x0A331E), Hex(picture.at(3, 20)));  // 255 * 20 / 100 = 51 in green
    EXPECT_EQ(Hex(0x0AFC1E), Hex(picture.at(0, hs - 1)));
    FillSliderStrip(picture.pixels(), header, AxisBlue, cur);
    EXPECT_EQ(Hex(0x0A1400), Hex(picture.at(0, 0)));
    EXPECT_EQ(Hex(0x0A14FC), Hex(picture.at(0, hs - 1)));

    // Hue: each row is the colour with that row's hue, keeping its saturation and brightness.
    const ColorValue warm = Rgb(0xC86432);
    FillSliderStrip(picture.pixels(), header, AxisHue, warm);
    ASSERT_TRUE(picture.GuardsIntact());
    for (int y : {0, 1, 17, 50, 83, hs - 1}) {
        ColorValue row = warm;
        row.SetHue(static_cast<uint32_t>(y) * 65535 / hs);
        EXPECT_EQ(Hex(row.GetRgb()), Hex(picture.at(width - 1, y))) << "row " << y;
    }
    EXPECT_EQ(Channel(picture.at(0, 0), 0), 200) << "hue 0 keeps the red maximum";

    // Saturation and brightness: from the colour with that component 0 up to its maximum.
    FillSliderStrip(picture.pixels(), header, AxisSaturation, warm);
    ColorValue grey = warm;
    grey.SetSaturation(0);
    EXPECT_EQ(Hex(grey.GetRgb()), Hex(picture.at(0, 0)));
    EXPECT_EQ(Hex(0xC8C8C8), Hex(picture.at(0, 0)));
    ColorValue vivid = warm;
    vivid.SetSaturation(65535);
    const int vividGreen = Channel(vivid.GetRgb(), 1);
    EXPECT_EQ(200 + (vividGreen - 200) * (hs - 1) / hs, Channel(picture.at(0, hs - 1), 1));
    EXPECT_EQ(200 - 200 * (hs - 1) / hs, Channel(picture.at(0, hs - 1), 2));

    FillSliderStrip(picture.pixels(), header, AxisBrightness, warm);
    EXPECT_EQ(Hex(0x000000), Hex(picture.at(0, 0)));
    ColorValue bright = warm;
    bright.SetBrightness(65535);
    EXPECT_EQ(255, Channel(bright.GetRgb(), 0));
    EXPECT_EQ(255 * (hs - 1) / hs, Channel(picture.at(0, hs - 1), 0));
    EXPECT_TRUE(picture.GuardsIntact());
}

TEST(SelectorStrip, ReferenceStripDependsOnlyOnTheMode)
{
    const int width = 6;
    const int hs = 171;
    const BITMAPINFOHEADER header = Header(width, hs);
    Picture picture(width, hs);
    const int top = 255 * (hs - 1) / hs;  // one step short of 255

    for (uint32_t mode = 0; mode < 3; ++mode) {
        FillReferenceStrip(picture.pixels(), header, mode);
        EXPECT_EQ(Hex(0), Hex(picture.at(0, 0))) << "mode " << mode;
        const uint32_t topWord = static_cast<uint32_t>(top) << (16 - 8 * mode);
        EXPECT_EQ(Hex(topWord), Hex(picture.at(width - 1, hs - 1))) << "mode " << mode;
    }

    FillReferenceStrip(picture.pixels(), header, AxisHue);
    for (int y : {0, 1, 28, 57, 85, 114, 142, hs - 1}) {
        EXPECT_EQ(Hex(Hsb(static_cast<uint32_t>(y) * 65535 / hs, 65535, 65535).GetRgb()),
                  Hex(picture.at(2, y)))
            << "row " << y;
    }
    EXPECT_EQ(Hex(0xFF0000), Hex(picture.at(0, 0)));

    // Saturation: white (none) at the bottom towards pure red at the top.
    FillReferenceStrip(picture.pixels(), header, AxisSaturation);
    EXPECT_EQ(Hex(0xFFFFFF), Hex(picture.at(0, 0)));
    const uint32_t fading = 255 - 255 * (hs - 1) / hs;
    EXPECT_EQ(Hex(0xFF0000 | fading << 8 | fading), Hex(picture.at(0, hs - 1)));

    // Brightness: black at the bottom towards white at the top.
    FillReferenceStrip(picture.pixels(), header, AxisBrightness);
    EXPECT_EQ(Hex(0x000000), Hex(picture.at(0, 0)));
    const uint32_t t = static_cast<uint32_t>(top);
    EXPECT_EQ(Hex(t << 16 | t << 8 | t), Hex(picture.at(width - 1, hs - 1)));
    EXPECT_TRUE(picture.GuardsIntact());
}

// ---- slider -------------------------------------------------------------------------------

TEST(SelectorSlider, PositionScalesTheComponentToTheStrip)
{
    for (int hs = 1; hs < 256; ++hs) {
        EXPECT_EQ(hs - 1, SliderPosition(AxisRed, Rgb(0xFF0000), hs)) << "strip " << hs;
        EXPECT_EQ(hs - 1, SliderPosition(AxisHue, Hsb(65535, 0, 0), hs)) << "strip " << hs;
    }
    EXPECT_EQ(0, SliderPosition(AxisGreen, Rgb(0xFF00FF), 171));
    EXPECT_EQ(128 * 100 >> 8, SliderPosition(AxisBlue, Rgb(0x000080), 100));
    EXPECT_EQ(32768 * 171 >> 16, SliderPosition(AxisSaturation, Hsb(0, 32768, 100), 171));
    EXPECT_EQ(1000 * 171 >> 16, SliderPosition(AxisBrightness, Hsb(0, 32768, 1000), 171));
    // The green slider reads green even from an Hsb-form colour.
    EXPECT_EQ(255 * 171 >> 8, SliderPosition(AxisGreen, Hsb(21846, 65535, 65535), 171));
}

TEST(SelectorSlider, PointSetsOnlyTheSlidersComponentClampedToTheBar)
{
    const int h = 171;  // slider client height
    const int bottom = h - 5;
    const int bar = h - 10;

    struct Case {
        int y;
        uint32_t value8;
        uint32_t value16;
    };
    const Case cases[] = {
        {-1000, 255, 65535},  // far above
        {4, 255, 65535},      // above the bar's top edge
        {5, 255, 65535},      // the top edge
        {bottom - 80, 80 * 255 / bar, 80 * 65535 / bar},
        {bottom - 1, 255 / bar, 65535 / bar},
        {bottom, 0, 0},
        {bottom + 3, 0, 0},
        {5000, 0, 0},  // far below
    };
    for (const Case& c : cases) {
        ColorValue color = Rgb(0x0A141E);
        ApplySliderPoint(&color, AxisRed, c.y, bottom, bar);
        EXPECT_EQ(Hex(c.value8 << 16 | 0x141E), Hex(color.GetRgb())) << "red, y " << c.y;
        color = Rgb(0x0A141E);
        ApplySliderPoint(&color, AxisGreen, c.y, bottom, bar);
        EXPECT_EQ(Hex(0x0A001E | c.value8 << 8), Hex(color.GetRgb())) << "green, y " << c.y;
        color = Rgb(0x0A141E);
        ApplySliderPoint(&color, AxisBlue, c.y, bottom, bar);
        EXPECT_EQ(Hex(0x0A1400 | c.value8), Hex(color.GetRgb())) << "blue, y " << c.y;

        color = Hsb(1000, 2000, 3000);
        ApplySliderPoint(&color, AxisHue, c.y, bottom, bar);
        EXPECT_EQ(c.value16, color.GetHue()) << "hue, y " << c.y;
        EXPECT_EQ(2000, color.GetSaturation());
        EXPECT_EQ(3000, color.GetBrightness());
        color = Hsb(1000, 2000, 3000);
        ApplySliderPoint(&color, AxisSaturation, c.y, bottom, bar);
        EXPECT_EQ(1000, color.GetHue());
        EXPECT_EQ(c.value16, color.GetSaturation()) << "saturation, y " << c.y;
        EXPECT_EQ(3000, color.GetBrightness());
        color = Hsb(1000, 2000, 3000);
        ApplySliderPoint(&color, AxisBrightness, c.y, bottom, bar);
        EXPECT_EQ(1000, color.GetHue());
        EXPECT_EQ(2000, color.GetSaturation());
        EXPECT_EQ(c.value16, color.GetBrightness()) << "brightness, y " << c.y;
    }

    // An Rgb-form colour on the hue slider keeps the saturation and brightness it had.
    ColorValue rgb = Rgb(0xC86432);
    const uint16_t saturation = rgb.GetSaturation();
    const uint16_t brightness = rgb.GetBrightness();
    ApplySliderPoint(&rgb, AxisHue, 5, bottom, bar);
    EXPECT_EQ(65535, rgb.GetHue());
    EXPECT_EQ(saturation, rgb.GetSaturation());
    EXPECT_EQ(brightness, rgb.GetBrightness());
}

// ---- field point --------------------------------------------------------------------------

namespace {

// What the point set, read back along the mode's two field axes.
void FieldAxes(uint32_t mode, const ColorValue& c, uint32_t* x, uint32_t* y)
{
    switch (mode) {
    case 0:
        *x = c.GetGreen();
        *y = c.GetBlue();
        break;
    case 1:
        *x = c.GetRed();
        *y = c.GetBlue();
        break;
    case 2:
        *x = c.GetRed();
        *y = c.GetGreen();
        break;
    case 3:
        *x = c.GetSaturation();
        *y = c.GetBrightness();
        break;
    case 4:
        *x = c.GetHue();
        *y = c.GetBrightness();
        break;
    default:
        *x = c.GetHue();
        *y = c.GetSaturation();
        break;
    }
}

// The slider's own component, which a field point must leave alone.
uint32_t SliderAxis(uint32_t mode, const ColorValue& c)
{
    switch (mode) {
    case 0:
        return c.GetRed();
    case 1:
        return c.GetGreen();
    case 2:
        return c.GetBlue();
    case 3:
        return c.GetHue();
    case 4:
        return c.GetSaturation();
    default:
        return c.GetBrightness();
    }
}

}  // namespace

TEST(SelectorPoint, FieldPointSetsTheTwoAxesWithEachClampedAlone)
{
    // Small enough that row 1 and row 0 differ in 8 bits too.
    const int width = 12;
    const int height = 10;
    Tables tables(width, height);
    ASSERT_TRUE(tables.built());

    struct Case {
        int x;
        int y;
        int column;  // expected after clamping
        int row;     // from the bottom
    };
    const Case cases[] = {
        {0, height - 1, 0, 1},              // bottom row inside the control
        {5, height, 5, 0},                  // on the bottom edge
        {5, height + 40, 5, 0},             // below the field
        {7, 1, 7, height - 1},              // second row from the top
        {7, 0, 7, height - 1},              // top row: the same maximum
        {7, -5, 7, height - 1},             // above the field
        {-3, 4, 0, height - 4},             // left of the field, row unaffected
        {width, 4, width - 1, height - 4},  // right of the field
        {width + 99, -99, width - 1, height - 1},
        {-99, height + 99, 0, 0},
        {width - 1, 6, width - 1, height - 6},
    };
    for (uint32_t mode = 0; mode < 6; ++mode) {
        const bool rgbMode = mode < 3;
        for (const Case& c : cases) {
            ColorValue color = rgbMode ? Rgb(0x7B7B7B) : Hsb(12345, 23456, 34567);
            const uint32_t slider = SliderAxis(mode, color);
            ApplyFieldPoint(&color, mode, c.x, c.y, width, height, tables.get());
            uint32_t gotX = 0;
            uint32_t gotY = 0;
            FieldAxes(mode, color, &gotX, &gotY);
            const uint32_t wantX = rgbMode ? Ramp8(c.column, width) : Ramp16(c.column, width);
            const uint32_t wantY = rgbMode ? Ramp8(c.row, height) : Ramp16(c.row, height);
            EXPECT_EQ(wantX, gotX) << "mode " << mode << ", point " << c.x << "," << c.y;
            EXPECT_EQ(wantY, gotY) << "mode " << mode << ", point " << c.x << "," << c.y;
            EXPECT_EQ(slider, SliderAxis(mode, color)) << "mode " << mode;
        }
    }
    // The ends of the ramps really are the ends of the axes.
    ColorValue color = Hsb(0, 0, 0);
    ApplyFieldPoint(&color, AxisHue, width + 5, -5, width, height, tables.get());
    EXPECT_EQ(65535, color.GetSaturation());
    EXPECT_EQ(65535, color.GetBrightness());
    ApplyFieldPoint(&color, AxisHue, -5, height, width, height, tables.get());
    EXPECT_EQ(0, color.GetSaturation());
    EXPECT_EQ(0, color.GetBrightness());
}

// ---- the slider's parts ----------------------------------------------------------------

TEST(SliderLayout, ArrowsAtTheSidesStripAndLegendBetweenSharingTheirRows)
{
    // The slider at 96 DPI.
    const SliderLayout layout = LayOutSlider(38, 294);
    const RECT leftArrow = {0, 0, 5, 10}, rightArrow = {33, 0, 38, 10};
    const RECT strip = {5, 5, 26, 289}, reference = {27, 5, 33, 289};
    EXPECT_TRUE(EqualRect(&leftArrow, &layout.leftArrow));
    EXPECT_TRUE(EqualRect(&rightArrow, &layout.rightArrow));
    EXPECT_TRUE(EqualRect(&strip, &layout.strip));
    EXPECT_TRUE(EqualRect(&reference, &layout.reference));

    for (int width : {20, 38, 61}) {
        for (int height : {40, 294, 500}) {
            const SliderLayout l = LayOutSlider(width, height);
            // The arrows' tips (rows 4-5) reach the strip's bottom row at the lowest value and
            // its top at the highest.
            EXPECT_EQ(kSliderArrowHeight / 2, l.strip.top);
            EXPECT_EQ(height - kSliderArrowHeight / 2, l.strip.bottom);
            EXPECT_EQ(l.leftArrow.right, l.strip.left);
            // One column of the face between strip and legend; the legend runs to the arrow.
            EXPECT_EQ(l.strip.right + 1, l.reference.left);
            EXPECT_EQ(l.rightArrow.left, l.reference.right);
            EXPECT_EQ(l.strip.top, l.reference.top);
            EXPECT_EQ(l.strip.bottom, l.reference.bottom);
            EXPECT_EQ(width, l.rightArrow.right);
            EXPECT_LT(l.strip.left, l.strip.right) << width;
        }
    }
}
