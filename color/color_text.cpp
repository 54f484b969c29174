#include "color/color_text.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "color/color_axes.h"
#include "color/color_spaces.h"
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

const double kPi = 3.14159265358979323846;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsLetter(char c)
{
    return Lower(c) >= 'a' && Lower(c) <= 'z';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
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

enum class Unit { None, Percent, Degrees, Radians, Gradians, Turns };

struct Argument {
    double value;  // 0 for none
    Unit unit;
    bool whole;    // no fraction or exponent
    bool signed_;  // written with + or -
    bool none;     // the keyword none
};

// Past this a number means nothing as a colour; the bound keeps every later step finite.
const double kLargestNumber = 1e9;

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
    int TakeDigits(double* value)
    {
        int count = 0;
        for (; at < end && IsDigit(*at); ++at, ++count)
            *value = *value * 10 + (*at - '0');
        return count;
    }
    // A run of letters, or nothing.
    const char* TakeWord()
    {
        const char* word = at;
        while (at < end && IsLetter(*at))
            ++at;
        return word;
    }
    // [+|-] digits [. digits] [e [+|-] digits] | [+|-] . digits ..., then "%" or an angle unit
    // straight after; or, where `noneAllowed`, the keyword none.
    bool TakeArgument(Argument* a, bool noneAllowed)
    {
        SkipBlanks();
        *a = Argument{0, Unit::None, true, false, false};
        const char* start = at;
        TakeWord();
        if (noneAllowed && SameWord(start, at, "none")) {
            a->none = true;
            return true;
        }
        at = start;
        double sign = 1;
        if (at < end && (*at == '+' || *at == '-')) {
            a->signed_ = true;
            sign = *at++ == '-' ? -1 : 1;
        }
        const int whole = TakeDigits(&a->value);
        int fraction = 0;
        if (at < end && *at == '.') {
            ++at;
            double digits = 0;
            fraction = TakeDigits(&digits);
            if (!fraction)
                return false;
            a->value += digits / std::pow(10.0, fraction);
            a->whole = false;
        }
        if (!whole && !fraction)
            return false;
        // An exponent only when digits follow the e; otherwise the e starts a unit.
        if (end - at >= 2 && Lower(*at) == 'e' &&
            (IsDigit(at[1]) || (end - at >= 3 && (at[1] == '+' || at[1] == '-') && IsDigit(at[2])))) {
            ++at;
            const double exponentSign = *at == '-' ? -1 : 1;
            if (*at == '+' || *at == '-')
                ++at;
            double exponent = 0;
            TakeDigits(&exponent);
            a->value *= std::pow(10.0, exponentSign * std::min(exponent, 1000.0));
            a->whole = false;
        }
        a->value *= sign;
        if (!(std::fabs(a->value) <= kLargestNumber))  // also refuses inf and NaN
            return false;
        if (at < end && *at == '%') {
            ++at;
            a->unit = Unit::Percent;
            return true;
        }
        const char* word = TakeWord();
        if (word == at)
            return true;
        const struct {
            const char* name;
            Unit unit;
        } units[] = {
            {"deg", Unit::Degrees}, {"rad", Unit::Radians}, {"grad", Unit::Gradians}, {"turn", Unit::Turns}};
        for (const auto& u : units)
            if (SameWord(word, at, u.name)) {
                a->unit = u.unit;
                return true;
            }
        return false;
    }
};

// How a function's arguments may be written.
struct Syntax {
    int count;          // 3, or 4 for cmyk()
    bool commas;        // "a, b, c" as well as "a b c"
    bool modernExtras;  // none, and an alpha after "/"
    bool commaAlpha;    // an alpha after a comma, in the comma form
};

// The arguments up to the closing parenthesis: "a, b, c[, alpha]" or "a b c[ / alpha]".
bool TakeArguments(Scanner* s, const Syntax& syntax, Argument* a, bool* usedCommas)
{
    if (!s->TakeArgument(&a[0], syntax.modernExtras))
        return false;
    const bool commas = syntax.commas && s->Take(',');
    *usedCommas = commas;
    // none belongs to the blank-separated form only.
    const bool none = syntax.modernExtras && !commas;
    if (a[0].none && !none)
        return false;
    for (int i = 1; i < syntax.count; ++i) {
        if (i >= 2 && commas && !s->Take(','))
            return false;
        // Without commas a blank parts the numbers.
        s->SkipBlanks();
        if (!commas && !IsBlank(s->at[-1]))
            return false;
        if (!s->TakeArgument(&a[i], none))
            return false;
    }
    if (commas ? syntax.commaAlpha && s->Take(',') : syntax.modernExtras && s->Take('/')) {
        Argument alpha;
        if (!s->TakeArgument(&alpha, none) || (alpha.unit != Unit::None && alpha.unit != Unit::Percent))
            return false;
    }
    return s->Take(')');
}

