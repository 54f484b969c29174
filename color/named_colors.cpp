#include "color/named_colors.h"

#include <cstdlib>
#include <cstring>

uint32_t GetNamedColorValue(int32_t index)
{
    if (index < 0 || index >= NAMED_COLOR_COUNT)
        return 0;
    return NamedColorTable[index].value;
}

const char* GetNamedColorName(int32_t index)
{
    if (index < 0 || index >= NAMED_COLOR_COUNT)
        return "";
    return NamedColorTable[index].name;
}

int32_t FindNamedColor(const ColorValue& color, bool allowNearest)
{
    const int red = color.GetRed(), green = color.GetGreen(), blue = color.GetBlue();
    int32_t best = 2147483647;
    int32_t bestIndex = 0;
    for (int32_t i = 0; i < NAMED_COLOR_COUNT; ++i) {
        const uint32_t value = NamedColorTable[i].value;
        const int r = (value >> 16) & 255, g = (value >> 8) & 255, b = value & 255;
        const int32_t distance = std::abs(red - r) + std::abs(green - g) + std::abs(blue - b);
        if (distance == 0)
            return i;
        // Only a strictly nearer row wins, so ties keep the lower index.
        if (distance < best) {
            best = distance;
            bestIndex = i;
        }
    }
    return allowNearest ? bestIndex : -1;
}

int GetColorName(const ColorValue& color, char* buffer, int bufferSize, bool allowNearest)
{
    const int32_t index = FindNamedColor(color, allowNearest);
    if (index < 0)
        return 0;
    const char* name = NamedColorTable[index].name;
    const size_t length = strlen(name);
    if (!buffer)
        return static_cast<int>(length);
    if (bufferSize <= 0)
        return 0;
    // As lstrcpyn: as much as fits with the NUL, which always ends it.
    const size_t copied =
        length < static_cast<size_t>(bufferSize) - 1 ? length : static_cast<size_t>(bufferSize) - 1;
    memcpy(buffer, name, copied);
    buffer[copied] = '\0';
    return static_cast<int>(copied);
}

void RoundToWebSafe(ColorValue& color)
{
    auto round = [](uint32_t c) { return (c + 25) / 51 * 51; };
    const uint32_t red = color.GetRed(), green = color.GetGreen(), blue = color.GetBlue();
    color.SetRed(round(red));
    color.SetGreen(round(green));
    color.SetBlue(round(blue));
}

// Judged on the red, green and blue the colour shows: a colour held as hue, saturation and
// brightness would otherwise never compare equal to its own rounding.
bool IsWebSafe(const ColorValue& color)
{
    return color.GetRed() % 51 == 0 && color.GetGreen() % 51 == 0 && color.GetBlue() % 51 == 0;
}
