#include "color/color_text.h"

#include <cstdio>

namespace {

// n / d rounded half up, for n >= 0 and d > 0.
uint32_t RoundedQuotient(uint32_t n, uint32_t d)
{
    return (2 * n + d) / (2 * d);
}

}  // namespace

WholeHsl RgbToWholeHsl(uint8_t red, uint8_t green, uint8_t blue)
{
    // All in integers: each part is an exact fraction of the 8-bit values, so rounding it needs
    // no floating point and lands on the same side of every half on every target.
    const uint32_t r = red, g = green, b = blue;
    const uint32_t high = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const uint32_t low = r < g ? (r < b ? r : b) : (g < b ? g : b);
    const uint32_t delta = high - low, sum = high + low;

    WholeHsl hsl = {};
    // Lightness (high + low) / 2 of 255, as percent: 100 * sum / 510.
    hsl.lightness = static_cast<uint8_t>(RoundedQuotient(100 * sum, 510));
    if (delta == 0)
        return hsl;  // grey: no hue, no saturation

    // delta / (1 - |2L - 1|) reduces to delta / min(sum, 510 - sum); neither is 0 here.
    const uint32_t span = sum <= 255 ? sum : 510 - sum;
    hsl.saturation = static_cast<uint8_t>(RoundedQuotient(100 * delta, span));

    // The sector formula scaled by delta: degrees = turn / delta, turn kept non-negative.
    int32_t turn;
    const int32_t d = static_cast<int32_t>(delta);
    if (high == r)
        turn = 60 * (static_cast<int32_t>(g) - static_cast<int32_t>(b)) + (g < b ? 360 * d : 0);
    else if (high == g)
        turn = 60 * (static_cast<int32_t>(b) - static_cast<int32_t>(r)) + 120 * d;
    else
        turn = 60 * (static_cast<int32_t>(r) - static_cast<int32_t>(g)) + 240 * d;
    const uint32_t degrees = RoundedQuotient(static_cast<uint32_t>(turn), delta);
    hsl.hue = static_cast<uint16_t>(degrees == 360 ? 0 : degrees);
    return hsl;
}

char* FormatCssRgb(const ColorValue& color, char* text)
{
    snprintf(text, COLOR_TEXT_SIZE, "rgb(%u, %u, %u)", unsigned{color.GetRed()}, unsigned{color.GetGreen()},
             unsigned{color.GetBlue()});
    return text;
}

char* FormatCssHsl(const ColorValue& color, char* text)
{
    const WholeHsl hsl = RgbToWholeHsl(color.GetRed(), color.GetGreen(), color.GetBlue());
    snprintf(text, COLOR_TEXT_SIZE, "hsl(%u, %u%%, %u%%)", unsigned{hsl.hue}, unsigned{hsl.saturation},
             unsigned{hsl.lightness});
    return text;
}

char* FormatWin32Rgb(const ColorValue& color, char* text)
{
    snprintf(text, COLOR_TEXT_SIZE, "RGB(%u, %u, %u)", unsigned{color.GetRed()}, unsigned{color.GetGreen()},
             unsigned{color.GetBlue()});
    return text;
}

char* FormatColorRefLiteral(const ColorValue& color, char* text)
{
    snprintf(text, COLOR_TEXT_SIZE, "0x%08lX", static_cast<unsigned long>(color.GetColorRef()));
    return text;
}
