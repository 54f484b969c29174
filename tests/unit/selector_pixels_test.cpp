// Selector pictures and mouse mapping, checked against what a user sees: known colours at known
// places, steps of the size a field of that many pixels gives, and values worked out by hand.
#include "selector/selector_pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "resources/resource.h"

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

int Channel(uint32_t word, int c)
{
    return static_cast<int>(word >> (16 - 8 * c) & 0xFF);
}

// The brightness a user sees: the largest channel.
int Largest(uint32_t word)
{
    return std::max({Channel(word, 0), Channel(word, 1), Channel(word, 2)});
}

// Each channel as a user judges it: none and full exactly, the levels between to one unit (the
// fixed point truncates them).
::testing::AssertionResult Looks(uint32_t want, uint32_t got)
{
    for (int c = 0; c < 3; ++c) {
        const int w = Channel(want, c), g = Channel(got, c);
        if (w == 0 || w == 255 ? g != w : std::abs(g - w) > 1)
            return ::testing::AssertionFailure() << Hex(got) << " where " << Hex(want) << " was wanted";
    }
    return ::testing::AssertionSuccess();
}

// Levels 0..count-1 that start at none and climb towards `full`, reached after `steps` steps:
// each step is the even one (full / steps) rounded down or up.
void ExpectEvenSteps(const std::function<int(int)>& level, int count, int full, int steps,
                     const std::string& what)
{
    EXPECT_EQ(0, level(0)) << what;
    if (steps == count - 1)
        EXPECT_EQ(full, level(count - 1)) << what;
    else
        EXPECT_LT(level(count - 1), full) << what << ": the last stops short";
    for (int i = 1; i < count; ++i) {
        const int step = level(i) - level(i - 1);
        ASSERT_TRUE(step * steps > full - steps && step * steps < full + steps)
            << what << ": step " << step << " to " << i << " of " << steps;
    }
}

// Every row of a strip one colour, from the bottom.
void ExpectRows(Picture& picture, int width, const uint32_t* rows, int height, const std::string& what)
{
    ASSERT_TRUE(picture.GuardsIntact()) << what;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(Hex(rows[y]), Hex(picture.at(x, y))) << what << ", row " << y << ", column " << x;
}

}  // namespace

// ---- tables -------------------------------------------------------------------------------

