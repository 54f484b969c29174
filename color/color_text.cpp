#include "color/color_text.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "color/hex_text.h"
#include "color/named_colors.h"

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

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// [begin, end) read as hex digits, at most `most` of them; false on anything else.
bool ReadHexDigits(const char* begin, const char* end, size_t most, uint32_t* value)
{
    if (begin == end || static_cast<size_t>(end - begin) > most)
        return false;
    uint32_t v = 0;
    for (const char* c = begin; c < end; ++c) {
        const int digit = HexDigitValue(*c);
        if (digit < 0)
            return false;
        v = v << 4 | static_cast<uint32_t>(digit);
    }
    *value = v;
    return true;
}

bool SameWord(const char* begin, const char* end, const char* word)
{
    for (; begin < end && *word; ++begin, ++word)
        if (Lower(*begin) != Lower(*word))
            return false;
    return begin == end && !*word;
}

enum class Unit { None, Percent, Degrees };

struct Argument {
    double value;
    Unit unit;
    bool whole;    // no fraction
    bool signed_;  // written with + or -
};

struct Scanner {
    const char* at;
    const char* end;

    void SkipBlanks()
    {
        while (at < end && IsBlank(*at))
            ++at;
    }
    bool AtEnd()
    {
        SkipBlanks();
        return at == end;
    }
    bool Take(char c)
    {
        SkipBlanks();
        if (at == end || *at != c)
            return false;
        ++at;
        return true;
    }
    bool TakeDigits(double* value, int* count)
    {
        *count = 0;
        for (; at < end && *at >= '0' && *at <= '9'; ++at, ++*count)
            *value = *value * 10 + (*at - '0');
        return *count > 0;
    }
    // [+|-] digits [. digits] | [+|-] . digits, then "%" or "deg" straight after.
    bool TakeArgument(Argument* a)
    {
        SkipBlanks();
        *a = Argument{0, Unit::None, true, false};
        double sign = 1;
        if (at < end && (*at == '+' || *at == '-')) {
            a->signed_ = true;
            sign = *at++ == '-' ? -1 : 1;
        }
        int whole = 0, fraction = 0;
        TakeDigits(&a->value, &whole);
        if (at < end && *at == '.') {
            ++at;
            double digits = 0;
            TakeDigits(&digits, &fraction);
            if (!fraction)
                return false;
            a->value += digits / std::pow(10.0, fraction);
            a->whole = false;
        }
        if (!whole && !fraction)
            return false;
        a->value *= sign;
        if (at < end && *at == '%') {
            ++at;
            a->unit = Unit::Percent;
        } else if (end - at >= 3 && SameWord(at, at + 3, "deg")) {
            at += 3;
            a->unit = Unit::Degrees;
        }
        return true;
    }
};

// The three arguments up to the closing parenthesis: "a, b, c[, alpha]" or "a b c[ / alpha]".
bool TakeArguments(Scanner* s, Argument a[3])
{
    if (!s->TakeArgument(&a[0]))
        return false;
    const bool commas = s->Take(',');
    for (int i = 1; i < 3; ++i) {
        if (i == 2 && commas && !s->Take(','))
            return false;
        // Without commas a blank parts the numbers.
        s->SkipBlanks();
        if (!commas && !IsBlank(s->at[-1]))
            return false;
        if (!s->TakeArgument(&a[i]))
            return false;
    }
    if (s->Take(commas ? ',' : '/')) {
        Argument alpha;
        if (!s->TakeArgument(&alpha) || alpha.unit == Unit::Degrees)
            return false;
    }
    return s->Take(')');
}

// 0..255 of a fraction 0..1, half up. The nudge keeps an exact half computed a hair low a half.
uint32_t Channel(double fraction)
{
    return static_cast<uint32_t>(std::floor(fraction * 255 + 0.5 + 1e-9));
}

