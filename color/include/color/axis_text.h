// What the value fields and screen readers say of a colour's axes: each number as its value
// field shows it, and the names and values of the slider and the colour field.
#pragma once
#include <cstdint>

#include "color/color_axes.h"
#include "color/color_value.h"

enum { AXIS_TEXT_SIZE = 64 };  // room for "Saturation 100, Brightness 100" with long names

// The axes' names by ColorAxis ("Red" .. "Brightness"), as the program words them.
typedef const char* AxisNames[COLOR_AXIS_COUNT];

// Each writes a text and a NUL into `text` (at least AXIS_TEXT_SIZE bytes) and returns it.

// "128": the number the axis's value field shows.
char* FormatAxisNumber(const ColorValue& color, uint32_t axis, char* text);

// The slider of `mode`: its axis's name, and its number ("Red", "128").
char* FormatSliderName(uint32_t mode, const AxisNames& names, char* text);
char* FormatSliderValue(uint32_t mode, const ColorValue& color, char* text);

// The colour field of `mode`: across, then up ("Green and Blue", "Green 255, Blue 0").
char* FormatFieldName(uint32_t mode, const AxisNames& names, char* text);
char* FormatFieldValue(uint32_t mode, const ColorValue& color, const AxisNames& names, char* text);
