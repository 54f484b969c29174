// The table of colour axes and slider modes: field units, ranges, and which components each
// mode shows where.
#include "color/color_axes.h"

#include <gtest/gtest.h>

#include <set>

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
    EXPECT_EQ(255u, GetAxisRange(AxisBlue).fieldMaximum);
    EXPECT_EQ(360u, GetAxisRange(AxisHue).fieldMaximum);
    EXPECT_EQ(100u, GetAxisRange(AxisBrightness).fieldMaximum);
}

TEST(ColorAxes, ValuesGoThroughTheComponentsOwnSettersAndGetters)
{
    ColorValue c = Rgb(0x102030);
    EXPECT_EQ(0x10u, GetAxisValue(c, AxisRed));
    EXPECT_EQ(0x20u, GetAxisValue(c, AxisGreen));
    EXPECT_EQ(0x30u, GetAxisValue(c, AxisBlue));
    EXPECT_EQ(c.GetHue(), GetAxisValue(c, AxisHue));

    SetAxisValue(&c, AxisBrightness, 65535);
    EXPECT_EQ(ColorForm::Hsb, c.form);
    EXPECT_EQ(65535u, c.GetBrightness());
    SetAxisValue(&c, AxisGreen, 7);
    EXPECT_EQ(ColorForm::Rgb, c.form);
    EXPECT_EQ(7, c.GetGreen());
    SetAxisValue(&c, AxisHue, 1234);
    EXPECT_EQ(1234, c.GetHue());
    SetAxisValue(&c, AxisSaturation, 4321);
    EXPECT_EQ(4321, c.GetSaturation());
}

TEST(ColorAxes, EachModeShowsItsSliderComponentAndTheOtherTwoOfItsModel)
{
    const ModeAxes expected[COLOR_AXIS_COUNT] = {
        {AxisRed, AxisGreen, AxisBlue},
        {AxisGreen, AxisRed, AxisBlue},
        {AxisBlue, AxisRed, AxisGreen},
        {AxisHue, AxisSaturation, AxisBrightness},
        {AxisSaturation, AxisHue, AxisBrightness},
        {AxisBrightness, AxisHue, AxisSaturation},
    };
    for (uint32_t mode = 0; mode < COLOR_AXIS_COUNT; ++mode) {
        const ModeAxes& axes = GetModeAxes(mode);
        EXPECT_EQ(mode, static_cast<uint32_t>(axes.slider));
        EXPECT_EQ(expected[mode].column, axes.column) << mode;
        EXPECT_EQ(expected[mode].row, axes.row) << mode;
        // One model per mode, so the field's two axes share the slider's range.
        EXPECT_EQ(GetAxisRange(axes.slider).full, GetAxisRange(axes.column).full) << mode;
        EXPECT_EQ(GetAxisRange(axes.slider).full, GetAxisRange(axes.row).full) << mode;
    }
    EXPECT_EQ(16u, GetAxisRange(AxisRed).packedShift);
    EXPECT_EQ(8u, GetAxisRange(AxisGreen).packedShift);
    EXPECT_EQ(0u, GetAxisRange(AxisBlue).packedShift);
}

}  // namespace