bool RgbOf(const Argument a[3], uint32_t* rgb)
{
    uint32_t channels[3];
    for (int i = 0; i < 3; ++i) {
        if (a[i].signed_ || a[i].unit != a[0].unit || a[i].unit == Unit::Degrees)
            return false;
        if (a[i].unit == Unit::Percent) {
            if (a[i].value > 100)
                return false;
            channels[i] = Channel(a[i].value / 100);
        } else {
            if (!a[i].whole || a[i].value > 255)
                return false;
            channels[i] = static_cast<uint32_t>(a[i].value);
        }
    }
    *rgb = channels[0] << 16 | channels[1] << 8 | channels[2];
    return true;
}

bool HslOf(const Argument a[3], uint32_t* rgb)
{
    if (a[0].unit == Unit::Percent)
        return false;
    for (int i = 1; i < 3; ++i)
        if (a[i].signed_ || a[i].unit != Unit::Percent || a[i].value > 100)
            return false;
    double hue = std::fmod(a[0].value, 360);
    if (hue < 0)
        hue += 360;
    const double s = a[1].value / 100, l = a[2].value / 100;
    // CSS's conversion: each channel from its own offset round the hue circle.
    const double chroma = s * std::min(l, 1 - l);
    const double offsets[3] = {0, 8, 4};
    uint32_t value = 0;
    for (double n : offsets) {
        const double k = std::fmod(n + hue / 30, 12);
        value = value << 8 | Channel(l - chroma * std::max(-1.0, std::min({k - 3, 9 - k, 1.0})));
    }
    *rgb = value;
    return true;
}

bool NamedColorOf(const char* begin, const char* end, uint32_t* rgb)
{
    for (int32_t i = 0; i < NAMED_COLOR_COUNT; ++i) {
        if (SameWord(begin, end, GetNamedColorName(i))) {
            *rgb = GetNamedColorValue(i);
            return true;
        }
    }
    return false;
}

// #RGB, #RRGGBB or RRGGBB.
bool HexFormOf(const char* begin, const char* end, uint32_t* rgb)
{
    const ptrdiff_t length = end - begin;
    if (length == 6)
        return ReadHexDigits(begin, end, 6, rgb);
    if ((length != 4 && length != 7) || *begin != '#' || !ReadHexDigits(begin + 1, end, 6, rgb))
        return false;
    if (length == 4)  // each digit doubled: #F80 is #FF8800
        *rgb = (*rgb >> 8 & 15) * 0x110000 + (*rgb >> 4 & 15) * 0x1100 + (*rgb & 15) * 0x11;
    return true;
}

// 0x and up to eight digits of a COLORREF, 0x00BBGGRR.
bool ColorRefOf(const char* begin, const char* end, uint32_t* colorRef)
{
    return end - begin > 2 && begin[0] == '0' && Lower(begin[1]) == 'x' &&
           ReadHexDigits(begin + 2, end, 8, colorRef) && *colorRef <= 0xFFFFFF;
}

// A function form, "name(arguments)".
bool FunctionOf(const char* begin, const char* end, uint32_t* rgb)
{
    const char* name = begin;
    while (name < end && Lower(*name) >= 'a' && Lower(*name) <= 'z')
        ++name;
    Scanner s = {name, end};
    Argument a[3];
    if (!s.Take('(') || !TakeArguments(&s, a) || !s.AtEnd())
        return false;
    if (SameWord(begin, name, "rgb") || SameWord(begin, name, "rgba"))
        return RgbOf(a, rgb);
    if (SameWord(begin, name, "hsl") || SameWord(begin, name, "hsla"))
        return HslOf(a, rgb);
    return false;
}

}  // namespace

bool ParseColorText(const char* text, ColorValue* color)
{
    const char* begin = text;
    const char* end = text + strlen(text);
    while (begin < end && IsBlank(*begin))
        ++begin;
    while (end > begin && IsBlank(end[-1]))
        --end;
    if (end > begin && end[-1] == ';') {
        --end;
        while (end > begin && IsBlank(end[-1]))
            --end;
    }
    uint32_t value = 0;
    if (ColorRefOf(begin, end, &value)) {
        color->SetColorRef(value);
        return true;
    }
    if (!HexFormOf(begin, end, &value) && !FunctionOf(begin, end, &value) &&
        !NamedColorOf(begin, end, &value))
        return false;
    color->SetRgb(value);
    return true;
}
