// The other forms a colour is copied in (CSS Color 4's functions, HSB, CMYK, a float triple, an
// integer), pasting every form back, CSS Color 4 syntax and gamut mapping on paste, and the
// user's own templates.
#include "color/color_forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "color/color_axes.h"
#include "color/color_template.h"
#include "color/color_text.h"
#include "color/hex_text.h"
#include "tests/unit/color_support.h"

namespace {

std::string Form(uint32_t form, const ColorValue& color)
{
    char text[COLOR_FORM_TEXT_SIZE];
    const char* written = FormatColorForm(form, color, text);
    EXPECT_EQ(text, written) << form;
    EXPECT_LT(strlen(text), size_t{COLOR_FORM_TEXT_SIZE}) << form;
    return text;
}

// The largest difference of one channel.
int ChannelDistance(uint32_t a, uint32_t b)
{
    int most = 0;
    for (int shift : {0, 8, 16})
        most = std::max(most, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
    return most;
}

// Computed once with colorjs.io 0.7.1 (by the CSS Color 4 editors) from the 8-bit sRGB values:
// its raw coordinates rounded half away from zero, trailing zeros dropped. 0x5B1933's OKLCH hue
// and 0x714553's LCH hue round to 360, written 0; 0x714553, 0x308CF0 and 0x015D51 have a or b
// just below zero, written 0 and not -0; 0x7F7F80 is nearly grey but not quite. Colours whose
// hwb() hue is an exact half were left out: the library's float lands below what we round up.
TEST(ColorForms, CssFormsAgreeWithAnIndependentLibrary)
{
    const struct {
        uint32_t rgb;
        const char *oklch, *oklab, *lab, *lch, *hwb, *srgb;
    } rows[] = {
        {0xFF8000, "oklch(73.2% 0.186 53)", "oklab(73.2% 0.112 0.148)", "lab(67.82% 45.49 74.84)",
         "lch(67.82% 87.58 58.71)", "hwb(30 0% 0%)", "color(srgb 1 0.502 0)"},
        {0x000000, "oklch(0% 0 0)", "oklab(0% 0 0)", "lab(0% 0 0)", "lch(0% 0 0)", "hwb(0 0% 100%)",
         "color(srgb 0 0 0)"},
        {0xFFFFFF, "oklch(100% 0 0)", "oklab(100% 0 0)", "lab(100% 0 0)", "lch(100% 0 0)", "hwb(0 100% 0%)",
         "color(srgb 1 1 1)"},
        {0x808080, "oklch(60% 0 0)", "oklab(60% 0 0)", "lab(53.59% 0 0)", "lch(53.59% 0 0)", "hwb(0 50% 50%)",
         "color(srgb 0.502 0.502 0.502)"},
        {0xFF0000, "oklch(62.8% 0.258 29.2)", "oklab(62.8% 0.225 0.126)", "lab(54.29% 80.8 69.89)",
         "lch(54.29% 106.84 40.86)", "hwb(0 0% 0%)", "color(srgb 1 0 0)"},
        {0x00FF00, "oklch(86.6% 0.295 142.5)", "oklab(86.6% -0.234 0.179)", "lab(87.82% -79.27 80.99)",
         "lch(87.82% 113.33 134.38)", "hwb(120 0% 0%)", "color(srgb 0 1 0)"},
        {0x0000FF, "oklch(45.2% 0.313 264.1)", "oklab(45.2% -0.032 -0.312)", "lab(29.57% 68.29 -112.03)",
         "lch(29.57% 131.2 301.36)", "hwb(240 0% 0%)", "color(srgb 0 0 1)"},
        {0xFF00FF, "oklch(70.2% 0.322 328.4)", "oklab(70.2% 0.275 -0.169)", "lab(60.17% 93.54 -60.5)",
         "lch(60.17% 111.4 327.11)", "hwb(300 0% 0%)", "color(srgb 1 0 1)"},
        {0x336699, "oklch(49.9% 0.099 250.4)", "oklab(49.9% -0.033 -0.093)", "lab(41.52% -4.57 -33.49)",
         "lch(41.52% 33.8 262.23)", "hwb(210 20% 40%)", "color(srgb 0.2 0.4 0.6)"},
        {0x6495ED, "oklch(67.5% 0.141 261.3)", "oklab(67.5% -0.021 -0.14)", "lab(61.23% 3.05 -50.19)",
         "lch(61.23% 50.28 273.47)", "hwb(219 39% 7%)", "color(srgb 0.392 0.584 0.929)"},
        {0xC86432, "oklch(61.4% 0.142 45.1)", "oklab(61.4% 0.1 0.101)", "lab(54.22% 38.2 46.25)",
         "lch(54.22% 59.98 50.45)", "hwb(20 20% 22%)", "color(srgb 0.784 0.392 0.196)"},
        {0x010203, "oklch(8.2% 0.008 240.8)", "oklab(8.2% -0.004 -0.007)", "lab(0.5% -0.17 -0.48)",
         "lch(0.5% 0.51 250.65)", "hwb(210 0% 99%)", "color(srgb 0.004 0.008 0.012)"},
        {0x7F7F80, "oklch(59.7% 0.001 286.4)", "oklab(59.7% 0 -0.001)", "lab(53.22% 0.15 -0.54)",
         "lch(53.22% 0.56 285.31)", "hwb(240 50% 50%)", "color(srgb 0.498 0.498 0.502)"},
        {0x5B1933, "oklch(32.9% 0.099 0)", "oklab(32.9% 0.099 0)", "lab(20.92% 32.25 0.46)",
         "lch(20.92% 32.26 0.81)", "hwb(336 10% 64%)", "color(srgb 0.357 0.098 0.2)"},
        {0x714553, "oklch(44.6% 0.063 359.4)", "oklab(44.6% 0.063 -0.001)", "lab(34.93% 20.96 0)",
         "lch(34.93% 20.96 0)", "hwb(341 27% 56%)", "color(srgb 0.443 0.271 0.325)"},
        {0x308CF0, "oklch(63.7% 0.172 253.8)", "oklab(63.7% -0.048 -0.165)", "lab(56.82% 0 -58.98)",
         "lch(56.82% 58.98 270)", "hwb(211 19% 6%)", "color(srgb 0.188 0.549 0.941)"},
        {0x015D51, "oklch(42.9% 0.077 180)", "oklab(42.9% -0.077 0)", "lab(34.71% -27.2 -0.2)",
         "lch(34.71% 27.2 180.42)", "hwb(172 0% 64%)", "color(srgb 0.004 0.365 0.318)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(HexOf(row.rgb));
        const ColorValue color = Rgb(row.rgb);
        EXPECT_EQ(row.oklch, Form(FORM_OKLCH, color));
        EXPECT_EQ(row.oklab, Form(FORM_OKLAB, color));
        EXPECT_EQ(row.lab, Form(FORM_LAB, color));
        EXPECT_EQ(row.lch, Form(FORM_LCH, color));
        EXPECT_EQ(row.hwb, Form(FORM_HWB, color));
        EXPECT_EQ(row.srgb, Form(FORM_COLOR_SRGB, color));
    }
}

// Worked by hand. HSB is the value fields' numbers (those ColorAxes checks for the same colours).
TEST(ColorForms, PlainFormsOfKnownColours)
{
    const struct {
        uint32_t rgb;
        const char *hsb, *cmyk, *triple, *integer;
    } rows[] = {
        {0xFF8000, "hsb(30, 100%, 100%)", "cmyk(0%, 50%, 100%, 0%)", "(1.000, 0.502, 0.000)", "16744448"},
        {0x000000, "hsb(0, 0%, 0%)", "cmyk(0%, 0%, 0%, 100%)", "(0.000, 0.000, 0.000)", "0"},
        {0xFFFFFF, "hsb(0, 0%, 100%)", "cmyk(0%, 0%, 0%, 0%)", "(1.000, 1.000, 1.000)", "16777215"},
        {0xFF0000, "hsb(0, 100%, 100%)", "cmyk(0%, 100%, 100%, 0%)", "(1.000, 0.000, 0.000)", "16711680"},
        {0x0000FF, "hsb(240, 100%, 100%)", "cmyk(100%, 100%, 0%, 0%)", "(0.000, 0.000, 1.000)", "255"},
        {0xFF00FF, "hsb(300, 100%, 100%)", "cmyk(0%, 100%, 0%, 0%)", "(1.000, 0.000, 1.000)", "16711935"},
        {0x808080, "hsb(0, 0%, 50%)", "cmyk(0%, 0%, 0%, 50%)", "(0.502, 0.502, 0.502)", "8421504"},
        // Inks 2/3, 1/3, 0 of 0.6; black 0.4.
        {0x336699, "hsb(210, 66%, 60%)", "cmyk(67%, 33%, 0%, 40%)", "(0.200, 0.400, 0.600)", "3368601"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(HexOf(row.rgb));
        const ColorValue color = Rgb(row.rgb);
        EXPECT_EQ(row.hsb, Form(FORM_HSB, color));
        EXPECT_EQ(row.cmyk, Form(FORM_CMYK, color));
        EXPECT_EQ(row.triple, Form(FORM_FLOAT_TRIPLE, color));
        EXPECT_EQ(row.integer, Form(FORM_INTEGER, color));
    }
    // A colour held as hue, saturation, brightness shows its own numbers: 5462 is 30.004 degrees,
    // 32768 is 50.0008 percent.
    ColorValue held{};
    held.SetHsb(5462, 32768, 65535);
    EXPECT_EQ("hsb(30, 50%, 100%)", Form(FORM_HSB, held));
    // hwb() takes the hue of the hsl() copy: 0x25165E's is 252.5 exactly, which rounds up.
    EXPECT_EQ("hwb(253 9% 63%)", Form(FORM_HWB, Rgb(0x25165E)));
}

TEST(ColorForms, IdsOfNoFormLeaveTheTextAlone)
{
    for (uint32_t id : {0u, 611u, 622u, 0xFFFFFFFFu}) {
        char text[COLOR_FORM_TEXT_SIZE] = "untouched";
        EXPECT_EQ(nullptr, FormatColorForm(id, Rgb(0xFF8000), text)) << id;
        EXPECT_STREQ("untouched", text) << id;
    }
}

// Copy then paste: the exact forms come back exactly, the others within what their rounding
// loses. Three decimals of OKLab are coarse for a channel near zero (where sRGB's curve is
// steepest), so those may be several steps off, though seldom more than one.
TEST(ColorForms, EveryCopiedFormPastesBack)
{
    const struct {
        uint32_t form;
        int most;     // channel steps
        int overOne;  // percent of colours more than one step off, at most
    } forms[] = {
        {FORM_OKLCH, 10, 10},
        {FORM_OKLAB, 10, 10},
        {FORM_LAB, 0, 0},
        {FORM_LCH, 0, 0},
        // Whole degrees and percents: half a degree of hue alone is up to two steps.
        {FORM_HWB, 3, 15},
        {FORM_COLOR_SRGB, 0, 0},
        {FORM_FLOAT_TRIPLE, 0, 0},
        {FORM_INTEGER, 0, 0},
        // Whole percents of each ink and of black: half a percent of each.
        {FORM_CMYK, 2, 10},
        // The fields show a round hue where typing one means a hexagonal hue, and they truncate.
        {FORM_HSB, 10, 100},
    };
    std::mt19937 random(20261208);
    std::vector<uint32_t> colours = {0x000000, 0x0000FF, 0x00FF00, 0x00FFFF,
                                     0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    for (int i = 0; i < 3000; ++i)
        colours.push_back(random() & 0xFFFFFF);
    for (const auto& f : forms) {
        int offByMore = 0;
        for (uint32_t rgb : colours) {
            const std::string text = Form(f.form, Rgb(rgb));
            ColorValue back{};
            ASSERT_TRUE(ParseColorText(text.c_str(), &back)) << text;
            // Six decimal digits are read as hex, as they always were.
            const uint32_t expected =
                text.size() == 6 && f.form == FORM_INTEGER ? std::stoul(text, nullptr, 16) : rgb;
            const int distance = ChannelDistance(back.GetRgb(), expected);
            ASSERT_LE(distance, f.most)
                << text << " from " << HexOf(rgb) << " came back as " << HexOf(back.GetRgb());
            offByMore += distance > 1;
        }
        EXPECT_LE(offByMore * 100, f.overOne * int(colours.size())) << "form " << f.form;
    }
    // A colour as typed into the H, S, B fields comes back as it was.
    for (int i = 0; i < 500; ++i) {
        ColorValue typed{};
        typed.SetHsb(SmallestAxisValueShowing(AxisHue, random() % 361),
                     SmallestAxisValueShowing(AxisSaturation, random() % 101),
                     SmallestAxisValueShowing(AxisBrightness, random() % 101));
        ColorValue back{};
        const std::string text = Form(FORM_HSB, typed);
        ASSERT_TRUE(ParseColorText(text.c_str(), &back)) << text;
        ASSERT_EQ(HexOf(typed.GetRgb()), HexOf(back.GetRgb())) << text;
    }
}

// Every row's colour was computed once with colorjs.io 0.7.1, out-of-sRGB ones through its CSS
// gamut mapping (toGamut method "css"), channels rounded half up; rows whose channels fell within
// 0.02 of a half were left out. Rows marked "by hand" are worked out, or repeat a row in
// another spelling.
TEST(ColorPaste, CssColor4AndTheOtherFormsReadAsTheirColour)
{
    const struct {
        const char* text;
        uint32_t rgb;
    } rows[] = {
        {"oklch(63.7% 0.237 25.331)", 0xFB2C36},      // in sRGB: exact
        {"OKLCH(63.7% 59.25% 25.331DEG)", 0xFB2C36},  // by hand: 59.25% of 0.4, any case
        {"oklch(0.7 0.1 0.5turn)", 0x4BB3A1},
        {"oklch(70% 0.1 200grad)", 0x4BB3A1},
        {"oklch(0.6 0.15 2rad)", 0x7F8900},
        {"oklch(70% 0.1 none)", 0xD2849C},
        {"oklch(none 0.1 30)", 0x000000},
        {"oklch(0.5 0.2 -90)", 0x3B51D3},
        {"oklch(0.5 0.2 450)", 0x7E5E00},
        {"oklch(0.732 0.186 53 / 0.5)", 0xFF8000},
        {"oklch(  0.732   0.186   53  )", 0xFF8000},
        {"oklch(0.732 0.186 53 / none)", 0xFF8000},
        {"oklch(120% 0.1 30)", 0xFFFFFF},
        {"oklch(-10% 0.1 30)", 0x000000},
        {"oklch(0.5 -0.1 30)", 0x636363},
        {"oklch(.5 .1 3e1)", 0x944B40},
        {"oklch(0.4 0.3 280)", 0x4100CF},
        {"oklab(73.2% 0.112 0.148)", 0xFF8002},
        {"oklab(0.5 -0.1 0.1)", 0x3C740A},
        {"oklab(0.6 none none)", 0x808080},
        {"oklab(0.7 0.3 0.3)", 0xFF6100},
        {"oklab(0.2 -0.2 -0.2)", 0x001A2A},
        {"lab(67.82% 45.49 74.84)", 0xFF8000},
        {"lab(50 40% -40%)", 0xA753CE},
        {"  Lab( 50  40%  -40% ) ;", 0xA753CE},  // by hand
        {"lab(54.29 80.8 69.89)", 0xFF0000},
        {"lab(50 none none)", 0x777777},
        {"lab(100 0 0)", 0xFFFFFF},
        {"lab(110% 0 0)", 0xFFFFFF},
        {"lab(30 -100 -100)", 0x003635},
        // By hand: CSS clamps lightness to 0..100 on reading, so these are colorjs.io's
        // lab(0 100 -100) and lab(100 -60 40) (the library itself keeps the raw lightness).
        {"lab(-10% 100 -100)", 0x08006D},
        {"lab(110 -60 40)", 0xD6FFDE},
        {"lch(67.82% 87.58 58.71)", 0xFF8000},
        {"lch(50 60 none)", 0xCE3F7A},
        {"lch(70 150 200)", 0x00B9BF},
        {"lch(40% 30 -30deg)", 0x7E4E77},
        {"lch(60 40 1.5rad)", 0xA68E48},
        {"lch(50 40% 30)", 0xCA4948},
        {"hwb(210 20 40)", 0x336699},
        {"hwb(15 12% 33%)", 0xAB421F},
        {"hwb(77 3 8)", 0xAAEB08},
        {"hwb(240 0% 0%)", 0x0000FF},
        {"hwb(30 0% 0%)", 0xFF8000},     // by hand: green 127.5 rounds up
        {"hwb(120 60% 60%)", 0x808080},  // by hand: white and black past 100% make grey
        {"color(srgb 1 0.502 0)", 0xFF8000},
        {"color(srgb-linear 1 0.2158 0)", 0xFF8000},
        {"color(display-p3 0 1 0)", 0x00FB29},  // mapped, not clipped to 0x00FF00
        {"COLOR(Display-P3 0 1 0)", 0x00FB29},  // by hand
        {"color(display-p3 1 0.5 0)", 0xFF7D00},
        {"color(display-p3 0.4 0.6 0.8)", 0x559BD1},
        {"color(a98-rgb 0.5 0.2 0.8)", 0x9330D1},
        {"color(a98-rgb 0 1 0)", 0x00EC68},
        {"color(prophoto-rgb 0.4 0.3 0.2)", 0x93583C},
        {"color(prophoto-rgb 0.2 0.8 0.3)", 0x00D278},
        {"color(xyz-d65 0.2 0.3 0.4)", 0x00A7A4},
        {"color(xyz-d50 0.2 0.3 0.4)", 0x00A8BC},
        {"color(xyz-d50 0.9642 1 0.8251)", 0xFFFFFF},
        {"color(srgb 1.2 0.5 -0.1)", 0xFF9F6B},
        {"color(srgb none 1 none)", 0x00FF00},
        {"color(display-p3 1 0 0 / 50%)", 0xFF0B0C},
        {"rgb(none 128 0)", 0x008000},
        {"rgb(255 none 0 / none)", 0xFF0000},
        {"hsl(none 100% 50%)", 0xFF0000},
        // Hue in any angle unit, in either form; plain numbers for S and L only without commas.
        {"hsl(0.5turn, 100%, 50%)", 0x00FFFF},
        {"hsla(200grad 100% 50%)", 0x00FFFF},
        {"hsl(120deg 100 25)", 0x008000},
        // By hand: inks (1 - c)(1 - k) of 255, half up; fractions of 255; 0xRRGGBB in decimal.
        {"cmyk(0%, 50%, 100%, 0%)", 0xFF8000},
        {"cmyk(20%, 40%, 60%, 20%)", 0xA37A52},
        {"CMYK(0 0.5 1 0)", 0xFF8000},
        {"(1.000, 0.502, 0.000)", 0xFF8000},
        {"( 0.2 , 0.4 , 0.6 );", 0x336699},
        {"(0.5 0.5 0.5)", 0x808080},
        {"16744448", 0xFF8000},
        {"255", 0x0000FF},
        {"0", 0x000000},
        {" 16777215 ;", 0xFFFFFF},
        {"1234567", 0x12D687},
        {"123456", 0x123456},  // six digits stay hex
        // By hand: as typed into the H, S, B fields.
        {"hsb(30, 100%, 100%)", 0xFF8000},
        {"HSB(0 0% 50%)", 0x7F7F7F},
        {"hsb(240deg, 100%, 100%)", 0x0000FF},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        ColorValue color{};
        color.SetHsb(1, 2, 3);
        ASSERT_TRUE(ParseColorText(row.text, &color));
        EXPECT_EQ(ColorForm::Rgb, color.form);
        EXPECT_EQ(HexOf(row.rgb), HexOf(color.GetRgb()));
    }
}

// The program's HSB is hexagonal HSV in 16-bit steps that truncate: within one of what
// colorjs.io 0.7.1's "hsv" space gives.
TEST(ColorPaste, HsbIsHsvWithinItsSteps)
{
    const struct {
        const char* text;
        uint32_t rgb;
    } rows[] = {
        {"hsb(200, 60%, 80%)", 0x52A3CC}, {"hsb(290, 35%, 45%)", 0x6C4B73},
        {"hsb(75, 90%, 20%)", 0x283305},  {"hsb(359, 100%, 100%)", 0xFF0004},
        {"hsb(0, 0%, 73%)", 0xBABABA},    {"hsb(45, 100%, 100%)", 0xFFBF00},
    };
    for (const auto& row : rows) {
        ColorValue color{};
        ASSERT_TRUE(ParseColorText(row.text, &color)) << row.text;
        EXPECT_LE(ChannelDistance(row.rgb, color.GetRgb()), 1) << row.text << ": " << HexOf(color.GetRgb());
    }
}

TEST(ColorPaste, NearMissesOfTheNewFormsAreRefused)
{
    const std::string digits(400, '9');
    const std::string longNumbers[] = {"oklch(" + digits + " 0 0)", "(0." + digits + ", 0, 0)", digits};
    for (const char* text :
         {// Too few or too many parts, commas where CSS has none, unterminated, trailing text.
          "oklch(0.5 0.1)", "oklch(0.5 0.1 30 40)", "oklch(0.5, 0.1, 30)", "oklch(0.5 0.1 30",
          "oklch(0.5 0.1 30) x", "oklch(0.5 0.1 30 /)", "oklch(0.5 0.1 30 / 1 / 1)", "oklab(0.5 0.1 0.1, 1)",
          "lab(50 0 0 0)", "lab(50 0)", "hwb(30, 0%, 0%)", "color(srgb 1 0)", "color(srgb, 1, 0, 0)",
          "color(srgb 1 0 0", "color(1 0 0)", "color(rec2021 1 0 0)", "color( 1 0 0)", "color(srgb.5 0 0)",
          "oklch()", "oklch(0.5 0.1 30)(",
          // Wrong units: a percentage hue, an angle where a number goes, unknown units.
          "oklch(0.5 0.1 30%)", "oklch(0.5deg 0.1 30)", "oklch(0.5 0.1 30px)", "oklch(0.5 0.1 30 / 1deg)",
          "lab(50 1turn 0)", "hwb(30% 0% 0%)", "color(srgb 1deg 0 0)", "oklch(0.5 0.1 1e)",
          // none is a word of its own, and not in the comma form.
          "lab(50 nonee 0)", "rgb(none, 0, 0)", "oklch(0.5 0.1 non)",
          // Out of range where nothing is mapped.
          "hwb(30 120% 0%)", "hwb(30 -1% 0%)", "hsb(30, 100, 100%)", "hsb(361, 100%, 100%)",
          "hsb(30.5, 100%, 100%)", "hsb(30, 101%, 100%)", "hsb(-30, 100%, 100%)", "hsb(30, 100%, 100%, 1)",
          "hsb(1rad, 100%, 100%)", "cmyk(0%, 50%, 100%)", "cmyk(0%, 50%, 100%, 101%)", "cmyk(0, 0.5, 1.5, 0)",
          "cmyk(-1%, 0%, 0%, 0%)", "(1.000, 0.502)", "(1.1, 0, 0)", "(50%, 0, 0)", "(1, 0, 0", "1, 0, 0",
          "(-0.5, 0, 0)", "16777216", "99999999999999999999", "1 2", "+255", "-1", "1.5", "1e3",
          // Numbers no colour can mean.
          "oklch(1e999 0 0)", "lab(50 1e400 0)", "oklch(0.5 0.1 1e999)", "color(xyz 1e10 0 0)"}) {
        ColorValue color{};
        color.SetRgb(0x123456);
        EXPECT_FALSE(ParseColorText(text, &color)) << '"' << text << '"';
        EXPECT_EQ(0x123456u, color.GetRgb()) << '"' << text << '"';
    }
    for (const std::string& text : longNumbers) {
        ColorValue color{};
        EXPECT_FALSE(ParseColorText(text.c_str(), &color)) << text.substr(0, 12);
    }
}

std::string Expand(const char* templ, uint32_t rgb, size_t size = COLOR_TEMPLATE_SIZE)
{
    std::string text(size, '\x7F');
    return ExpandColorTemplate(templ, Rgb(rgb), &text[0], size) ? text.c_str()
                                                                : "<false " + std::string(text.c_str()) + ">";
}

TEST(ColorTemplate, PlaceholdersTakeTheColoursValues)
{
    const struct {
        const char* templ;
        uint32_t rgb;
        const char* text;
    } rows[] = {
        {"Color.FromArgb({r}, {g}, {b})", 0xFF8000, "Color.FromArgb(255, 128, 0)"},
        {"{rx}{gx}{bx} {RX}{GX}{BX}", 0x1A2B3C, "1a2b3c 1A2B3C"},
        {"{rf} {gf} {bf}", 0xFF8000, "1.000 0.502 0.000"},
        {"{rf} {gf} {bf}", 0x1A2B3C, "0.102 0.169 0.235"},
        // The value fields' numbers, as ColorAxes knows them, and the hsl() copy's.
        {"{hue} {sat} {bri} / {hslh} {hsls} {hsll}", 0x336699, "210 66 60 / 210 50 40"},
        {"{hue} {sat} {bri} / {hslh} {hsls} {hsll}", 0xFF8000, "30 100 100 / 30 100 50"},
        {"{int} {int}", 0xFF8000, "16744448 16744448"},
        {"{{r}} {{{r}}} }}{{", 0x010203, "{r} {1} }{"},
        {"no placeholders", 0x000000, "no placeholders"},
        {"", 0x000000, ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.text, Expand(row.templ, row.rgb)) << row.templ;
        char problem[8] = "x";
        EXPECT_TRUE(CheckColorTemplate(row.templ, problem, sizeof problem)) << row.templ;
    }
}

TEST(ColorTemplate, ProblemsAreNamedAsWritten)
{
    const struct {
        const char* templ;
        const char* problem;
    } rows[] = {
        {"{red}", "{red}"}, {"a {R} b", "{R}"}, {"{}", "{}"},  {"a { b", "{"}, {"a } b", "}"},
        {"{r", "{"},        {"{{r}", "}"},      {"{r}}", "}"}, {"{a{r}", "{"}, {"{r} {hex}", "{hex}"},
        {"{ r}", "{ r}"},
    };
    for (const auto& row : rows) {
        char problem[COLOR_TEMPLATE_SIZE] = "stale";
        EXPECT_FALSE(CheckColorTemplate(row.templ, problem, sizeof problem)) << row.templ;
        EXPECT_STREQ(row.problem, problem) << row.templ;
        EXPECT_EQ("<false >", Expand(row.templ, 0xFF8000)) << row.templ;
    }
    // A short buffer gets what fits; none at all is fine too.
    char problem[4] = "xyz";
    EXPECT_FALSE(CheckColorTemplate("{unknown}", problem, sizeof problem));
    EXPECT_STREQ("{un", problem);
    EXPECT_FALSE(CheckColorTemplate("{unknown}", nullptr, 0));
}

TEST(ColorTemplate, LengthsAtTheirLimits)
{
    // The longest template, and one more.
    const std::string longest(COLOR_TEMPLATE_SIZE - 1, 'x'), tooLong(COLOR_TEMPLATE_SIZE, 'x');
    char problem[COLOR_TEMPLATE_SIZE] = "stale";
    EXPECT_TRUE(CheckColorTemplate(longest.c_str(), problem, sizeof problem));
    EXPECT_EQ(longest, Expand(longest.c_str(), 0));
    EXPECT_FALSE(CheckColorTemplate(tooLong.c_str(), problem, sizeof problem));
    EXPECT_STREQ("", problem);
    EXPECT_EQ("<false >", Expand(tooLong.c_str(), 0, 2 * COLOR_TEMPLATE_SIZE));

    // "16744448" needs nine bytes with its NUL.
    EXPECT_EQ("16744448", Expand("{int}", 0xFF8000, 9));
    EXPECT_EQ("<false >", Expand("{int}", 0xFF8000, 8));
    EXPECT_EQ("<false >", Expand("ab{{", 0, 3));
    EXPECT_EQ("ab{", Expand("ab{{", 0, 4));
    char untouched = 'u';
    EXPECT_FALSE(ExpandColorTemplate("x", Rgb(0), &untouched, 0));
    EXPECT_EQ('u', untouched);
}

}  // namespace
