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

// Reads a colour pasted from elsewhere, in any case, with blanks around it and around its
// separators and one trailing ';' allowed:
//   #RGB, #RRGGBB, RRGGBB (six digits);
//   rgb()/rgba() and the RGB() macro: three integers 0..255 or three percentages 0..100, between
//   commas or blanks, and an alpha (after a comma, or after '/' between blanks) that is ignored;
//   hsl()/hsla(): hue in degrees (any number, taken modulo 360) or an angle in deg, rad, grad or
//   turn, saturation and lightness in percent (blank-separated also plain numbers 0..100), alpha
//   as above;
//   in the blank-separated forms of these and of all below from CSS, "none" for any number (0);
//   a COLORREF literal: 0x and 1..8 hex digits, at most 0x00FFFFFF, blue in the high byte;
//   a name of the named colours;
//   CSS Color 4's oklch(), oklab(), lch(), lab(), hwb() and color() (srgb, srgb-linear,
//   display-p3, a98-rgb, prophoto-rgb, xyz, xyz-d50, xyz-d65), blank-separated with an alpha
//   after '/': a number or a percentage wherever CSS takes either, with CSS's reference ranges,
//   hues in deg, rad, grad or turn. Lightness and chroma are clamped as CSS clamps them, and a
//   colour outside sRGB is brought in by CSS's gamut mapping (chroma reduced in OKLCH);
//   hwb()'s whiteness and blackness must be 0..100;
//   hsb(h, s%, b%): the whole numbers of the H, S, B value fields, read as typed there;
//   cmyk(c, m, y, k): four percentages or fractions 0..1, the naive inks;
//   (r, g, b): three fractions 0..1;
//   a decimal number up to 16777215, 0xRRGGBB (except six digits, which are hex).
// Numbers may have an exponent; none larger than 1e9 is taken. Nothing else out of range is
// clamped. On success the colour is set (Rgb form); otherwise untouched.
bool ParseColorText(const char* text, ColorValue* color);
