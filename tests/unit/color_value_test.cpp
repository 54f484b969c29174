// Unit tests of ColorValue: the conversions the selector, the value fields
// and the lists rely on, to the exact unit.

#include "color/color_value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

struct Rgb {
    int red;
    int green;
    int blue;
};

ColorValue MakeRgb(int red, int green, int blue)
{
    ColorValue c{};
    c.SetRed(static_cast<uint32_t>(red));
    c.SetGreen(static_cast<uint32_t>(green));
    c.SetBlue(static_cast<uint32_t>(blue));
    return c;
}

ColorValue MakeHsb(uint32_t hue, uint32_t saturation, uint32_t brightness)
{
    ColorValue c{};
    c.SetHsb(hue, saturation, brightness);
    return c;
}

std::string Describe(const ColorValue& c)
{
    return "stored rgb(" + std::to_string(c.red) + "," + std::to_string(c.green) + "," +
           std::to_string(c.blue) + ") hsb(" + std::to_string(c.hue) + "," + std::to_string(c.saturation) +
           "," + std::to_string(c.brightness) + ") form " + (c.form == ColorForm::Rgb ? "Rgb" : "Hsb");
}

void ExpectReads(const ColorValue& c, int red, int green, int blue, const std::string& what)
{
    EXPECT_EQ(red, c.GetRed()) << what << "; " << Describe(c);
    EXPECT_EQ(green, c.GetGreen()) << what << "; " << Describe(c);
    EXPECT_EQ(blue, c.GetBlue()) << what << "; " << Describe(c);
}

}  // namespace

TEST(ColorValue, ZeroFilledAndResetAreBlackInRgbForm)
{
    ColorValue zero;
    std::memset(&zero, 0, sizeof zero);
    EXPECT_EQ(ColorForm::Rgb, zero.form) << "a zero-filled record must be in Rgb form";
    ExpectReads(zero, 0, 0, 0, "zero-filled");
    EXPECT_EQ(0, zero.GetHue());
    EXPECT_EQ(0, zero.GetSaturation());
    EXPECT_EQ(0, zero.GetBrightness());
    EXPECT_EQ(0u, zero.GetRgb());

    ColorValue c = MakeHsb(12345, 40000, 50000);
    ColorValue& returned = c.Reset();
    EXPECT_EQ(&c, &returned) << "Reset returns the object itself";
    EXPECT_EQ(ColorForm::Rgb, c.form);
    EXPECT_EQ(0, c.red);
    EXPECT_EQ(0, c.green);
    EXPECT_EQ(0, c.blue);
    EXPECT_EQ(0, c.hue) << "Reset clears all six components";
    EXPECT_EQ(0, c.saturation);
    EXPECT_EQ(0, c.brightness);
    EXPECT_EQ(0u, c.GetRgb());
    EXPECT_TRUE(c.Equals(zero)) << Describe(c);
}

