// Colours known by name, and rounding to the 216 web-safe colours.
#pragma once
#include <cstdint>

#include "color/color_value.h"

enum { NAMED_COLOR_COUNT = 140 };

struct NamedColor {
    const char* name;
    uint32_t value;  // 0x00RRGGBB
};

extern const NamedColor NamedColorTable[NAMED_COLOR_COUNT];

// 0 for an index outside the table.
uint32_t GetNamedColorValue(int32_t index);
// The entry's own name; "" for an index outside the table.
const char* GetNamedColorName(int32_t index);

// First row equal to the colour; else the nearest (city-block distance, lower index on ties)
// when allowed, or -1.
int32_t FindNamedColor(const ColorValue& color, bool allowNearest);

// Copies the row's name into `buffer` (lstrcpyn rules) and returns the length copied; without a
// buffer returns the name's length; 0 when no row is found.
int GetColorName(const ColorValue& color, char* buffer, int bufferSize, bool allowNearest);

// Each component to the nearest multiple of 51.
void RoundToWebSafe(ColorValue& color);
// Red, green and blue all multiples of 51, whichever form the colour is held in.
bool IsWebSafe(const ColorValue& color);
