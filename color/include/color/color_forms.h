// A colour as the texts of CSS Color 4's functions and of the other forms people paste colours
// in; the copy commands of the swatch menu name them by the id of their menu item.
#pragma once
#include <cstdint>

#include "color/color_value.h"

// The built-in forms a colour is copied in, by the id of their swatch-menu item. (The type is not
// called ColorForm: color_value.h already gives that name to a colour's Rgb or Hsb storage.)
enum ColorFormId : uint32_t {
    FORM_OKLCH = 612,         // oklch(73.2% 0.186 53)
    FORM_OKLAB = 613,         // oklab(73.2% 0.112 0.148)
    FORM_LAB = 614,           // lab(67.82% 45.49 74.84)
    FORM_LCH = 615,           // lch(67.82% 87.58 58.71)
    FORM_HWB = 616,           // hwb(30 0% 0%)
    FORM_COLOR_SRGB = 617,    // color(srgb 1 0.502 0)
    FORM_HSB = 618,           // hsb(30, 100%, 100%): the numbers of the H, S, B value fields
    FORM_CMYK = 619,          // cmyk(0%, 50%, 100%, 0%)
    FORM_FLOAT_TRIPLE = 620,  // (1.000, 0.502, 0.000)
    FORM_INTEGER = 621,       // 16744448: 0xRRGGBB in decimal
};
enum { COLOR_FORM_TEXT_SIZE = 48 };

// The colour in the form and a NUL into `text` (COLOR_FORM_TEXT_SIZE bytes); nullptr, text untouched, for an id that is no form here.
char* FormatColorForm(uint32_t form, const ColorValue& color, char* text);