TEST(ColorValue, RgbToHsbUsesCircularHue)
{
    struct Case {
        Rgb rgb;
        int hue;
        int degrees;
        int saturation;
        int brightness;
    };
    const Case cases[] = {
        {{255, 0, 0}, 0, 0, 65535, 65535},
        {{255, 255, 0}, 10922, 59, 65535, 65535},
        {{0, 255, 0}, 21844, 119, 65535, 65535},
        {{0, 255, 255}, 32767, 179, 65535, 65535},
        {{0, 0, 255}, 43692, 240, 65535, 65535},
        {{255, 0, 255}, 54614, 300, 65535, 65535},
        {{255, 255, 255}, 0, 0, 0, 65535},
        {{254, 254, 255}, 43692, 240, 257, 65535},
        // Between primaries the arc tangent, not the hexagon, decides.
        {{200, 100, 50}, 3478, 19, 49151, 51400},
        {{200, 50, 100}, 62058, 340, 49151, 51400},
        {{10, 20, 30}, 38231, 210, 43690, 7710},
        {{0, 1, 0}, 21844, 119, 65535, 257},
    };
    for (const Case& k : cases) {
        const ColorValue c = MakeRgb(k.rgb.red, k.rgb.green, k.rgb.blue);
        const std::string what = "rgb(" + std::to_string(k.rgb.red) + "," + std::to_string(k.rgb.green) +
                                 "," + std::to_string(k.rgb.blue) + ")";
        EXPECT_EQ(k.hue, c.GetHue()) << what;
        EXPECT_EQ(k.degrees, static_cast<int>(HueToDegrees(c.GetHue()))) << what;
        EXPECT_EQ(k.saturation, c.GetSaturation()) << what;
        EXPECT_EQ(k.brightness, c.GetBrightness()) << what;
    }

    for (int g = 0; g < 256; ++g) {
        const ColorValue grey = MakeRgb(g, g, g);
        EXPECT_EQ(0, grey.GetHue()) << "grey " << g;
        EXPECT_EQ(0, grey.GetSaturation()) << "grey " << g;
        EXPECT_EQ(g * 257, grey.GetBrightness()) << "grey " << g;
    }
}

TEST(ColorValue, HsbToRgbUsesHexagonalSectors)
{
    ExpectReads(MakeHsb(65535, 65535, 65535), 255, 0, 0, "hue 65535 is still sector 5");
    ExpectReads(MakeHsb(21846, 65535, 65535), 0, 255, 0, "hue 21846");
    ExpectReads(MakeHsb(10923, 65535, 65535), 255, 255, 0, "first unit of sector 1");
    ExpectReads(MakeHsb(0, 65535, 0), 0, 0, 0, "no brightness is black");

    // Middle of every sector, full and partial saturation and brightness,
    // so each row of the sector table is checked.
    struct Case {
        uint32_t hue;
        Rgb full;
        Rgb partial;  // saturation 30000, brightness 50000
    };
    const Case sectors[] = {
        {5461, {255, 127, 0}, {195, 150, 105}},  {16384, {128, 255, 0}, {150, 195, 105}},
        {27306, {0, 255, 127}, {105, 195, 150}}, {38229, {0, 128, 255}, {105, 150, 195}},
        {49151, {127, 0, 255}, {150, 105, 195}}, {60074, {255, 0, 128}, {195, 105, 150}},
    };
    for (const Case& k : sectors) {
        const std::string what = "hue " + std::to_string(k.hue);
        ExpectReads(MakeHsb(k.hue, 65535, 65535), k.full.red, k.full.green, k.full.blue, what + " full");
        ExpectReads(MakeHsb(k.hue, 30000, 50000), k.partial.red, k.partial.green, k.partial.blue,
                    what + " partial");
    }

    for (uint32_t h = 0; h <= 65535; h += 97) {
        ExpectReads(MakeHsb(h, 0, 32768), 127, 127, 127,
                    "no saturation is grey for any hue, h=" + std::to_string(h));
    }
    for (int g = 0; g < 256; ++g) {
        ExpectReads(MakeHsb(4000, 0, static_cast<uint32_t>(g) * 257), g, g, g,
                    "brightness g*257 gives grey g=" + std::to_string(g));
    }

    // The two hue models differ, so this trip is not exact.
    ColorValue c = MakeRgb(200, 100, 50);
    c.SwitchForm();
    EXPECT_EQ(ColorForm::Hsb, c.form);
    c.SwitchForm();
    EXPECT_EQ(ColorForm::Rgb, c.form);
    ExpectReads(c, 200, 98, 50, "rgb(200,100,50) through HSB");
}