TEST(SelectorTables, RampsRunFromNoneToFullInEvenSteps)
{
    // Where the levels divide evenly the steps are exact: 16 columns step by 0x11 (4369 in 16
    // bits), 256 rows by one level (257). Between two levels the lower is taken: the middle of
    // three is 127 and 32767.
    Tables middle(3, 3);
    ASSERT_TRUE(middle.built());
    EXPECT_EQ(127, middle.get().columnRamp8[1]);
    EXPECT_EQ(32767, middle.get().rowRamp16[1]);
    Tables even(16, 256);
    ASSERT_TRUE(even.built());
    for (int x = 0; x < 16; ++x) {
        EXPECT_EQ(0x11 * x, even.get().columnRamp8[x]);
        EXPECT_EQ(4369 * x, even.get().columnRamp16[x]);
    }
    for (int y = 0; y < 256; ++y) {
        EXPECT_EQ(y, even.get().rowRamp8[y]);
        EXPECT_EQ(257 * y, even.get().rowRamp16[y]);
    }
    for (const Size& size : kSizes) {
        Tables tables(size.width, size.height);
        ASSERT_TRUE(tables.built()) << size.width << "x" << size.height;
        const SelectorTables& t = tables.get();
        const std::string what = std::to_string(size.width) + "x" + std::to_string(size.height);
        ExpectEvenSteps([&](int x) { return t.columnRamp8[x]; }, size.width, 255, size.width - 1, what);
        ExpectEvenSteps([&](int x) { return t.columnRamp16[x]; }, size.width, 65535, size.width - 1, what);
        ExpectEvenSteps([&](int y) { return t.rowRamp8[y]; }, size.height, 255, size.height - 1, what);
        ExpectEvenSteps([&](int y) { return t.rowRamp16[y]; }, size.height, 65535, size.height - 1, what);
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

// The slider's channel as the current colour has it everywhere; the other two from none at the
// left (bottom) to full at the right (top) in even steps, the same in every row (column). The
// last colour is pure blue held as hue, saturation and brightness.
TEST(SelectorField, RgbModesHoldTheSlidersChannelAndRunTheOtherTwoAcrossAndUp)
{
    const struct {
        uint32_t mode;
        ColorValue current;
        uint32_t fixed;
        int acrossShift, upShift;
    } modes[] = {
        {AxisRed, Rgb(0xABCDEF), 0xAB0000, 8, 0},
        {AxisGreen, Rgb(0xABCDEF), 0x00CD00, 16, 0},
        {AxisBlue, Rgb(0xABCDEF), 0x0000EF, 16, 8},
        {AxisBlue, Hsb(43690, 65535, 65535), 0x0000FF, 16, 8},
    };
    std::vector<Size> sizes(std::begin(kSizes), std::end(kSizes));
    sizes.push_back({16, 16});
    for (const Size& size : sizes) {
        Tables tables(size.width, size.height);
        ASSERT_TRUE(tables.built());
        Picture picture(size.width, size.height);
        for (const auto& m : modes) {
            const std::string what = "mode " + std::to_string(m.mode) + ", " + std::to_string(size.width) +
                                     "x" + std::to_string(size.height);
            FillField(picture.pixels(), size.width, size.height, m.mode, m.current, tables.get());
            ASSERT_TRUE(picture.GuardsIntact()) << what;
            auto across = [&](int x) { return static_cast<int>(picture.at(x, 0) >> m.acrossShift & 0xFF); };
            auto up = [&](int y) { return static_cast<int>(picture.at(0, y) >> m.upShift & 0xFF); };
            ExpectEvenSteps(across, size.width, 255, size.width - 1, what + ", across");
            ExpectEvenSteps(up, size.height, 255, size.height - 1, what + ", up");
            for (int y = 0; y < size.height; ++y)
                for (int x = 0; x < size.width; ++x)
                    ASSERT_EQ(Hex(m.fixed | across(x) << m.acrossShift | up(y) << m.upShift),
                              Hex(picture.at(x, y)))
                        << what << ", pixel " << x << "," << y;
        }
    }
}

// On pure red, rows from the top as a user sees them: 7 columns make sixths of the axis across,
// 3 rows none, half and full; the same columns of a field 1201 wide, which the fill takes in
// blocks, must agree.
TEST(SelectorField, HsbModesShowTheHueCircleAndTheirRampsInKnownColours)
{
    const struct {
        uint32_t mode;
        uint32_t rows[3][7];
    } modes[] = {
        // Saturation across, brightness up: white to red, grey to dark red, black.
        {AxisHue,
         {{0xFFFFFF, 0xFFD4D4, 0xFFAAAA, 0xFF8080, 0xFF5555, 0xFF2B2B, 0xFF0000},
          {0x808080, 0x806A6A, 0x805555, 0x804040, 0x802B2B, 0x801515, 0x800000},
          {0, 0, 0, 0, 0, 0, 0}}},
        // Hue across, brightness up: red, yellow, green, cyan, blue, magenta and red again.
        {AxisSaturation,
         {{0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF, 0xFF0000},
          {0x800000, 0x808000, 0x008000, 0x008080, 0x000080, 0x800080, 0x800000},
          {0, 0, 0, 0, 0, 0, 0}}},
        // Hue across, saturation up: the same hues, then half-saturated, then white.
        {AxisBrightness,
         {{0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF, 0xFF0000},
          {0xFF8080, 0xFFFF80, 0x80FF80, 0x80FFFF, 0x8080FF, 0xFF80FF, 0xFF8080},
          {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}}},
    };
    for (int width : {7, 1201}) {
        Tables tables(width, 3);
        ASSERT_TRUE(tables.built());
        Picture picture(width, 3);
        for (const auto& m : modes) {
            FillField(picture.pixels(), width, 3, m.mode, Rgb(0xFF0000), tables.get());
            ASSERT_TRUE(picture.GuardsIntact());
            for (int row = 0; row < 3; ++row)
                for (int k = 0; k < 7; ++k)
                    EXPECT_TRUE(Looks(m.rows[row][k], picture.at(k * (width - 1) / 6, 2 - row)))
                        << "mode " << m.mode << ", " << width << " wide, sixth " << k << ", row " << row
                        << " from the top";
        }
    }
}

// At every size the brightness (largest channel) is the same along each row, and in the hue and
// saturation modes grows from black at the bottom to full at the top; in the brightness mode it
// is the same over the whole field.
TEST(SelectorField, HsbModesKeepEachRowsBrightnessAtEverySize)
{
    for (const Size& size : kSizes) {
        Tables tables(size.width, size.height);
        ASSERT_TRUE(tables.built());
        Picture picture(size.width, size.height);
        for (uint32_t mode : {AxisHue, AxisSaturation, AxisBrightness}) {
            // Pure red, and a colour of brightness 200 of 255 (51400 = 200 x 257).
            for (const auto& current :
                 {std::make_pair(Rgb(0xFF0000), 255), std::make_pair(Hsb(20000, 40000, 51400), 200)}) {
                const std::string what = "mode " + std::to_string(mode) + ", " + std::to_string(size.width) +
                                         "x" + std::to_string(size.height);
                FillField(picture.pixels(), size.width, size.height, mode, current.first, tables.get());
                ASSERT_TRUE(picture.GuardsIntact()) << what;
                for (int y = 0; y < size.height; ++y) {
                    const int row = Largest(picture.at(0, mode == AxisBrightness ? 0 : y));
                    for (int x = 0; x < size.width; ++x)
                        ASSERT_EQ(row, Largest(picture.at(x, y))) << what << ", pixel " << x << "," << y;
                    if (mode != AxisBrightness && y > 0) {
                        ASSERT_LE(Largest(picture.at(0, y - 1)), row) << what << ", row " << y;
                    }
                }
                const int top = mode == AxisBrightness ? current.second : 255;
                EXPECT_EQ(mode == AxisBrightness ? current.second : 0, Largest(picture.at(0, 0))) << what;
                EXPECT_EQ(top, Largest(picture.at(0, size.height - 1))) << what;
            }
        }
    }
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

// On a field of 256 x 256 each column and row is one 8-bit level, or 257 units of a 16-bit
// component: the cross sits on the colour's own components, on a pixel of that colour.
TEST(SelectorMarker, SitsAtTheColoursComponentsOnAPixelOfItsColour)
{
    const ColorValue hsb = Hsb(257 * 40, 257 * 200, 257 * 100);
    const struct {
        uint32_t mode;
        ColorValue color;
        int x, y;
    } marks[] = {
        {AxisRed, Rgb(0xC86432), 100, 50},
        {AxisGreen, Rgb(0xC86432), 200, 50},
        {AxisBlue, Rgb(0xC86432), 200, 100},
        {AxisRed, Rgb(0xFF0000), 0, 0},
        {AxisRed, Rgb(0xFFFFFF), 255, 255},
        {AxisHue, hsb, 200, 100},
        {AxisSaturation, hsb, 40, 100},
        {AxisBrightness, hsb, 40, 200},
        {AxisHue, Hsb(0, 65535, 65535), 255, 255},
    };
    Tables tables(256, 256);
    ASSERT_TRUE(tables.built());
    Picture picture(256, 256);
    for (const auto& m : marks) {
        const POINT marker = FieldMarkerPosition(m.mode, m.color, 256, 256);
        EXPECT_EQ(m.x, marker.x) << "mode " << m.mode << ", " << Hex(m.color.GetRgb());
        EXPECT_EQ(m.y, marker.y) << "mode " << m.mode << ", " << Hex(m.color.GetRgb());
        FillField(picture.pixels(), 256, 256, m.mode, m.color, tables.get());
        EXPECT_TRUE(Looks(m.color.GetRgb(), picture.at(m.x, m.y))) << "mode " << m.mode;
    }
    // The real field: the largest components on its last column and row, inside it.
    const POINT top = FieldMarkerPosition(AxisHue, Hsb(0, 65535, 65535), 298, 292);
    EXPECT_EQ(297, top.x);
    EXPECT_EQ(291, top.y);
}

// On a field of one colour: two bars of 11 pixels inverted, crossing at a centre that keeps the
// field's colour, cut where the field ends; a second drawing restores any picture.
TEST(SelectorMarker, InvertsAHollowCrossClippedToTheField)
{
    const int width = 40;
    const int height = 30;
    // Bars of 11 pixels at 96 DPI; at 144 DPI (arm 8) of 17, at 120 DPI (arm 6) of 13.
    const struct {
        int x, y;
        int arm;
        int inverted;
    } places[] = {{20, 15, 5, 20},        {0, 0, 5, 10},         {width - 1, height - 1, 5, 10},
                  {3, height - 2, 5, 14}, {width - 4, 2, 5, 15}, {20, 15, 8, 32},
                  {20, 15, 6, 24},        {0, 0, 8, 16},         {3, height - 2, 8, 20}};
    for (const auto& place : places) {
        SCOPED_TRACE("arm " + std::to_string(place.arm));
        Picture picture(width, height);
        std::fill(picture.pixels(), picture.pixels() + width * height, 0x336699u);
        XorFieldMarker(picture.pixels(), width, height, place.x, place.y, place.arm);
        ASSERT_TRUE(picture.GuardsIntact()) << "marker at " << place.x << "," << place.y;
        int inverted = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                inverted += picture.at(x, y) == 0xCC9966u;
        EXPECT_EQ(place.inverted, inverted) << "marker at " << place.x << "," << place.y;
        EXPECT_EQ(Hex(0x336699), Hex(picture.at(place.x, place.y))) << "centre";

        picture.Pattern();
        const std::vector<uint32_t> before = picture.words();
        XorFieldMarker(picture.pixels(), width, height, place.x, place.y, place.arm);
        XorFieldMarker(picture.pixels(), width, height, place.x, place.y, place.arm);
        EXPECT_TRUE(picture.words() == before) << "marker at " << place.x << "," << place.y;
    }
    // The bars' ends, and the pixels just past them.
    Picture picture(width, height);
    std::fill(picture.pixels(), picture.pixels() + width * height, 0u);
    XorFieldMarker(picture.pixels(), width, height, 20, 15);
    for (const POINT end : {POINT{15, 15}, POINT{25, 15}, POINT{20, 10}, POINT{20, 20}})
        EXPECT_EQ(Hex(0xFFFFFF), Hex(picture.at(end.x, end.y))) << end.x << "," << end.y;
    for (const POINT past : {POINT{14, 15}, POINT{26, 15}, POINT{20, 9}, POINT{20, 21}, POINT{19, 14}})
        EXPECT_EQ(Hex(0), Hex(picture.at(past.x, past.y))) << past.x << "," << past.y;
}

// ---- strips -------------------------------------------------------------------------------

// From the exact bottom colour towards the top one, which the top row stops one step short of;
// fractions of a level are cut toward the bottom colour.
TEST(SelectorStrip, GradientStepsFromTheExactBottomTowardsTheTop)
{
    const struct {
        uint32_t top, bottom;
        int height;
        uint32_t rows[5];
    } strips[] = {
        {0xFF0000, 0x000000, 5, {0x000000, 0x330000, 0x660000, 0x990000, 0xCC0000}},
        {0x00FF80, 0xFF0000, 5, {0xFF0000, 0xCC3319, 0x996633, 0x66994C, 0x33CC66}},
        {0x102030, 0xF0E0D0, 4, {0xF0E0D0, 0xB8B0A8, 0x808080, 0x485058}},
        {0x000000, 0x640000, 3, {0x640000, 0x430000, 0x220000}},
        {0xFFFFFF, 0x123456, 1, {0x123456}},
    };
    for (const auto& strip : strips) {
        Picture picture(5, strip.height);
        FillGradientStrip(strip.top, strip.bottom, picture.pixels(), Header(5, strip.height));
        ExpectRows(picture, 5, strip.rows, strip.height, Hex(strip.top) + " over " + Hex(strip.bottom));
    }
    // Taller strips: even steps of 255 / height.
    for (int height : {100, 171, 7}) {
        Picture picture(5, height);
        FillGradientStrip(0xFFFFFF, 0x000000, picture.pixels(), Header(5, height));
        for (int c = 0; c < 3; ++c)
            ExpectEvenSteps([&](int y) { return Channel(picture.at(4, y), c); }, height, 255, height,
                            "height " + std::to_string(height));
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

// Five rows step a channel by 51 (the top row one step short of full), six go round the hue circle.
TEST(SelectorStrip, SliderStripShowsTheCurrentColourAlongTheSlidersAxis)
{
    const struct {
        uint32_t mode, current;
        int height;
        uint32_t rows[6];
    } strips[] = {
        {AxisRed, 0x0A141E, 5, {0x00141E, 0x33141E, 0x66141E, 0x99141E, 0xCC141E}},
        {AxisGreen, 0x0A141E, 5, {0x0A001E, 0x0A331E, 0x0A661E, 0x0A991E, 0x0ACC1E}},
        {AxisBlue, 0x0A141E, 5, {0x0A1400, 0x0A1433, 0x0A1466, 0x0A1499, 0x0A14CC}},
        // Each hue with the colour's largest (200) and smallest (50) channels.
        {AxisHue, 0xC86432, 6, {0xC83232, 0xC8C832, 0x32C832, 0x32C8C8, 0x3232C8, 0xC832C8}},
        {AxisHue, 0xFF0000, 6, {0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF}},
        // From the grey of its brightness to the full colour.
        {AxisSaturation, 0xC86464, 5, {0xC8C8C8, 0xC8A0A0, 0xC87878, 0xC85050, 0xC82828}},
        {AxisBrightness, 0x990000, 5, {0x000000, 0x330000, 0x660000, 0x990000, 0xCC0000}},
    };
    for (const auto& strip : strips) {
        Picture picture(8, strip.height);
        FillSliderStrip(picture.pixels(), Header(8, strip.height), strip.mode, Rgb(strip.current));
        ExpectRows(picture, 8, strip.rows, strip.height, "mode " + std::to_string(strip.mode));
    }
}

TEST(SelectorStrip, ReferenceStripShowsEachModesLegend)
{
    const struct {
        uint32_t mode;
        int height;
        uint32_t rows[6];
    } legends[] = {
        {AxisRed, 5, {0x000000, 0x330000, 0x660000, 0x990000, 0xCC0000}},
        {AxisGreen, 5, {0x000000, 0x003300, 0x006600, 0x009900, 0x00CC00}},
        {AxisBlue, 5, {0x000000, 0x000033, 0x000066, 0x000099, 0x0000CC}},
        {AxisHue, 6, {0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF}},
        // White (no saturation) towards pure red.
        {AxisSaturation, 5, {0xFFFFFF, 0xFFCCCC, 0xFF9999, 0xFF6666, 0xFF3333}},
        {AxisBrightness, 5, {0x000000, 0x333333, 0x666666, 0x999999, 0xCCCCCC}},
    };
    for (const auto& legend : legends) {
        Picture picture(6, legend.height);
        FillReferenceStrip(picture.pixels(), Header(6, legend.height), legend.mode);
        ExpectRows(picture, 6, legend.rows, legend.height, "mode " + std::to_string(legend.mode));
    }
}

// ---- slider -------------------------------------------------------------------------------

TEST(SelectorSlider, PositionScalesTheComponentToTheStrip)
{
    for (int hs = 1; hs < 256; ++hs) {
        EXPECT_EQ(hs - 1, SliderPosition(AxisRed, Rgb(0xFF0000), hs)) << "strip " << hs;
        EXPECT_EQ(hs - 1, SliderPosition(AxisHue, Hsb(65535, 0, 0), hs)) << "strip " << hs;
    }
    // 256 rows: one per 8-bit level.
    EXPECT_EQ(200, SliderPosition(AxisRed, Rgb(0xC86432), 256));
    EXPECT_EQ(100, SliderPosition(AxisGreen, Rgb(0xC86432), 256));
    EXPECT_EQ(0, SliderPosition(AxisGreen, Rgb(0xFF00FF), 171));
    // Halves and quarters of the range land halfway and a quarter of the way up.
    EXPECT_EQ(50, SliderPosition(AxisBlue, Rgb(0x000080), 100));
    EXPECT_EQ(100, SliderPosition(AxisHue, Hsb(32768, 0, 0), 200));
    EXPECT_EQ(50, SliderPosition(AxisSaturation, Hsb(0, 16384, 100), 200));
    EXPECT_EQ(150, SliderPosition(AxisBrightness, Hsb(0, 32768, 49152), 200));
    // The green slider reads green even from an Hsb-form colour.
    EXPECT_EQ(255, SliderPosition(AxisGreen, Hsb(21846, 65535, 65535), 256));
}

TEST(SelectorSlider, PointSetsOnlyTheSlidersComponentClampedToTheBar)
{
    // A bar of 255 rows: each row one 8-bit level, or 257 units of a 16-bit component.
    const int bottom = 260;
    const int bar = 255;

    struct Case {
        int y;
        uint32_t value8;
        uint32_t value16;
    };
    const Case cases[] = {
        {-1000, 255, 65535},  // far above
        {4, 255, 65535},      // above the bar's top edge
        {5, 255, 65535},      // the top edge
        {bottom - 80, 80, 80 * 257},
        {bottom - 1, 1, 257},
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

// A press on the field moves the cross there (clamped to the field, each axis alone), picks the
// colour the field shows there and leaves the slider where it was. Rows count up from the bottom
// edge, y = height; on 16 x 16 each column and row is an exact step.
TEST(SelectorPoint, FieldPointMovesTheCrossThereAndPicksTheColourShownThere)
{
    const int width = 16;
    const int height = 16;
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
    Picture picture(width, height);
    for (uint32_t mode = 0; mode < 6; ++mode) {
        const ColorValue start = mode < 3 ? Rgb(0x7B7B7B) : Hsb(12345, 23456, 34567);
        FillField(picture.pixels(), width, height, mode, start, tables.get());
        for (const Case& c : cases) {
            ColorValue color = start;
            ApplyFieldPoint(&color, mode, c.x, c.y, width, height, tables.get());
            const POINT cross = FieldMarkerPosition(mode, color, width, height);
            const std::string what =
                "mode " + std::to_string(mode) + ", point " + std::to_string(c.x) + "," + std::to_string(c.y);
            EXPECT_EQ(c.column, cross.x) << what;
            EXPECT_EQ(c.row, cross.y) << what;
            EXPECT_TRUE(Looks(picture.at(c.column, c.row), color.GetRgb())) << what;
            EXPECT_EQ(SliderPosition(mode, start, 65536), SliderPosition(mode, color, 65536)) << what;
        }
    }
    // Worked by hand: column 3 and row 12 are 3/15 and 12/15 of each axis.
    ColorValue color = Rgb(0x7B7B7B);
    ApplyFieldPoint(&color, AxisRed, 3, height - 12, width, height, tables.get());
    EXPECT_EQ(Hex(0x7B33CC), Hex(color.GetRgb()));
    color = Hsb(12345, 23456, 34567);
    ApplyFieldPoint(&color, AxisHue, 3, height - 12, width, height, tables.get());
    EXPECT_EQ(12345, color.GetHue());
    EXPECT_EQ(13107, color.GetSaturation());  // 20 %
    EXPECT_EQ(52428, color.GetBrightness());  // 80 %
    // The ends of the field are the ends of the axes.
    color = Hsb(0, 0, 0);
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
    // The slider at 96 DPI; at 144 DPI arrows of 15 rows (8 columns: still 45 degrees, ending on
    // the last row at the lowest value) and a gap of 11 pixels to the legend instead of 7.
    const struct {
        int dpi, width, height;
        RECT leftArrow, rightArrow, strip, reference;
    } sliders[] = {
        {96, 38, 294, {0, 0, 5, 10}, {33, 0, 38, 10}, {5, 5, 26, 289}, {27, 5, 33, 289}},
        {144, 56, 428, {0, 0, 8, 15}, {48, 0, 56, 15}, {8, 7, 37, 420}, {38, 7, 48, 420}},
        {120, 47, 360, {0, 0, 7, 13}, {40, 0, 47, 13}, {7, 6, 31, 353}, {32, 6, 40, 353}},
    };
    for (const auto& s : sliders) {
        SCOPED_TRACE("at " + std::to_string(s.dpi) + " DPI");
        const SliderLayout layout = LayOutSlider(s.width, s.height, s.dpi);
        EXPECT_TRUE(EqualRect(&s.leftArrow, &layout.leftArrow));
        EXPECT_TRUE(EqualRect(&s.rightArrow, &layout.rightArrow));
        EXPECT_TRUE(EqualRect(&s.strip, &layout.strip));
        EXPECT_TRUE(EqualRect(&s.reference, &layout.reference));
    }

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

// The arrow the program draws for more DPI is the arrow bitmaps' triangle: at their size the
// same bits; at 8 x 15 a black base column, each column one row shorter at both ends.
TEST(SliderArrows, DrawnTheWayTheArrowBitmapsHoldThem)
{
    for (const int id : {IDB_ARROW_LEFT, IDB_ARROW_RIGHT}) {
        HBITMAP stored = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
        uint8_t storedBits[20] = {}, drawn[20] = {};
        EXPECT_EQ(20, GetBitmapBits(stored, 20, storedBits)) << id;
        DeleteObject(stored);
        DrawSliderArrowBits(drawn, 5, 10, id == IDB_ARROW_LEFT);
        for (int y = 0; y < 10; ++y)  // the five pixels of each row, not the padding
            EXPECT_EQ(storedBits[2 * y] & 0xF8, drawn[2 * y] & 0xF8) << "bitmap " << id << " row " << y;
    }
    uint8_t bits[30] = {};
    DrawSliderArrowBits(bits, 8, 15, true);
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 15; ++y)
            EXPECT_EQ(y >= x && y <= 14 - x, !(bits[2 * y] & (0x80 >> x))) << x << "," << y;
}