// 0..255 of a fraction 0..1, half up. The nudge keeps an exact half computed a hair low a half.
uint32_t Channel(double fraction)
{
    if (!(fraction > 0))  // NaN too
        return 0;
    if (fraction >= 1)
        return 255;
    return static_cast<uint32_t>(std::floor(fraction * 255 + 0.5 + 1e-9));
}

uint32_t PackedRgb(const Coords& srgb)
{
    return Channel(srgb.c[0]) << 16 | Channel(srgb.c[1]) << 8 | Channel(srgb.c[2]);
}

// A number, or a percentage of `hundredPercent`; false for an angle.
bool Scalar(const Argument& a, double hundredPercent, double* value)
{
    if (a.unit == Unit::Percent)
        *value = a.value / 100 * hundredPercent;
    else if (a.unit == Unit::None)
        *value = a.value;
    else
        return false;
    return true;
}

// A hue in degrees, 0 <= h < 360: a number is degrees, or an angle in any unit.
bool Hue(const Argument& a, double* degrees)
{
    static const double kDegreesPer[] = {1, 0, 1, 180 / kPi, 0.9, 360};
    if (a.unit == Unit::Percent)
        return false;
    double h = std::fmod(a.value * kDegreesPer[static_cast<int>(a.unit)], 360);
    if (h < 0)
        h += 360;
    *degrees = h < 360 ? h : 0;
    return true;
}