TEST(ColorValue, SwitchFormStoresTheOtherFormAndFlips)
{
    const Rgb exact[] = {
        {0, 0, 0},   {255, 255, 255}, {255, 0, 0},   {0, 255, 0},
        {0, 0, 255}, {255, 255, 0},   {0, 255, 255}, {255, 0, 255},
    };
    for (const Rgb& k : exact) {
        ColorValue c = MakeRgb(k.red, k.green, k.blue);
        const std::string what = "rgb(" + std::to_string(k.red) + "," + std::to_string(k.green) + "," +
                                 std::to_string(k.blue) + ")";
        const uint16_t hue = c.GetHue();
        const uint16_t saturation = c.GetSaturation();
        const uint16_t brightness = c.GetBrightness();
        for (int trip = 1; trip <= 2; ++trip) {
            c.SwitchForm();
            ASSERT_EQ(ColorForm::Hsb, c.form) << what << " trip " << trip;
            EXPECT_EQ(hue, c.hue) << what << " trip " << trip;
            EXPECT_EQ(saturation, c.saturation) << what << " trip " << trip;
            EXPECT_EQ(brightness, c.brightness) << what << " trip " << trip;
            c.SwitchForm();
            ASSERT_EQ(ColorForm::Rgb, c.form) << what << " trip " << trip;
            EXPECT_EQ(k.red, c.red) << what << " trip " << trip;
            EXPECT_EQ(k.green, c.green) << what << " trip " << trip;
            EXPECT_EQ(k.blue, c.blue) << what << " trip " << trip;
        }
    }

    // From Hsb the stored RGB fields are the computed ones.
    ColorValue c = MakeHsb(5461, 30000, 50000);
    c.SwitchForm();
    EXPECT_EQ(ColorForm::Rgb, c.form);
    EXPECT_EQ(195, c.red);
    EXPECT_EQ(150, c.green);
    EXPECT_EQ(105, c.blue);
}

TEST(ColorValue, GettersLeaveTheObjectUntouched)
{
    ColorValue samples[4];
    // Fill padding too, so the byte comparison sees every byte.
    std::memset(samples, 0xA5, sizeof samples);
    samples[0].red = 200;
    samples[0].green = 100;
    samples[0].blue = 50;
    samples[0].hue = 1;
    samples[0].saturation = 2;
    samples[0].brightness = 3;
    samples[0].form = ColorForm::Rgb;
    samples[1].red = 7;
    samples[1].green = 8;
    samples[1].blue = 9;
    samples[1].hue = 16384;
    samples[1].saturation = 30000;
    samples[1].brightness = 50000;
    samples[1].form = ColorForm::Hsb;
    samples[2].red = 128;
    samples[2].green = 128;
    samples[2].blue = 128;
    samples[2].form = ColorForm::Rgb;
    samples[3].hue = 1000;
    samples[3].saturation = 0;
    samples[3].brightness = 32896;
    samples[3].form = ColorForm::Hsb;

    for (const ColorValue& sample : samples) {
        ColorValue c = sample;
        unsigned char before[sizeof(ColorValue)];
        std::memcpy(before, &c, sizeof c);

        (void)c.GetRed();
        (void)c.GetGreen();
        (void)c.GetBlue();
        (void)c.GetHue();
        (void)c.GetSaturation();
        (void)c.GetBrightness();
        (void)c.GetRgb();
        (void)c.GetColorRef();
        (void)c.GetContrastTextColor();
        (void)c.Equals(samples[0]);
        (void)c.Differs(samples[1]);
        (void)samples[2].Equals(c);

        EXPECT_EQ(0, std::memcmp(before, &c, sizeof c))
            << "a getter changed " << Describe(sample) << " into " << Describe(c);
    }
}

