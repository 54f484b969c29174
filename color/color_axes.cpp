#include "color/color_axes.h"

namespace {

const AxisRange kAxisRanges[COLOR_AXIS_COUNT] = {
    {255, 8, 255, 16},   {255, 8, 255, 8},    {255, 8, 255, 0},
    {65535, 16, 360, 0}, {65535, 16, 100, 0}, {65535, 16, 100, 0},
};

const ModeAxes kModeAxes[COLOR_AXIS_COUNT] = {
    {AxisRed, AxisGreen, AxisBlue},
    {AxisGreen, AxisRed, AxisBlue},
    {AxisBlue, AxisRed, AxisGreen},
    {AxisHue, AxisSaturation, AxisBrightness},
    {AxisSaturation, AxisHue, AxisBrightness},
    {AxisBrightness, AxisHue, AxisSaturation},
};

typedef uint32_t (*AxisGetter)(const ColorValue&);
typedef void (*AxisSetter)(ColorValue*, uint32_t);

const AxisGetter kGetters[COLOR_AXIS_COUNT] = {
    [](const ColorValue& c) -> uint32_t { return c.GetRed(); },
    [](const ColorValue& c) -> uint32_t { return c.GetGreen(); },
    [](const ColorValue& c) -> uint32_t { return c.GetBlue(); },
    [](const ColorValue& c) -> uint32_t { return c.GetHue(); },
    [](const ColorValue& c) -> uint32_t { return c.GetSaturation(); },
    [](const ColorValue& c) -> uint32_t { return c.GetBrightness(); },
};

const AxisSetter kSetters[COLOR_AXIS_COUNT] = {
    [](ColorValue* c, uint32_t v) { c->SetRed(v); },
    [](ColorValue* c, uint32_t v) { c->SetGreen(v); },
    [](ColorValue* c, uint32_t v) { c->SetBlue(v); },
    [](ColorValue* c, uint32_t v) { c->SetHue(v); },
    [](ColorValue* c, uint32_t v) { c->SetSaturation(v); },
    [](ColorValue* c, uint32_t v) { c->SetBrightness(v); },
};

}  // namespace

const AxisRange& GetAxisRange(uint32_t axis)
{
    return kAxisRanges[axis];
}

const ModeAxes& GetModeAxes(uint32_t mode)
{
    return kModeAxes[mode];
}

uint32_t GetAxisValue(const ColorValue& color, uint32_t axis)
{
    return kGetters[axis](color);
}

void SetAxisValue(ColorValue* color, uint32_t axis, uint32_t value)
{
    kSetters[axis](color, value);
}

// The products stay below 2^32: at most 65535 * 360, and a field number is range-checked
// before it is stored.
uint32_t AxisToField(uint32_t axis, uint32_t value)
{
    const AxisRange& range = kAxisRanges[axis];
    return value * range.fieldMaximum / range.full;
}

uint32_t FieldToAxis(uint32_t axis, uint32_t number)
{
    const AxisRange& range = kAxisRanges[axis];
    return number * range.full / range.fieldMaximum;
}

uint32_t AxisFieldNumber(const ColorValue& color, uint32_t axis)
{
    return AxisToField(axis, GetAxisValue(color, axis));
}

uint32_t SmallestAxisValueShowing(uint32_t axis, uint32_t number)
{
    const AxisRange& range = kAxisRanges[axis];
    if (number > range.fieldMaximum)
        number = range.fieldMaximum;
    // The shown number is value * maximum / full rounded down: the first value reaching it is the
    // quotient number * full / maximum rounded up.
    return (number * range.full + range.fieldMaximum - 1) / range.fieldMaximum;
}

void StepAxisNumber(ColorValue* color, uint32_t axis, int32_t units)
{
    const int32_t maximum = static_cast<int32_t>(kAxisRanges[axis].fieldMaximum);
    int32_t number = static_cast<int32_t>(AxisFieldNumber(*color, axis)) + units;
    number = number < 0 ? 0 : (number > maximum ? maximum : number);
    SetAxisValue(color, axis, SmallestAxisValueShowing(axis, static_cast<uint32_t>(number)));
}
