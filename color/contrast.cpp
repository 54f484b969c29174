#include "color/contrast.h"

#include <cmath>
#include <cstdio>

#include "color/color_spaces.h"

namespace {

double ChannelLuminance(uint32_t channel)
{
    const double value = (channel & 0xFF) / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

// 0..255 of a fraction 0..1, half up.
uint32_t To8Bits(double fraction)
{
    if (!(fraction > 0))  // NaN too
        return 0;
    if (fraction >= 1)
        return 255;
    return static_cast<uint32_t>(std::floor(fraction * 255 + 0.5));
}

// The colours a search may give: one hue and chroma in OKLCH, any lightness.
struct Line {
    double lightness, chroma, hue;
};

uint32_t ColorAt(const Line& line, double lightness)
{
    const Coords oklab = FromPolar(Coords{{lightness, line.chroma, line.hue}});
    const Coords srgb = FitIntoSrgb(oklab, XyzToSrgb(OklabToXyz(oklab)));
    return To8Bits(srgb.c[0]) << 16 | To8Bits(srgb.c[1]) << 8 | To8Bits(srgb.c[2]);
}

// The smallest lightness change toward `end` (0 or 1) whose 8-bit colour reaches `target`; false
// when even the end (black or white) does not. The start itself is known to fall short.
bool Search(const Line& line, double end, uint32_t background, double target, double* change, uint32_t* found)
{
    const double span = std::fabs(end - line.lightness);
    const double sign = end > line.lightness ? 1 : -1;
    auto passes = [&](uint32_t c) { return ContrastRatio(c, background) >= target; };

    uint32_t best = ColorAt(line, end);
    if (!passes(best))
        return false;
    // Gamut mapping and rounding make the ratio only nearly monotonic along the line, so walk out in
    // small steps to the first colour that passes before bisecting, rather than bisect the whole span.
    const double kStep = 1.0 / 1024;
    double low = 0, high = span;
    for (int k = 1; k * kStep < span; ++k) {
        const uint32_t c = ColorAt(line, line.lightness + sign * k * kStep);
        if (passes(c)) {
            high = k * kStep;
            best = c;
            break;
        }
        low = k * kStep;
    }
    // `low` falls short and `high` passes; only a colour that was checked is ever kept.
    for (int i = 0; i < 40 && high - low > 1e-9; ++i) {
        const double middle = (low + high) / 2;
        const uint32_t c = ColorAt(line, line.lightness + sign * middle);
        if (passes(c)) {
            high = middle;
            best = c;
        } else {
            low = middle;
        }
    }
    *change = high;
    *found = best;
    return true;
}

}  // namespace

double RelativeLuminance(uint32_t rgb)
{
    return 0.2126 * ChannelLuminance(rgb >> 16) + 0.7152 * ChannelLuminance(rgb >> 8) +
           0.0722 * ChannelLuminance(rgb);
}

double ContrastRatio(uint32_t a, uint32_t b)
{
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return la > lb ? (la + 0.05) / (lb + 0.05) : (lb + 0.05) / (la + 0.05);
}

void FormatContrastRatio(double ratio, char* text, size_t size)
{
    if (!text || size == 0)
        return;
    // Kept to what the 8 bytes hold; NaN reads as no contrast.
    if (!(ratio >= 1))
        ratio = 1;
    if (ratio > 21)
        ratio = 21;
    // A ratio exact in hundredths can land a hair below once scaled (1.15 * 100 = 114.999...).
    const long hundredths = static_cast<long>(std::floor(ratio * 100 + 1e-7));
    snprintf(text, size, "%ld.%02ld:1", hundredths / 100, hundredths % 100);
}

const char* ContrastGrade(double ratio)
{
    if (ratio >= 7)
        return "AAA";
    if (ratio >= 4.5)
        return "AA";
    if (ratio >= 3)
        return "AA Large";
    return "Fail";
}

bool NearestPassingColor(uint32_t rgb, uint32_t background, double target, uint32_t* nearest)
{
    rgb &= 0xFFFFFF;
    if (ContrastRatio(rgb, background) >= target) {
        if (nearest)
            *nearest = rgb;
        return true;
    }
    const uint32_t r = rgb >> 16, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
    const Coords lch = ToPolar(XyzToOklab(SrgbToXyz(Coords{{r / 255.0, g / 255.0, b / 255.0}})));
    // A grey's chroma comes out of the matrices a hair above 0; held at 0 it stays grey.
    const Line line = {lch.c[0], r == g && g == b ? 0 : lch.c[1], lch.c[2]};

    double darkChange = 0, lightChange = 0;
    uint32_t dark = 0, light = 0;
    const bool darkFound = Search(line, 0, background, target, &darkChange, &dark);
    const bool lightFound = Search(line, 1, background, target, &lightChange, &light);
    if (!darkFound && !lightFound)
        return false;
    // A tie goes to the darker, so the same call always gives the same colour.
    const uint32_t result = darkFound && (!lightFound || darkChange <= lightChange) ? dark : light;
    if (nearest)
        *nearest = result;
    return true;
}
