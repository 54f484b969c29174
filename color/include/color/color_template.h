// The user's own copy forms: a text with the colour's values put in for placeholders, as in
// "Color.FromArgb({r}, {g}, {b})".
//   {r} {g} {b}        red, green, blue 0..255
//   {rx} {gx} {bx}     the same as two lower-case hex digits; {RX} {GX} {BX} upper-case
//   {rf} {gf} {bf}     channel / 255 with three decimals ("0.502")
//   {hue} {sat} {bri}  the numbers of the H, S, B value fields
//   {hslh} {hsls} {hsll}  hue, saturation, lightness as the hsl() copy writes them
//   {int}              0xRRGGBB in decimal
//   {{ and }}          a brace
// Names are case-sensitive.
#pragma once
#include <cstddef>

#include "color/color_value.h"

enum { COLOR_TEMPLATE_SIZE = 256 };  // a template's longest text with its NUL

// True when every {...} is a known placeholder and every other brace is doubled; otherwise false and `problem` (size bytes, may be cut) holds the offending text as written: the whole "{name}" for an unknown placeholder, or "{" / "}" for a lone brace.
// A template of COLOR_TEMPLATE_SIZE characters or more is false with `problem` empty.
bool CheckColorTemplate(const char* templ, char* problem, size_t size);
// The template with the colour's values in place of its placeholders, into text (size bytes); false (text "") when the template is invalid or the result does not fit.
bool ExpandColorTemplate(const char* templ, const ColorValue& color, char* text, size_t size);