TEST(ColorValue, SettersBringTheObjectIntoTheirForm)
{
    ColorValue c = MakeHsb(0, 65535, 65535);  // red
    c.SetGreen(128);
    EXPECT_EQ(ColorForm::Rgb, c.form);
    ExpectReads(c, 255, 128, 0, "SetGreen on Hsb red keeps the computed red and blue");

    c = MakeHsb(60074, 30000, 50000);
    c.SetRed(1);
    ExpectReads(c, 1, 105, 150, "SetRed on Hsb");
    c = MakeHsb(60074, 30000, 50000);
    c.SetBlue(2);
    ExpectReads(c, 195, 105, 2, "SetBlue on Hsb");

    c = MakeRgb(128, 128, 128);
    c.SetBrightness(65535);
    EXPECT_EQ(ColorForm::Hsb, c.form);
    ExpectReads(c, 255, 255, 255, "grey with full brightness");

    c = MakeRgb(255, 0, 0);
    c.SetHue(21846);
    EXPECT_EQ(ColorForm::Hsb, c.form);
    ExpectReads(c, 0, 255, 0, "SetHue on Rgb red keeps full saturation and brightness");

    c = MakeRgb(0, 0, 255);
    c.SetSaturation(0);
    ExpectReads(c, 255, 255, 255, "SetSaturation(0) on Rgb blue");

    c = MakeRgb(0, 255, 0);
    c.SetBrightness(0);
    EXPECT_EQ(21844, c.GetHue()) << "hue computed before the brightness was set";
    EXPECT_EQ(65535, c.GetSaturation());
    ExpectReads(c, 0, 0, 0, "no brightness");

    // Setters in the current form change only their own field.
    c = MakeRgb(10, 20, 30);
    c.SetGreen(99);
    ExpectReads(c, 10, 99, 30, "SetGreen in Rgb form");
    c = MakeHsb(100, 200, 300);
    c.SetSaturation(400);
    EXPECT_EQ(100, c.hue);
    EXPECT_EQ(400, c.saturation);
    EXPECT_EQ(300, c.brightness);

    // SetHsb stores as given, whatever the form, without converting.
    c = MakeRgb(1, 2, 3);
    c.SetHsb(111, 222, 333);
    EXPECT_EQ(ColorForm::Hsb, c.form);
    EXPECT_EQ(111, c.hue);
    EXPECT_EQ(222, c.saturation);
    EXPECT_EQ(333, c.brightness);
    EXPECT_EQ(1, c.red) << "SetHsb must not touch the RGB fields";
    EXPECT_EQ(2, c.green);
    EXPECT_EQ(3, c.blue);
    c.SetHsb(21846, 65535, 65535);
    EXPECT_EQ(1, c.red) << "SetHsb on an Hsb-form value must not convert either";
    EXPECT_EQ(2, c.green);
    EXPECT_EQ(3, c.blue);
    ExpectReads(c, 0, 255, 0, "SetHsb(21846, 65535, 65535)");

    // Only the low bits are kept.
    c.Reset();
    c.SetRed(0x123);
    c.SetGreen(0x100);
    c.SetBlue(0xABCD);
    ExpectReads(c, 0x23, 0x00, 0xCD, "low 8 bits");
    c.SetHue(0x1000A);
    EXPECT_EQ(0x000A, c.GetHue());
    c.SetHsb(0x10001, 0x20002, 0x30003);
    EXPECT_EQ(1, c.GetHue());
    EXPECT_EQ(2, c.GetSaturation());
    EXPECT_EQ(3, c.GetBrightness());
}

