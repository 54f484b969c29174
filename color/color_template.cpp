#include "color/color_template.h"

#include <cstdio>
#include <cstring>

#include "color/color_axes.h"
#include "color/color_text.h"

namespace {

// The channel ones come in threes of red, green, blue: their index modulo 3 is the channel.
enum Placeholder {
    Red,
    Green,
    Blue,
    RedHex,
    GreenHex,
    BlueHex,
    RedHexUpper,
    GreenHexUpper,
    BlueHexUpper,
    RedFraction,
    GreenFraction,
    BlueFraction,
    FieldHue,
    FieldSaturation,
    FieldBrightness,
    HslHue,
    HslSaturation,
    HslLightness,
    Integer,
    PLACEHOLDER_COUNT
};

const char* const kNames[PLACEHOLDER_COUNT] = {
    "r",  "g",  "b",   "rx",  "gx",  "bx",   "RX",   "GX",   "BX",  "rf",
    "gf", "bf", "hue", "sat", "bri", "hslh", "hsls", "hsll", "int",
};

// Index of the placeholder named [begin, end), or -1.
int FindPlaceholder(const char* begin, const char* end)
{
    const size_t length = static_cast<size_t>(end - begin);
    for (int i = 0; i < PLACEHOLDER_COUNT; ++i)
        if (strlen(kNames[i]) == length && memcmp(kNames[i], begin, length) == 0)
            return i;
    return -1;
}

// One piece of a template: literal text, or a placeholder.
struct Piece {
    const char* begin;  // literal text, or the problem's text when invalid
    size_t length;
    int placeholder;  // -1 for literal text
};

// The piece at `at` (not at the NUL); false, with the offending text in `piece`, on a brace
// that is neither doubled nor in a known placeholder.
bool NextPiece(const char* at, Piece* piece, const char** next)
{
    *piece = Piece{at, 1, -1};
    *next = at + 1;
    if (*at == '{' || *at == '}') {
        if (at[1] == *at) {  // a doubled brace stands for itself
            *next = at + 2;
            return true;
        }
        if (*at == '}')
            return false;
        const char* close = at + 1;
        while (*close && *close != '}' && *close != '{')
            ++close;
        if (*close != '}')
            return false;  // a lone "{"
        piece->length = static_cast<size_t>(close + 1 - at);
        piece->placeholder = FindPlaceholder(at + 1, close);
        *next = close + 1;
        return piece->placeholder >= 0;
    }
    // Plain text up to the next brace.
    const char* end = at;
    while (*end && *end != '{' && *end != '}')
        ++end;
    piece->length = static_cast<size_t>(end - at);
    *next = end;
    return true;
}

bool TooLong(const char* templ)
{
    for (size_t i = 0; i < COLOR_TEMPLATE_SIZE; ++i)
        if (!templ[i])
            return false;
    return true;
}

void WriteValue(int placeholder, const ColorValue& color, char* value, size_t size)
{
    const uint32_t channels[3] = {color.GetRed(), color.GetGreen(), color.GetBlue()};
    const WholeHsl hsl = RgbToWholeHsl(color.GetRed(), color.GetGreen(), color.GetBlue());
    const unsigned long channel = channels[placeholder % 3];
    switch (placeholder) {
    case Red:
    case Green:
    case Blue:
        snprintf(value, size, "%lu", channel);
        break;
    case RedHex:
    case GreenHex:
    case BlueHex:
        snprintf(value, size, "%02lx", channel);
        break;
    case RedHexUpper:
    case GreenHexUpper:
    case BlueHexUpper:
        snprintf(value, size, "%02lX", channel);
        break;
    case RedFraction:
    case GreenFraction:
    case BlueFraction: {
        // In integers: 1000 * channel / 255 never falls on a half.
        const unsigned long thousandths = (2000 * channel + 255) / 510;
        snprintf(value, size, "%lu.%03lu", thousandths / 1000, thousandths % 1000);
        break;
    }
    case FieldHue:
        snprintf(value, size, "%lu", static_cast<unsigned long>(AxisFieldNumber(color, AxisHue)));
        break;
    case FieldSaturation:
        snprintf(value, size, "%lu", static_cast<unsigned long>(AxisFieldNumber(color, AxisSaturation)));
        break;
    case FieldBrightness:
        snprintf(value, size, "%lu", static_cast<unsigned long>(AxisFieldNumber(color, AxisBrightness)));
        break;
    case HslHue:
        snprintf(value, size, "%u", unsigned{hsl.hue});
        break;
    case HslSaturation:
        snprintf(value, size, "%u", unsigned{hsl.saturation});
        break;
    case HslLightness:
        snprintf(value, size, "%u", unsigned{hsl.lightness});
        break;
    default:
        snprintf(value, size, "%lu", static_cast<unsigned long>(color.GetRgb()));
        break;
    }
}

}  // namespace

bool CheckColorTemplate(const char* templ, char* problem, size_t size)
{
    if (problem && size)
        problem[0] = '\0';
    if (TooLong(templ))
        return false;
    Piece piece;
    for (const char* at = templ; *at;) {
        if (!NextPiece(at, &piece, &at)) {
            if (problem && size) {
                const size_t n = piece.length < size - 1 ? piece.length : size - 1;
                memcpy(problem, piece.begin, n);
                problem[n] = '\0';
            }
            return false;
        }
    }
    return true;
}

bool ExpandColorTemplate(const char* templ, const ColorValue& color, char* text, size_t size)
{
    if (!size)
        return false;
    text[0] = '\0';
    if (!CheckColorTemplate(templ, nullptr, 0))
        return false;
    size_t length = 0;
    Piece piece;
    for (const char* at = templ; *at;) {
        NextPiece(at, &piece, &at);
        char value[16];
        const char* out = piece.begin;
        size_t n = piece.length;
        if (piece.placeholder >= 0) {
            WriteValue(piece.placeholder, color, value, sizeof value);
            out = value;
            n = strlen(value);
        }
        if (n >= size - length) {
            text[0] = '\0';
            return false;
        }
        memcpy(text + length, out, n);
        length += n;
        text[length] = '\0';
    }
    return true;
}