bool RgbOf(const Argument a[3], uint32_t* rgb)
{
    uint32_t channels[3];
    Unit unit = Unit::None;
    bool unitSeen = false;
    for (int i = 0; i < 3; ++i) {
        if (a[i].none) {
            channels[i] = 0;
            continue;
        }
        // Percentages and numbers are not mixed.
        if (unitSeen && a[i].unit != unit)
            return false;
        unit = a[i].unit;
        unitSeen = true;
        if (a[i].signed_ || (a[i].unit != Unit::None && a[i].unit != Unit::Percent))
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

// CSS's conversion: each channel from its own offset round the hue circle.
Coords HslToSrgb(double hue, double s, double l)
{
    const double chroma = s * std::min(l, 1 - l);
    const double offsets[3] = {0, 8, 4};
    Coords srgb;
    for (int i = 0; i < 3; ++i) {
        const double k = std::fmod(offsets[i] + hue / 30, 12);
        srgb.c[i] = l - chroma * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
    }
    return srgb;
}

// The hue as a number or an angle in any unit; saturation and lightness percentages, or in the
// blank-separated form also plain numbers on the same 0..100 scale.
bool HslOf(const Argument a[3], bool commas, uint32_t* rgb)
{
    for (int i = 1; i < 3; ++i)
        if (!a[i].none && (a[i].signed_ || a[i].value > 100 ||
                           (a[i].unit != Unit::Percent && (commas || a[i].unit != Unit::None))))
            return false;
    double hue;
    if (!Hue(a[0], &hue))
        return false;
    *rgb = PackedRgb(HslToSrgb(hue, a[1].value / 100, a[2].value / 100));
    return true;
}

bool HwbOf(const Argument a[3], uint32_t* rgb)
{
    double hue, white, black;
    if (!Hue(a[0], &hue) || !Scalar(a[1], 100, &white) || !Scalar(a[2], 100, &black))
        return false;
    if (white < 0 || white > 100 || black < 0 || black > 100)
        return false;
    white /= 100;
    black /= 100;
    Coords srgb = {{0, 0, 0}};
    if (white + black >= 1) {
        srgb.c[0] = srgb.c[1] = srgb.c[2] = white / (white + black);
    } else {
        srgb = HslToSrgb(hue, 1, 0.5);
        for (double& x : srgb.c)
            x = x * (1 - white - black) + white;
    }
    *rgb = PackedRgb(srgb);
    return true;
}

uint32_t FittedOklab(const Coords& oklab)
{
    return PackedRgb(FitIntoSrgb(oklab, XyzToSrgb(OklabToXyz(oklab))));
}

uint32_t FittedXyz(const Coords& xyz)
{
    return PackedRgb(FitIntoSrgb(XyzToOklab(xyz), XyzToSrgb(xyz)));
}

// oklab(), oklch(), lab(), lch(): lightness clamped to its range and chroma to 0 and up, as CSS
// does when it reads them.
bool LabFormOf(const Argument a[3], bool ok, bool polar, uint32_t* rgb)
{
    const double lightnessFull = ok ? 1 : 100, abFull = ok ? 0.4 : 125, chromaFull = ok ? 0.4 : 150;
    Coords lab;
    if (!Scalar(a[0], lightnessFull, &lab.c[0]) || !Scalar(a[1], polar ? chromaFull : abFull, &lab.c[1]))
        return false;
    if (polar ? !Hue(a[2], &lab.c[2]) : !Scalar(a[2], abFull, &lab.c[2]))
        return false;
    lab.c[0] = std::max(0.0, std::min(lab.c[0], lightnessFull));
    if (polar)
        lab = FromPolar(Coords{{lab.c[0], std::max(0.0, lab.c[1]), lab.c[2]}});
    *rgb = ok ? FittedOklab(lab) : FittedXyz(XyzD50ToD65(LabToXyzD50(lab)));
    return true;
}

// color(space c1 c2 c3): 100% is 1 in every space.
bool ColorFunctionOf(const char* space, const char* spaceEnd, const Argument a[3], uint32_t* rgb)
{
    Coords v;
    for (int i = 0; i < 3; ++i)
        if (!Scalar(a[i], 1, &v.c[i]))
            return false;
    const struct {
        const char* name;
        RgbSpace space;
    } rgbSpaces[] = {{"srgb", RgbSpace::Srgb},
                     {"srgb-linear", RgbSpace::SrgbLinear},
                     {"display-p3", RgbSpace::DisplayP3},
                     {"a98-rgb", RgbSpace::A98Rgb},
                     {"prophoto-rgb", RgbSpace::ProPhotoRgb}};
    for (const auto& s : rgbSpaces) {
        if (!SameWord(space, spaceEnd, s.name))
            continue;
        const Coords xyz = RgbSpaceToXyz(s.space, v);
        // sRGB itself goes straight through when it is in range, without a trip through XYZ.
        *rgb = PackedRgb(FitIntoSrgb(XyzToOklab(xyz), s.space == RgbSpace::Srgb ? v : XyzToSrgb(xyz)));
        return true;
    }
    if (SameWord(space, spaceEnd, "xyz") || SameWord(space, spaceEnd, "xyz-d65")) {
        *rgb = FittedXyz(v);
        return true;
    }
    if (SameWord(space, spaceEnd, "xyz-d50")) {
        *rgb = FittedXyz(XyzD50ToD65(v));
        return true;
    }
    return false;
}

// hsb(): the numbers of the H, S, B value fields, whole, as if typed there (the smallest
// components that show them), in the program's own hue, saturation and brightness.
bool HsbOf(const Argument a[3], uint32_t* rgb)
{
    if (a[0].unit != Unit::None && a[0].unit != Unit::Degrees)
        return false;
    if (a[1].unit != Unit::Percent || a[2].unit != Unit::Percent)
        return false;
    const uint32_t axes[3] = {AxisHue, AxisSaturation, AxisBrightness};
    uint32_t components[3];
    for (int i = 0; i < 3; ++i) {
        if (a[i].signed_ || !a[i].whole || a[i].value > GetAxisRange(axes[i]).fieldMaximum)
            return false;
        components[i] = SmallestAxisValueShowing(axes[i], static_cast<uint32_t>(a[i].value));
    }
    ColorValue color{};
    color.SetHsb(components[0], components[1], components[2]);
    *rgb = color.GetRgb();
    return true;
}

// A fraction 0..1 written as a number, or as a percentage when `percent` allows.
bool Fraction(const Argument& a, bool percent, double* value)
{
    if (a.signed_ || (a.unit != Unit::None && !(percent && a.unit == Unit::Percent)))
        return false;
    *value = a.unit == Unit::Percent ? a.value / 100 : a.value;
    return *value <= 1;
}

// cmyk(): the naive inks, each a percentage or a fraction.
bool CmykOf(const Argument a[4], uint32_t* rgb)
{
    double ink[4];
    for (int i = 0; i < 4; ++i)
        if (!Fraction(a[i], true, &ink[i]))
            return false;
    Coords srgb;
    for (int i = 0; i < 3; ++i)
        srgb.c[i] = (1 - ink[i]) * (1 - ink[3]);
    *rgb = PackedRgb(srgb);
    return true;
}

// "(r, g, b)": three fractions 0..1.
bool FloatTripleOf(const Argument a[3], uint32_t* rgb)
{
    Coords srgb;
    for (int i = 0; i < 3; ++i)
        if (!Fraction(a[i], false, &srgb.c[i]))
            return false;
    *rgb = PackedRgb(srgb);
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

// 0xRRGGBB as a decimal number. Six digits never get here: they are hex.
bool IntegerOf(const char* begin, const char* end, uint32_t* rgb)
{
    uint32_t value;
    if (begin == end || !ParseDecimal(begin, end, &value) || value > 0xFFFFFF)
        return false;
    *rgb = value;
    return true;
}

// 0x and up to eight digits of a COLORREF, 0x00BBGGRR.
bool ColorRefOf(const char* begin, const char* end, uint32_t* colorRef)
{
    return end - begin > 2 && begin[0] == '0' && Lower(begin[1]) == 'x' &&
           ReadHexDigits(begin + 2, end, 8, colorRef) && *colorRef <= 0xFFFFFF;
}

enum class Function { Rgb, Hsl, Hwb, Lab, Lch, Oklab, Oklch, Color, Hsb, Cmyk, FloatTriple };

// A function form, "name(arguments)", or the float triple's bare "(r, g, b)".
bool FunctionOf(const char* begin, const char* end, uint32_t* rgb)
{
    const char* name = begin;
    while (name < end && IsLetter(*name))
        ++name;
    const Syntax kLegacy = {3, true, true, true}, kModern = {3, false, true, false};
    const Syntax kPlain = {3, true, false, false}, kFour = {4, true, false, false};
    const struct {
        const char* name;
        Function function;
        Syntax syntax;
    } functions[] = {
        {"rgb", Function::Rgb, kLegacy},     {"rgba", Function::Rgb, kLegacy},
        {"hsl", Function::Hsl, kLegacy},     {"hsla", Function::Hsl, kLegacy},
        {"hwb", Function::Hwb, kModern},     {"lab", Function::Lab, kModern},
        {"lch", Function::Lch, kModern},     {"oklab", Function::Oklab, kModern},
        {"oklch", Function::Oklch, kModern}, {"color", Function::Color, kModern},
        {"hsb", Function::Hsb, kPlain},      {"cmyk", Function::Cmyk, kFour},
        {"", Function::FloatTriple, kPlain},
    };
    for (const auto& f : functions) {
        if (!SameWord(begin, name, f.name))
            continue;
        Scanner s = {name, end};
        if (!s.Take('('))
            return false;
        // color() names its space first.
        const char* space = nullptr;
        const char* spaceEnd = nullptr;
        if (f.function == Function::Color) {
            s.SkipBlanks();
            space = s.at;
            while (s.at < s.end && (IsLetter(*s.at) || IsDigit(*s.at) || *s.at == '-'))
                ++s.at;
            spaceEnd = s.at;
            if (s.at == s.end || !IsBlank(*s.at))
                return false;
        }
        Argument a[4];
        bool commas = false;
        if (!TakeArguments(&s, f.syntax, a, &commas) || !s.AtEnd())
            return false;
        switch (f.function) {
        case Function::Rgb:
            return RgbOf(a, rgb);
        case Function::Hsl:
            return HslOf(a, commas, rgb);
        case Function::Hwb:
            return HwbOf(a, rgb);
        case Function::Lab:
        case Function::Lch:
        case Function::Oklab:
        case Function::Oklch:
            return LabFormOf(a, f.function == Function::Oklab || f.function == Function::Oklch,
                             f.function == Function::Lch || f.function == Function::Oklch, rgb);
        case Function::Color:
            return ColorFunctionOf(space, spaceEnd, a, rgb);
        case Function::Hsb:
            return HsbOf(a, rgb);
        case Function::Cmyk:
            return CmykOf(a, rgb);
        case Function::FloatTriple:
            return FloatTripleOf(a, rgb);
        }
    }
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
    if (!HexFormOf(begin, end, &value) && !IntegerOf(begin, end, &value) && !FunctionOf(begin, end, &value) &&
        !NamedColorOf(begin, end, &value))
        return false;
    color->SetRgb(value);
    return true;
}
