#include "color/color_forms.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "color/color_axes.h"
#include "color/color_spaces.h"
#include "color/color_text.h"

namespace {

// n / d rounded half up, for d > 0.
uint32_t RoundedQuotient(uint32_t n, uint32_t d)
{
    return (2 * n + d) / (2 * d);
}

// Appends to a text of COLOR_FORM_TEXT_SIZE bytes; every form is far shorter, so nothing is cut.
struct Writer {
    char* text;
    size_t length;

    void Put(const char* piece)
    {
        const size_t room = COLOR_FORM_TEXT_SIZE - 1 - length;
        size_t n = strlen(piece);
        n = n < room ? n : room;
        memcpy(text + length, piece, n);
        length += n;
        text[length] = '\0';
    }
    void Number(uint32_t value)
    {
        char digits[12];
        snprintf(digits, sizeof digits, "%lu", static_cast<unsigned long>(value));
        Put(digits);
    }
    // units / 10^places with `places` decimals, or with its trailing zeros (and point) dropped.
    void Fixed(uint32_t units, int places, bool keepZeros)
    {
        uint32_t scale = 1;
        for (int i = 0; i < places; ++i)
            scale *= 10;
        Number(units / scale);
        if (!places || (!keepZeros && units % scale == 0))
            return;
        char digits[12];
        snprintf(digits, sizeof digits, ".%0*lu", places, static_cast<unsigned long>(units % scale));
        size_t end = strlen(digits);
        while (!keepZeros && end > 1 && digits[end - 1] == '0')
            digits[--end] = '\0';
        Put(digits);
    }
    // `value` to `places` decimals, half away from zero, as CSS writes numbers; what rounds to
    // zero is "0", never "-0". A hue that rounds to 360 is 0.
    void Decimal(double value, int places, bool hue = false)
    {
        uint32_t scale = 1;
        for (int i = 0; i < places; ++i)
            scale *= 10;
        // A double times 10, 100 or 1000 is exact in long double's 64-bit mantissa, so a half is
        // judged on the value itself, not on a product already rounded. Every value here is a few
        // hundred at most; the bound only keeps the conversion defined.
        const long double scaled = std::fabs(static_cast<long double>(value) * scale);
        uint32_t units = 0;
        if (scaled < 1e9L) {
            const long double whole = std::floor(scaled);
            units = static_cast<uint32_t>(whole) + (scaled - whole >= 0.5L ? 1 : 0);
        }
        if (hue && units == 360 * scale)
            units = 0;
        if (units && value < 0)
            Put("-");
        Fixed(units, places, false);
    }
};

// How many decimals each number of a Lab-like form gets, and what lightness is multiplied by to
// make its percentage.
struct Places {
    double lightnessScale;
    int lightness;
    int ab;  // a and b, or chroma
    int hue;
};

const Places kOkPlaces = {100, 1, 3, 1};
const Places kCiePlaces = {1, 2, 2, 2};

void WriteLab(Writer* w, const char* name, const Coords& lab, bool polar, bool grey, const Places& places)
{
    const Coords values = polar ? ToPolar(lab) : lab;
    w->Put(name);
    w->Decimal(values.c[0] * places.lightnessScale, places.lightness);
    w->Put("% ");
    w->Decimal(grey ? 0 : values.c[1], places.ab);
    w->Put(" ");
    if (polar)
        w->Decimal(grey ? 0 : values.c[2], places.hue, true);
    else
        w->Decimal(grey ? 0 : values.c[2], places.ab);
    w->Put(")");
}

// channel / 255 to three decimals, in integers: 1000 * channel / 255 never falls on a half.
void WriteThousandths(Writer* w, uint32_t channel, bool keepZeros)
{
    w->Fixed(RoundedQuotient(1000 * channel, 255), 3, keepZeros);
}

}  // namespace

char* FormatColorForm(uint32_t form, const ColorValue& color, char* text)
{
    if (form < FORM_OKLCH || form > FORM_INTEGER)
        return nullptr;
    const uint32_t r = color.GetRed(), g = color.GetGreen(), b = color.GetBlue();
    // A grey has no hue: its a and b, chroma and hue are written 0 rather than rounding noise.
    const bool grey = r == g && g == b;
    const Coords srgb = {{r / 255.0, g / 255.0, b / 255.0}};
    Writer w = {text, 0};
    text[0] = '\0';
    switch (form) {
    case FORM_OKLCH:
        WriteLab(&w, "oklch(", XyzToOklab(SrgbToXyz(srgb)), true, grey, kOkPlaces);
        break;
    case FORM_OKLAB:
        WriteLab(&w, "oklab(", XyzToOklab(SrgbToXyz(srgb)), false, grey, kOkPlaces);
        break;
    case FORM_LAB:
        WriteLab(&w, "lab(", XyzD50ToLab(XyzD65ToD50(SrgbToXyz(srgb))), false, grey, kCiePlaces);
        break;
    case FORM_LCH:
        WriteLab(&w, "lch(", XyzD50ToLab(XyzD65ToD50(SrgbToXyz(srgb))), true, grey, kCiePlaces);
        break;
    case FORM_HWB: {
        const uint32_t high = r > g ? (r > b ? r : b) : (g > b ? g : b);
        const uint32_t low = r < g ? (r < b ? r : b) : (g < b ? g : b);
        w.Put("hwb(");
        w.Number(RgbToWholeHsl(color.GetRed(), color.GetGreen(), color.GetBlue()).hue);
        w.Put(" ");
        w.Number(RoundedQuotient(100 * low, 255));
        w.Put("% ");
        w.Number(RoundedQuotient(100 * (255 - high), 255));
        w.Put("%)");
        break;
    }
    case FORM_COLOR_SRGB:
        w.Put("color(srgb ");
        WriteThousandths(&w, r, false);
        w.Put(" ");
        WriteThousandths(&w, g, false);
        w.Put(" ");
        WriteThousandths(&w, b, false);
        w.Put(")");
        break;
    case FORM_HSB:
        w.Put("hsb(");
        w.Number(AxisFieldNumber(color, AxisHue));
        w.Put(", ");
        w.Number(AxisFieldNumber(color, AxisSaturation));
        w.Put("%, ");
        w.Number(AxisFieldNumber(color, AxisBrightness));
        w.Put("%)");
        break;
    case FORM_CMYK: {
        const uint32_t high = r > g ? (r > b ? r : b) : (g > b ? g : b);
        // Black has no ink but the black one.
        const uint32_t c = high ? RoundedQuotient(100 * (high - r), high) : 0;
        const uint32_t m = high ? RoundedQuotient(100 * (high - g), high) : 0;
        const uint32_t y = high ? RoundedQuotient(100 * (high - b), high) : 0;
        w.Put("cmyk(");
        w.Number(c);
        w.Put("%, ");
        w.Number(m);
        w.Put("%, ");
        w.Number(y);
        w.Put("%, ");
        w.Number(RoundedQuotient(100 * (255 - high), 255));
        w.Put("%)");
        break;
    }
    case FORM_FLOAT_TRIPLE:
        w.Put("(");
        WriteThousandths(&w, r, true);
        w.Put(", ");
        WriteThousandths(&w, g, true);
        w.Put(", ");
        WriteThousandths(&w, b, true);
        w.Put(")");
        break;
    case FORM_INTEGER:
        w.Number(color.GetRgb());
        break;
    }
    return text;
}
