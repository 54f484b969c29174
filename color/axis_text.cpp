#include "color/axis_text.h"

#include <cstdio>

char* FormatAxisNumber(const ColorValue& color, uint32_t axis, char* text)
{
    snprintf(text, AXIS_TEXT_SIZE, "%u", static_cast<unsigned>(AxisFieldNumber(color, axis)));
    return text;
}

char* FormatSliderName(uint32_t mode, const AxisNames& names, char* text)
{
    snprintf(text, AXIS_TEXT_SIZE, "%s", names[GetModeAxes(mode).slider]);
    return text;
}

char* FormatSliderValue(uint32_t mode, const ColorValue& color, char* text)
{
    return FormatAxisNumber(color, GetModeAxes(mode).slider, text);
}

char* FormatFieldName(uint32_t mode, const AxisNames& names, char* text)
{
    const ModeAxes& axes = GetModeAxes(mode);
    snprintf(text, AXIS_TEXT_SIZE, "%s and %s", names[axes.column], names[axes.row]);
    return text;
}

char* FormatFieldValue(uint32_t mode, const ColorValue& color, const AxisNames& names, char* text)
{
    const ModeAxes& axes = GetModeAxes(mode);
    char across[AXIS_TEXT_SIZE], up[AXIS_TEXT_SIZE];
    snprintf(text, AXIS_TEXT_SIZE, "%s %s, %s %s", names[axes.column],
             FormatAxisNumber(color, axes.column, across), names[axes.row],
             FormatAxisNumber(color, axes.row, up));
    return text;
}
