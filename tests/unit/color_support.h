// What the colour tests share: a colour made from 0x00RRGGBB, and its six hex digits.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "color/color_value.h"

inline ColorValue Rgb(uint32_t rgb)
{
    ColorValue c{};
    c.SetRgb(rgb);
    return c;
}

inline std::string HexOf(uint32_t rgb)
{
    char text[16];
    snprintf(text, sizeof text, "%06X", static_cast<unsigned>(rgb));
    return text;
}
