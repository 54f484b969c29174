// The six components of a colour, in the order of the value fields 413-418 and of the slider
// modes, with what each one's range and field units are; and what each slider mode puts on the
// slider and on the field's two axes. The one place that knows either.
#pragma once
#include <cstdint>

#include "color/color_value.h"

// A slider mode is the component the slider carries.
enum ColorAxis : uint32_t {
    AxisRed = 0,
    AxisGreen = 1,
    AxisBlue = 2,
    AxisHue = 3,
    AxisSaturation = 4,
    AxisBrightness = 5,
};
enum { COLOR_AXIS_COUNT = 6 };

struct AxisRange {
    uint32_t full;          // 255 for red, green, blue; 65535 for hue, saturation, brightness
    uint32_t bits;          // 8 or 16: positions scale to the range by shifts of this many bits
    uint32_t fieldMaximum;  // the value field's largest number: 255, 360 (degrees) or 100 (%)
    uint32_t packedShift;   // red, green, blue: where the channel sits in 0x00RRGGBB
};

// What a slider mode shows: the slider's component, and the field's across (column) and up
// (row) components, the other two of the same model.
struct ModeAxes {
    ColorAxis slider;
    ColorAxis column;
    ColorAxis row;
};

// For axis and mode 0..5; callers check the range.
const AxisRange& GetAxisRange(uint32_t axis);
const ModeAxes& GetModeAxes(uint32_t mode);
inline bool IsRgbAxis(uint32_t axis)
{
    return axis <= AxisBlue;
}

// The component as the getters read it, and set through the setters (so in its own form).
uint32_t GetAxisValue(const ColorValue& color, uint32_t axis);
void SetAxisValue(ColorValue* color, uint32_t axis, uint32_t value);

// Between a component and the number its value field shows: value * fieldMaximum / full and
// back, truncating (for red, green and blue the number is the value).
uint32_t AxisToField(uint32_t axis, uint32_t value);
uint32_t FieldToAxis(uint32_t axis, uint32_t number);

// The number the axis's value field shows for the colour.
uint32_t AxisFieldNumber(const ColorValue& color, uint32_t axis);
// The smallest component that shows `number` (at most the field's maximum). Not FieldToAxis,
// which rounds down and so can show one less (10 degrees stores a hue that shows 9).
uint32_t SmallestAxisValueShowing(uint32_t axis, uint32_t number);
// Moves the shown number by `units` (clamped to 0 .. the field's maximum) and sets the smallest
// component that shows the result, so every step moves the number by exactly that much.
void StepAxisNumber(ColorValue* color, uint32_t axis, int32_t units);