TEST(ColorValue, EqualsComparesAllSixReadComponents)
{
    const ColorValue rgbGrey = MakeRgb(128, 128, 128);
    const ColorValue hsbGrey = MakeHsb(0, 0, 128 * 257);
    EXPECT_TRUE(rgbGrey.Equals(hsbGrey)) << Describe(rgbGrey) << " vs " << Describe(hsbGrey);
    EXPECT_TRUE(hsbGrey.Equals(rgbGrey));
    EXPECT_FALSE(rgbGrey.Differs(hsbGrey));

    const ColorValue tintedGrey = MakeHsb(1000, 0, 128 * 257);
    EXPECT_EQ(rgbGrey.GetRgb(), tintedGrey.GetRgb());
    EXPECT_FALSE(rgbGrey.Equals(tintedGrey)) << "hue 1000 against hue 0";
    EXPECT_FALSE(tintedGrey.Equals(rgbGrey));
    EXPECT_TRUE(rgbGrey.Differs(tintedGrey));

    // Black in every case below: only the named component tells them apart.
    const ColorValue black = MakeHsb(0, 0, 0);
    EXPECT_FALSE(black.Equals(MakeHsb(0, 65535, 0))) << "saturation differs";
    EXPECT_FALSE(black.Equals(MakeHsb(0, 0, 1))) << "brightness differs";
    EXPECT_FALSE(black.Equals(MakeHsb(1, 0, 0))) << "hue differs";
    EXPECT_TRUE(black.Equals(MakeRgb(0, 0, 0)));

    // The stale fields of the other form play no part.
    ColorValue a = MakeRgb(10, 20, 30);
    ColorValue b = a;
    b.hue = 999;
    b.saturation = 999;
    b.brightness = 999;
    EXPECT_TRUE(a.Equals(b)) << Describe(a) << " vs " << Describe(b);
    EXPECT_FALSE(a.Equals(MakeRgb(11, 20, 30)));
    EXPECT_FALSE(a.Equals(MakeRgb(10, 21, 30)));
    EXPECT_FALSE(a.Equals(MakeRgb(10, 20, 31)));
}

TEST(ColorValue, PackedFormsRoundTrip)
{
    ColorValue c = MakeHsb(16384, 30000, 50000);
    c.SetRgb(0x123456);
    EXPECT_EQ(ColorForm::Rgb, c.form) << "SetRgb leaves the colour in Rgb form";
    ExpectReads(c, 0x12, 0x34, 0x56, "SetRgb(0x123456)");
    EXPECT_EQ(0x563412u, c.GetColorRef());

    c = MakeHsb(16384, 30000, 50000);
    c.SetColorRef(0x123456);
    EXPECT_EQ(ColorForm::Rgb, c.form);
    ExpectReads(c, 0x56, 0x34, 0x12, "SetColorRef(0x123456)");
    EXPECT_EQ(0x563412u, c.GetRgb());

    c.SetRgb(0xFF000000u);
    EXPECT_EQ(0u, c.GetRgb()) << "the top byte is not a component";
    c.SetColorRef(0xFFFFFFFFu);
    EXPECT_EQ(0xFFFFFFu, c.GetColorRef());

    // Packing from Hsb form goes through the conversion.
    EXPECT_EQ(0x96C369u, MakeHsb(16384, 30000, 50000).GetRgb());
    EXPECT_EQ(0x9669C3u, MakeHsb(49151, 30000, 50000).GetRgb());
    EXPECT_EQ(0xC36996u, MakeHsb(49151, 30000, 50000).GetColorRef());

    // Each channel takes all 256 values, in a different order per channel,
    // starting from an Hsb-form colour each time.
    for (uint32_t i = 0; i < 256; ++i) {
        const uint32_t rgb = (i << 16) | (((i * 37 + 11) & 0xFF) << 8) | ((i * 101 + 7) & 0xFF);
        ColorValue x = MakeHsb(i * 256, 65535, 65535);
        x.SetRgb(rgb);
        ASSERT_EQ(rgb, x.GetRgb()) << std::hex << "SetRgb/GetRgb 0x" << rgb;
        ColorValue y = MakeHsb(i * 256, 65535, 65535);
        y.SetColorRef(rgb);
        ASSERT_EQ(rgb, y.GetColorRef()) << std::hex << "SetColorRef/GetColorRef 0x" << rgb;
        const uint32_t swapped = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16);
        ASSERT_EQ(swapped, y.GetRgb()) << std::hex << "COLORREF 0x" << rgb;
    }
}

