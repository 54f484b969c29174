#include "color/hex_text.h"

#include <cstring>

char* FormatHex(const ColorValue& color, char* text, bool upperCase)
{
    const char letterBase = upperCase ? 'A' : 'a';
    uint32_t value = color.GetRgb();
    for (int i = 0; i < 6; ++i) {
        const uint32_t digit = value & 15;
        text[5 - i] = static_cast<char>(digit < 10 ? '0' + digit : letterBase + digit - 10);
        value >>= 4;
    }
    text[6] = '\0';
    return text;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool ParseHex(ColorValue& color, const char* text)
{
    const size_t length = strlen(text);
    if (length == 0 || length > 6)
        return false;
    uint32_t value = 0;
    for (size_t i = 0; i < length; ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0)
            return false;
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    color.SetRgb(value);
    return true;
}

bool ParseDecimal(const char* begin, const char* end, uint32_t* value)
{
    uint32_t number = 0;
    for (const char* c = begin; c < end; ++c) {
        if (*c < '0' || *c > '9')
            return false;
        const uint32_t digit = static_cast<uint32_t>(*c - '0');
        number = number > (UINT32_MAX - digit) / 10 ? UINT32_MAX : number * 10 + digit;
    }
    *value = number;
    return true;
}

bool ParseFieldNumber(const char* text, uint32_t* value)
{
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (blank(*text))
        ++text;
    const char* end = text + strlen(text);
    while (end > text && blank(end[-1]))
        --end;
    return ParseDecimal(text, end, value);
}
