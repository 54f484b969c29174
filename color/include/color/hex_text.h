// A colour as six hexadecimal digits (0xRRGGBB), and text onto the clipboard.
#pragma once
#include <windows.h>

#include "color/color_value.h"

enum { HEX_TEXT_SIZE = 7 };  // six digits and the NUL

// Writes the six digits of GetRgb and a NUL into `text` (at least HEX_TEXT_SIZE bytes).
char* FormatHex(const ColorValue& color, char* text, bool upperCase);

// Accepts 1 to 6 hex digits in either case and nothing else; the colour is untouched on failure.
bool ParseHex(ColorValue& color, const char* text);

// Puts `text` on the clipboard as CF_TEXT; true only when the clipboard took it.
bool CopyTextToClipboard(HWND owner, const char* text);