TEST(ColorValue, ContrastTextColorFollowsLuminance)
{
    EXPECT_EQ(0xFFFFFFu, MakeRgb(127, 127, 127).GetContrastTextColor())
        << "grey 127 has luminance exactly 127.0: white text";
    EXPECT_EQ(0x000000u, MakeRgb(128, 128, 128).GetContrastTextColor());
    EXPECT_EQ(0xFFFFFFu, MakeRgb(0, 0, 255).GetContrastTextColor());
    EXPECT_EQ(0x000000u, MakeRgb(255, 255, 0).GetContrastTextColor());
    EXPECT_EQ(0x000000u, MakeRgb(0, 255, 0).GetContrastTextColor()) << "green weighs most";
    EXPECT_EQ(0xFFFFFFu, MakeRgb(255, 0, 255).GetContrastTextColor()) << "0.2125*255 + 0.0721*255 = 72.6";
    // Luminance exactly 127.0 in double arithmetic; extended-precision
    // intermediates (x87) push these just above it.
    const Rgb exactly127[] = {
        {1, 161, 161}, {64, 144, 144},  {92, 125, 250}, {99, 146, 21}, {155, 108, 233},
        {162, 129, 4}, {190, 110, 110}, {218, 91, 216}, {253, 93, 93},
    };
    for (const Rgb& k : exactly127) {
        EXPECT_EQ(0xFFFFFFu, MakeRgb(k.red, k.green, k.blue).GetContrastTextColor())
            << "rgb(" << k.red << "," << k.green << "," << k.blue << ") has luminance 127.0: white text";
    }
    // Just above 127.0 in double arithmetic.
    EXPECT_EQ(0x000000u, MakeRgb(36, 163, 38).GetContrastTextColor());

    for (int g = 0; g < 256; ++g) {
        EXPECT_EQ(g <= 127 ? 0xFFFFFFu : 0x000000u, MakeRgb(g, g, g).GetContrastTextColor()) << "grey " << g;
    }
    // Read through the getters in Hsb form too.
    EXPECT_EQ(0x000000u, MakeHsb(0, 0, 128 * 257).GetContrastTextColor());
    EXPECT_EQ(0xFFFFFFu, MakeHsb(0, 0, 127 * 257).GetContrastTextColor());
}

TEST(ColorValue, FieldUnitsTruncate)
{
    EXPECT_EQ(360u, HueToDegrees(65535));
    EXPECT_EQ(65535u, DegreesToHue(360));
    EXPECT_EQ(50u, LevelToPercent(32768));
    EXPECT_EQ(100u, LevelToPercent(65535));
    EXPECT_EQ(65535u, PercentToLevel(100));

    EXPECT_EQ(0u, HueToDegrees(0));
    EXPECT_EQ(359u, HueToDegrees(65534)) << "truncates, does not round";
    EXPECT_EQ(0u, HueToDegrees(182));
    EXPECT_EQ(1u, HueToDegrees(183));
    EXPECT_EQ(182u, DegreesToHue(1));
    EXPECT_EQ(32767u, DegreesToHue(180));
    EXPECT_EQ(99u, LevelToPercent(65534));
    EXPECT_EQ(0u, LevelToPercent(655));
    EXPECT_EQ(1u, LevelToPercent(656));
    EXPECT_EQ(655u, PercentToLevel(1));
    EXPECT_EQ(32767u, PercentToLevel(50));

    // Typing a value and showing it again loses at most one unit.
    for (uint32_t d = 0; d <= 360; ++d) {
        const uint32_t shown = HueToDegrees(static_cast<uint16_t>(DegreesToHue(d)));
        EXPECT_TRUE(shown == d || shown + 1 == d) << d << " degrees shows as " << shown;
    }
    for (uint32_t p = 0; p <= 100; ++p) {
        const uint32_t shown = LevelToPercent(static_cast<uint16_t>(PercentToLevel(p)));
        EXPECT_TRUE(shown == p || shown + 1 == p) << p << "% shows as " << shown;
    }
}
