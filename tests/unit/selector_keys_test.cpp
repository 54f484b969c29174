// The keys of the focused colour field and slider, as the value fields show their effect.
#include "selector/selector_keys.h"

#include <gtest/gtest.h>

#include <string>

#include "color/color_axes.h"

namespace {

struct KeyCase {
    const char* what;
    uint32_t mode;
    SelectorPart part;
    UINT key;
    bool shift;
    uint32_t from[3];   // red, green, blue or, in the HSB modes, hue, saturation, brightness stored
    uint32_t shown[3];  // the same three as their fields show them after the key
};

// The RGB modes from (200, 100, 50); the HSB modes from a colour that shows hue 20 degrees,
// saturation 75 % and brightness 78 %.
const KeyCase kCases[] = {
    {"slider up", AxisRed, SelectorSlider, VK_UP, false, {200, 100, 50}, {201, 100, 50}},
    {"slider right", AxisGreen, SelectorSlider, VK_RIGHT, false, {200, 100, 50}, {200, 101, 50}},
    {"slider left", AxisBlue, SelectorSlider, VK_LEFT, false, {200, 100, 50}, {200, 100, 49}},
    {"slider page up", AxisRed, SelectorSlider, VK_PRIOR, false, {200, 100, 50}, {210, 100, 50}},
    {"slider page up at 250", AxisRed, SelectorSlider, VK_PRIOR, false, {250, 100, 50}, {255, 100, 50}},
    {"slider page down", AxisBlue, SelectorSlider, VK_NEXT, false, {200, 100, 50}, {200, 100, 40}},
    {"slider home", AxisGreen, SelectorSlider, VK_HOME, false, {200, 100, 50}, {200, 0, 50}},
    {"slider end", AxisGreen, SelectorSlider, VK_END, false, {200, 100, 50}, {200, 255, 50}},
    {"field right", AxisRed, SelectorField, VK_RIGHT, false, {200, 100, 50}, {200, 101, 50}},
    {"field up", AxisRed, SelectorField, VK_UP, false, {200, 100, 50}, {200, 100, 51}},
    {"field shift left", AxisGreen, SelectorField, VK_LEFT, true, {200, 100, 50}, {190, 100, 50}},
    {"field shift down", AxisBlue, SelectorField, VK_DOWN, true, {200, 100, 50}, {200, 90, 50}},
    {"field shift down at 5", AxisRed, SelectorField, VK_DOWN, true, {200, 100, 5}, {200, 100, 0}},
    {"hue slider down", AxisHue, SelectorSlider, VK_DOWN, false, {3641, 49152, 51118}, {19, 75, 78}},
    {"hue slider home", AxisHue, SelectorSlider, VK_HOME, false, {3641, 49152, 51118}, {0, 75, 78}},
    {"hue slider end", AxisHue, SelectorSlider, VK_END, false, {3641, 49152, 51118}, {360, 75, 78}},
    {"saturation page up",
     AxisSaturation,
     SelectorSlider,
     VK_PRIOR,
     false,
     {3641, 49152, 51118},
     {20, 85, 78}},
    {"hue field right", AxisHue, SelectorField, VK_RIGHT, false, {3641, 49152, 51118}, {20, 76, 78}},
    {"hue field shift up", AxisHue, SelectorField, VK_UP, true, {3641, 49152, 51118}, {20, 75, 88}},
    {"brightness field left",
     AxisBrightness,
     SelectorField,
     VK_LEFT,
     false,
     {3641, 49152, 51118},
     {19, 75, 78}},
    {"brightness field up", AxisBrightness, SelectorField, VK_UP, false, {3641, 49152, 51118}, {20, 76, 78}},
};

class SelectorKeys : public testing::TestWithParam<KeyCase> {};

TEST_P(SelectorKeys, EachKeyMovesItsAxisByWholeShownUnits)
{
    const KeyCase& c = GetParam();
    ColorValue color{};
    if (c.mode <= AxisBlue)
        color.SetRgb(c.from[0] << 16 | c.from[1] << 8 | c.from[2]);
    else
        color.SetHsb(c.from[0], c.from[1], c.from[2]);
    ASSERT_TRUE(StepByKey(&color, c.mode, c.part, c.key, c.shift));
    const uint32_t first = c.mode <= AxisBlue ? AxisRed : AxisHue;
    const uint32_t shown[3] = {AxisFieldNumber(color, first), AxisFieldNumber(color, first + 1),
                               AxisFieldNumber(color, first + 2)};
    EXPECT_EQ(std::to_string(c.shown[0]) + " " + std::to_string(c.shown[1]) + " " +
                  std::to_string(c.shown[2]),
              std::to_string(shown[0]) + " " + std::to_string(shown[1]) + " " + std::to_string(shown[2]));
}

INSTANTIATE_TEST_SUITE_P(Keys, SelectorKeys, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<KeyCase>& info) {
    std::string name;
    for (const char* p = info.param.what; *p; ++p)
        if (isalnum(static_cast<unsigned char>(*p)))
            name += *p;
    return name;
});

TEST(SelectorKeysLeft, KeysTheControlDoesNotTakeLeaveTheColour)
{
    ColorValue color{};
    color.SetRgb(0xC86432);
    // The field has no Page or Home keys; neither takes Tab, Enter, Escape or letters.
    for (int key : {VK_PRIOR, VK_HOME, VK_TAB, VK_RETURN, VK_ESCAPE, int{'A'}})
        EXPECT_FALSE(StepByKey(&color, AxisRed, SelectorField, key, false)) << key;
    for (int key : {VK_TAB, VK_RETURN, VK_ESCAPE, VK_SPACE})
        EXPECT_FALSE(StepByKey(&color, AxisHue, SelectorSlider, key, false)) << key;
    EXPECT_EQ(0xC86432u, color.GetRgb());
}

}  // namespace
