#include "color/color_value.h"

#include <cmath>

#include "color/exact_double.h"
#include "color/hsb_sectors.h"

namespace {

constexpr uint32_t kFullLevel = 65535;

struct Rgb8 {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// Hexagonal model, unsigned 32-bit fixed point throughout.
Rgb8 HsbToRgb8(uint32_t h, uint32_t s, uint32_t v)
{
    const uint32_t f = (h % kHueSectorSize) * 6;  // 0..65532
    // Indexed by SectorLevel.
    const uint32_t levels[4] = {
        kFullLevel,
        kFullLevel - s,
        kFullLevel - (s * f / kFullLevel),
        kFullLevel - (s * (kFullLevel - f) / kFullLevel),
    };
    const SectorLevel* sector = kSectorLevels[h / kHueSectorSize];

    // 16-bit level times 16-bit brightness, scaled to 8 bits:
    // 65535 * 65535 / 0xFFFFFF = 255, and the product fits in 32 bits.
    return Rgb8{static_cast<uint8_t>(levels[sector[0]] * v / 0xFFFFFFu),
                static_cast<uint8_t>(levels[sector[1]] * v / 0xFFFFFFu),
                static_cast<uint8_t>(levels[sector[2]] * v / 0xFFFFFFu)};
}

// Circular hue from the arc tangent, not the hexagon used the other way, so
// an RGB -> HSB -> RGB trip is only exact for primaries and secondaries.
uint16_t RgbToHue(uint32_t r, uint32_t g, uint32_t b)
{
    const double kPi = 3.14159265358979323846;
    const double root = Rounded(std::sqrt(0.75));
    const double y = Rounded((static_cast<double>(g) - static_cast<double>(b)) * root);
    const double x =
        Rounded(static_cast<double>(r) - Rounded((static_cast<double>(g) + static_cast<double>(b)) * 0.5));
    const double angle = Rounded(std::atan2(y, x));
    // Truncates toward zero; atan2 stays within (-pi, pi], so -32767..32767.
    int32_t turn = static_cast<int32_t>(Rounded(Rounded(angle / kPi) * 32767.0));
    if (turn < 0) {
        turn += 65536;
    }
    return static_cast<uint16_t>(turn & 0xFFFF);
}

uint16_t RgbToSaturation(uint32_t r, uint32_t g, uint32_t b)
{
    uint32_t hi = r > g ? r : g;
    hi = hi > b ? hi : b;
    uint32_t lo = r < g ? r : g;
    lo = lo < b ? lo : b;
    if (hi == 0) {
        return 0;
    }
    // For a grey lo * 65536 / hi is 65536, which would wrap: say 0 plainly.
    if (lo == hi) {
        return 0;
    }
    return static_cast<uint16_t>(kFullLevel - (lo * 65536u / hi));
}

uint16_t RgbToBrightness(uint32_t r, uint32_t g, uint32_t b)
{
    uint32_t hi = r > g ? r : g;
    hi = hi > b ? hi : b;
    return static_cast<uint16_t>(hi * 257u);  // 255 -> 65535
}

}  // namespace

ColorValue& ColorValue::Reset()
{
    red = 0;
    green = 0;
    blue = 0;
    hue = 0;
    saturation = 0;
    brightness = 0;
    form = ColorForm::Rgb;
    return *this;
}

uint8_t ColorValue::GetRed() const
{
    if (form == ColorForm::Rgb) {
        return red;
    }
    return HsbToRgb8(hue, saturation, brightness).red;
}

uint8_t ColorValue::GetGreen() const
{
    if (form == ColorForm::Rgb) {
        return green;
    }
    return HsbToRgb8(hue, saturation, brightness).green;
}

uint8_t ColorValue::GetBlue() const
{
    if (form == ColorForm::Rgb) {
        return blue;
    }
    return HsbToRgb8(hue, saturation, brightness).blue;
}

uint16_t ColorValue::GetHue() const
{
    if (form == ColorForm::Hsb) {
        return hue;
    }
    return RgbToHue(red, green, blue);
}

uint16_t ColorValue::GetSaturation() const
{
    if (form == ColorForm::Hsb) {
        return saturation;
    }
    return RgbToSaturation(red, green, blue);
}

uint16_t ColorValue::GetBrightness() const
{
    if (form == ColorForm::Hsb) {
        return brightness;
    }
    return RgbToBrightness(red, green, blue);
}

void ColorValue::SetRed(uint32_t value)
{
    if (form == ColorForm::Hsb) {
        SwitchForm();
    }
    red = static_cast<uint8_t>(value & 0xFF);
}

void ColorValue::SetGreen(uint32_t value)
{
    if (form == ColorForm::Hsb) {
        SwitchForm();
    }
    green = static_cast<uint8_t>(value & 0xFF);
}

void ColorValue::SetBlue(uint32_t value)
{
    if (form == ColorForm::Hsb) {
        SwitchForm();
    }
    blue = static_cast<uint8_t>(value & 0xFF);
}

void ColorValue::SetHue(uint32_t value)
{
    if (form == ColorForm::Rgb) {
        SwitchForm();
    }
    hue = static_cast<uint16_t>(value & 0xFFFF);
}

void ColorValue::SetSaturation(uint32_t value)
{
    if (form == ColorForm::Rgb) {
        SwitchForm();
    }
    saturation = static_cast<uint16_t>(value & 0xFFFF);
}

void ColorValue::SetBrightness(uint32_t value)
{
    if (form == ColorForm::Rgb) {
        SwitchForm();
    }
    brightness = static_cast<uint16_t>(value & 0xFFFF);
}

void ColorValue::SetHsb(uint32_t hueValue, uint32_t saturationValue, uint32_t brightnessValue)
{
    hue = static_cast<uint16_t>(hueValue & 0xFFFF);
    saturation = static_cast<uint16_t>(saturationValue & 0xFFFF);
    brightness = static_cast<uint16_t>(brightnessValue & 0xFFFF);
    form = ColorForm::Hsb;
}

void ColorValue::SwitchForm()
{
    if (form == ColorForm::Hsb) {
        const Rgb8 rgb = HsbToRgb8(hue, saturation, brightness);
        red = rgb.red;
        green = rgb.green;
        blue = rgb.blue;
        form = ColorForm::Rgb;
    } else {
        hue = RgbToHue(red, green, blue);
        saturation = RgbToSaturation(red, green, blue);
        brightness = RgbToBrightness(red, green, blue);
        form = ColorForm::Hsb;
    }
}

bool ColorValue::Equals(const ColorValue& other) const
{
    // Cheap components first; the hue of an Rgb-form colour needs atan2.
    return GetRed() == other.GetRed() && GetGreen() == other.GetGreen() && GetBlue() == other.GetBlue() &&
           GetHue() == other.GetHue() && GetSaturation() == other.GetSaturation() &&
           GetBrightness() == other.GetBrightness();
}

bool ColorValue::Differs(const ColorValue& other) const
{
    return !Equals(other);
}

uint32_t ColorValue::GetRgb() const
{
    // The selector asks this of an Hsb-form colour for every pixel: convert
    // once rather than once per component.
    Rgb8 rgb{red, green, blue};
    if (form == ColorForm::Hsb) {
        rgb = HsbToRgb8(hue, saturation, brightness);
    }
    return (static_cast<uint32_t>(rgb.red) << 16) | (static_cast<uint32_t>(rgb.green) << 8) |
           static_cast<uint32_t>(rgb.blue);
}

void ColorValue::SetRgb(uint32_t rgb)
{
    SetRed((rgb >> 16) & 0xFF);
    SetGreen((rgb >> 8) & 0xFF);
    SetBlue(rgb & 0xFF);
}

uint32_t ColorValue::GetColorRef() const
{
    Rgb8 rgb{red, green, blue};
    if (form == ColorForm::Hsb) {
        rgb = HsbToRgb8(hue, saturation, brightness);
    }
    return static_cast<uint32_t>(rgb.red) | (static_cast<uint32_t>(rgb.green) << 8) |
           (static_cast<uint32_t>(rgb.blue) << 16);
}

void ColorValue::SetColorRef(uint32_t colorRef)
{
    SetRed(colorRef & 0xFF);
    SetGreen((colorRef >> 8) & 0xFF);
    SetBlue((colorRef >> 16) & 0xFF);
}

uint32_t ColorValue::GetContrastTextColor() const
{
    const uint32_t rgb = GetRgb();
    const double r = static_cast<double>((rgb >> 16) & 0xFF);
    const double g = static_cast<double>((rgb >> 8) & 0xFF);
    const double b = static_cast<double>(rgb & 0xFF);
    // This association makes a grey of 127 come out at exactly 127.0, which
    // must still get white text.
    const double luminance =
        Rounded(Rounded(Rounded(r * 0.2125) + Rounded(g * 0.7154)) + Rounded(b * 0.0721));
    return luminance <= 127.0 ? 0xFFFFFFu : 0x000000u;
}

// The value fields are range-checked (0..360, 0..100) before these are used,
// so the 32-bit products cannot wrap.

uint32_t HueToDegrees(uint16_t hue)
{
    return static_cast<uint32_t>(hue) * 360u / 65535u;
}

uint32_t DegreesToHue(uint32_t degrees)
{
    return degrees * 65535u / 360u;
}

uint32_t LevelToPercent(uint16_t level)
{
    return static_cast<uint32_t>(level) * 100u / 65535u;
}

uint32_t PercentToLevel(uint32_t percent)
{
    return percent * 65535u / 100u;
}
