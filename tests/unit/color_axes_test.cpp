// The colour axes as a user meets them: the numbers the value fields show, and what each slider
// mode's slider and field move.
#include "color/color_axes.h"

#include <gtest/gtest.h>

#include "color/axis_text.h"

namespace {

ColorValue Rgb(uint32_t rgb)
{
    ColorValue c{};
    c.SetRgb(rgb);
    return c;
}

TEST(ColorAxes, FieldNumbersTruncateBothWays)
{
    // Red, green and blue show as they are.
    for (uint32_t axis : {AxisRed, AxisGreen, AxisBlue})
        for (uint32_t v : {0u, 1u, 128u, 255u}) {
            EXPECT_EQ(v, AxisToField(axis, v));
            EXPECT_EQ(v, FieldToAxis(axis, v));
        }
    // Degrees: 10 stores 1820, which shows as 9; the full turn is 360 both ways.
    EXPECT_EQ(1820u, FieldToAxis(AxisHue, 10));
    EXPECT_EQ(9u, AxisToField(AxisHue, 1820));
    EXPECT_EQ(65535u, FieldToAxis(AxisHue, 360));
    EXPECT_EQ(360u, AxisToField(AxisHue, 65535));
    // Percent: 50 stores 32767, which shows as 49; 60 comes back as 60.
    for (uint32_t axis : {AxisSaturation, AxisBrightness}) {
        EXPECT_EQ(32767u, FieldToAxis(axis, 50));
        EXPECT_EQ(49u, AxisToField(axis, 32767));
        EXPECT_EQ(60u, AxisToField(axis, FieldToAxis(axis, 60)));
        EXPECT_EQ(100u, AxisToField(axis, 65535));
    }
}

// The six fields in their order (red, green, blue 0-255; hue in degrees; saturation and
// brightness in percent) for colours whose numbers are known by hand.
TEST(ColorAxes, FieldsShowKnownColoursInTheirOwnUnits)
{
    const struct {
        uint32_t rgb;
        uint32_t shown[COLOR_AXIS_COUNT];
    } colours[] = {
        {0xFFFFFF, {255, 255, 255, 0, 0, 100}},   {0x000000, {0, 0, 0, 0, 0, 0}},
        {0xFF0000, {255, 0, 0, 0, 100, 100}},     {0x0000FF, {0, 0, 255, 240, 100, 100}},
        {0xFF00FF, {255, 0, 255, 300, 100, 100}}, {0x808080, {128, 128, 128, 0, 0, 50}},
        {0x336699, {51, 102, 153, 210, 66, 60}},
    };
    for (const auto& colour : colours)
        for (uint32_t axis = 0; axis < COLOR_AXIS_COUNT; ++axis)
            EXPECT_EQ(colour.shown[axis], AxisToField(axis, GetAxisValue(Rgb(colour.rgb), axis)))
                << std::hex << colour.rgb << ", field " << axis;
}

// The slider and each field axis set on a known colour: the RGB modes move one channel each; the
// HSB modes move hue (a third of the circle turns red green), saturation (none is white) or
// brightness (none is black).
TEST(ColorAxes, EachModeMovesItsSliderComponentAndTheOtherTwoOfItsModelOnTheField)
{
    const struct {
        uint32_t mode, from;
        uint32_t set[3], after[3];  // slider, across, up
    } modes[] = {
        {AxisRed, 0x336699, {255, 0, 0}, {0xFF6699, 0x330099, 0x336600}},
        {AxisGreen, 0x336699, {255, 0, 0}, {0x33FF99, 0x006699, 0x336600}},
        {AxisBlue, 0x336699, {255, 0, 0}, {0x3366FF, 0x006699, 0x330099}},
        {AxisHue, 0xFF0000, {21845, 0, 0}, {0x00FF00, 0xFFFFFF, 0x000000}},
        {AxisSaturation, 0xFF0000, {0, 21845, 0}, {0xFFFFFF, 0x00FF00, 0x000000}},
        {AxisBrightness, 0xFF0000, {0, 21845, 0}, {0x000000, 0x00FF00, 0xFFFFFF}},
    };
    for (const auto& m : modes) {
        const ModeAxes& axes = GetModeAxes(m.mode);
        const ColorAxis moved[3] = {axes.slider, axes.column, axes.row};
        for (int i = 0; i < 3; ++i) {
            ColorValue c = Rgb(m.from);
            SetAxisValue(&c, moved[i], m.set[i]);
            EXPECT_EQ(m.after[i], c.GetRgb()) << std::hex << "mode " << m.mode << ", axis " << i;
            EXPECT_EQ(m.set[i], GetAxisValue(c, moved[i])) << "mode " << m.mode << ", axis " << i;
        }
    }
}

// A key's step moves the number a field shows by exactly its units: every number from 0 to the
// maximum is met on the way up and down (storing what a typed number stores would stick: 10
// degrees shows 9), and the ends stop it, hue included.
TEST(ColorAxes, StepsMeetEveryShownNumberAndStopAtTheEnds)
{
    const struct {
        uint32_t axis, maximum;
    } axes[] = {{AxisRed, 255}, {AxisHue, 360}, {AxisSaturation, 100}, {AxisBrightness, 100}};
    for (const auto& a : axes) {
        ColorValue c{};
        c.SetHsb(0, 65535, 0);
        SetAxisValue(&c, a.axis, 0);
        for (int32_t n = 1, step = 1; n >= 0; n += step) {
            StepAxisNumber(&c, a.axis, step);
            ASSERT_EQ(static_cast<uint32_t>(n > static_cast<int32_t>(a.maximum) ? a.maximum : n),
                      AxisToField(a.axis, GetAxisValue(c, a.axis)))
                << "axis " << a.axis;
            if (n > static_cast<int32_t>(a.maximum)) {
                EXPECT_EQ(GetAxisRange(a.axis).full, GetAxisValue(c, a.axis));
                n = a.maximum, step = -1;
            }
        }
        StepAxisNumber(&c, a.axis, -10);
        EXPECT_EQ(0u, GetAxisValue(c, a.axis));
    }
    // From hue 1820, which shows 9 degrees, one step up shows 10 first at 1821.
    ColorValue c{};
    c.SetHsb(1820, 65535, 65535);
    StepAxisNumber(&c, AxisHue, 1);
    EXPECT_EQ(1821u, c.GetHue());
}

// What a screen reader reads of the slider and the field: the numbers as the fields show them.
TEST(ColorAxes, ReadersGetTheAxesNamesAndTheNumbersTheFieldsShow)
{
    const AxisNames names = {"Red", "Green", "Blue", "Hue", "Saturation", "Brightness"};
    char text[AXIS_TEXT_SIZE];
    EXPECT_STREQ("Green and Blue", FormatFieldName(AxisRed, names, text));
    EXPECT_STREQ("Green 255, Blue 0", FormatFieldValue(AxisRed, Rgb(0x00FF00), names, text));
    EXPECT_STREQ("Hue and Saturation", FormatFieldName(AxisBrightness, names, text));
    ColorValue c{};
    c.SetHsb(1820, 32767, 65535);
    EXPECT_STREQ("9", FormatSliderValue(AxisHue, c, text));
    EXPECT_STREQ("Hue 9, Brightness 100", FormatFieldValue(AxisSaturation, c, names, text));
}

}  // namespace
