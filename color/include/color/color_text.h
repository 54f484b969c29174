// A colour as the text other programs' sources take: CSS rgb() and hsl(), the Win32 RGB() macro
// and a COLORREF literal.
#pragma once
#include <cstdint>

#include "color/color_value.h"

enum { COLOR_TEXT_SIZE = 24 };  // "hsl(359, 100%, 100%)", the longest, and the NUL

// HSL in whole numbers: hue 0..359 degrees, saturation and lightness 0..100 percent.
struct WholeHsl {
    uint16_t hue;
    uint8_t saturation;
    uint8_t lightness;
};

// Real HSL of 8-bit red, green, blue (not the program's HSB), each part rounded half up to
// the nearest whole number; a hue that rounds to 360 is 0, and greys have hue and saturation 0.
WholeHsl RgbToWholeHsl(uint8_t red, uint8_t green, uint8_t blue);

// Each writes the text and a NUL into `text` (at least COLOR_TEXT_SIZE bytes) and returns it.
char* FormatCssRgb(const ColorValue& color, char* text);           // rgb(255, 128, 0)
char* FormatCssHsl(const ColorValue& color, char* text);           // hsl(30, 100%, 50%)
char* FormatWin32Rgb(const ColorValue& color, char* text);         // RGB(255, 128, 0)
char* FormatColorRefLiteral(const ColorValue& color, char* text);  // 0x000080FF
