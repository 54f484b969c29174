// The program's one colour type: a colour held either as 8-bit red, green,
// blue or as 16-bit hue, saturation, brightness, converted on demand.
//
// Kept free of <windows.h> so the colour arithmetic builds and tests without
// the platform; COLORREF-valued results are plain uint32_t (0x00BBGGRR).
#ifndef TINTORA_COLOR_COLOR_VALUE_H
#define TINTORA_COLOR_COLOR_VALUE_H

#include <cstdint>
#include <type_traits>

// Which three fields of a ColorValue carry the colour. Rgb is 0 so that a
// zero-filled record (AppState, swatch state) is black in Rgb form.
enum class ColorForm : uint8_t {
    Rgb = 0,
    Hsb = 1,
};

// Plain record, copied by value. Only the fields of the current form are
// meaningful; the others keep whatever they last held and are never read
// directly.
struct ColorValue {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint16_t hue;         // 0..65535 is one full turn; 10923 units per sector
    uint16_t saturation;  // 0 grey .. 65535 fully saturated
    uint16_t brightness;  // 0 black .. 65535 full brightness
    ColorForm form;

    // All six components 0, Rgb form (black).
    ColorValue& Reset();

    // Getters never change the object; in the other form they convert a copy.
    uint8_t GetRed() const;
    uint8_t GetGreen() const;
    uint8_t GetBlue() const;
    uint16_t GetHue() const;
    uint16_t GetSaturation() const;
    uint16_t GetBrightness() const;

    // Switch to Rgb form if needed, then store the low 8 bits.
    void SetRed(uint32_t value);
    void SetGreen(uint32_t value);
    void SetBlue(uint32_t value);

    // Switch to Hsb form if needed, then store the low 16 bits.
    void SetHue(uint32_t value);
    void SetSaturation(uint32_t value);
    void SetBrightness(uint32_t value);

    // Store all three (low 16 bits each) and mark Hsb, with no conversion.
    void SetHsb(uint32_t hueValue, uint32_t saturationValue, uint32_t brightnessValue);

    // Compute the other form from the current one, store it, flip the form.
    void SwitchForm();

    // All six components compare equal as read through the getters.
    bool Equals(const ColorValue& other) const;
    bool Differs(const ColorValue& other) const;

    // 0x00RRGGBB.
    uint32_t GetRgb() const;
    void SetRgb(uint32_t rgb);

    // GDI COLORREF, 0x00BBGGRR.
    uint32_t GetColorRef() const;
    void SetColorRef(uint32_t colorRef);

    // 0xFFFFFF (white) for a dark colour, 0x000000 (black) for a light one.
    uint32_t GetContrastTextColor() const;
};

static_assert(std::is_trivially_copyable<ColorValue>::value,
              "ColorValue is copied by value and lives in zero-filled records");
static_assert(std::is_trivial<ColorValue>::value, "ColorValue must stay zero-initialisable");
static_assert(std::is_standard_layout<ColorValue>::value, "ColorValue is a plain record");

// Units of the value fields. All divisions truncate.
uint32_t HueToDegrees(uint16_t hue);        // 65535 -> 360
uint32_t DegreesToHue(uint32_t degrees);    // 360 -> 65535
uint32_t LevelToPercent(uint16_t level);    // saturation, brightness
uint32_t PercentToLevel(uint32_t percent);  // 100 -> 65535

#endif  // TINTORA_COLOR_COLOR_VALUE_H
