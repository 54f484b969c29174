// A colour as six hexadecimal digits (0xRRGGBB), and the decimal numbers the value fields and
// the saved colours' file hold.
#pragma once
#include <cstdint>

#include "color/color_value.h"

enum { HEX_TEXT_SIZE = 7 };  // six digits and the NUL

// Writes the six digits of GetRgb and a NUL into `text` (at least HEX_TEXT_SIZE bytes).
char* FormatHex(const ColorValue& color, char* text, bool upperCase);

// The value 0..15 of a hex digit in either case; -1 for any other character.
int HexDigitValue(char c);

// Accepts 1 to 6 hex digits in either case and nothing else; the colour is untouched on failure.
bool ParseHex(ColorValue& color, const char* text);

// Accepts [begin, end) when it is nothing but the digits 0-9 (none reads as 0); a value past
// UINT32_MAX stays at it rather than wrapping. `value` is untouched on failure.
bool ParseDecimal(const char* begin, const char* end, uint32_t* value);

// A value field's text: blanks (space, tab) around the digits are dropped, a blank between them
// is not a number, and an empty field reads 0.
bool ParseFieldNumber(const char* text, uint32_t* value);
