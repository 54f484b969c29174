#include "selector/selector_keys.h"

#include "color/color_axes.h"
#include "selector/selector_mouse.h"

namespace {

// Units of the value fields: one per arrow press, this many for Page Up or Down, or with Shift
// on the field.
const int32_t kBigStep = 10;

bool StepSlider(ColorValue* color, uint32_t axis, UINT key)
{
    const int32_t maximum = static_cast<int32_t>(GetAxisRange(axis).fieldMaximum);
    int32_t units;
    switch (key) {
    case VK_UP:
    case VK_RIGHT:
        units = 1;
        break;
    case VK_DOWN:
    case VK_LEFT:
        units = -1;
        break;
    case VK_PRIOR:
        units = kBigStep;
        break;
    case VK_NEXT:
        units = -kBigStep;
        break;
    // From anywhere a whole range's step lands on the end.
    case VK_HOME:
        units = -maximum;
        break;
    case VK_END:
        units = maximum;
        break;
    default:
        return false;
    }
    StepAxisNumber(color, axis, units);
    return true;
}

bool StepField(ColorValue* color, const ModeAxes& axes, UINT key, bool shift)
{
    const int32_t unit = shift ? kBigStep : 1;
    switch (key) {
    case VK_RIGHT:
        StepAxisNumber(color, axes.column, unit);
        return true;
    case VK_LEFT:
        StepAxisNumber(color, axes.column, -unit);
        return true;
    // Up raises the row axis, as the picture grows upward.
    case VK_UP:
        StepAxisNumber(color, axes.row, unit);
        return true;
    case VK_DOWN:
        StepAxisNumber(color, axes.row, -unit);
        return true;
    }
    return false;
}

}  // namespace

bool StepByKey(ColorValue* color, uint32_t mode, SelectorPart part, UINT key, bool shift)
{
    if (mode > AxisBrightness)
        return false;
    const ModeAxes& axes = GetModeAxes(mode);
    return part == SelectorSlider ? StepSlider(color, axes.slider, key) : StepField(color, axes, key, shift);
}

bool HandleSelectorKey(DialogState* state, SelectorPart part, UINT key, bool shift)
{
    ColorValue scratch = state->currentColor;
    if (!StepByKey(&scratch, state->sliderMode, part, key, shift))
        return false;
    // A key is a whole drag: the slider's brings the field along at once.
    MoveToColor(state, scratch,
                part == SelectorSlider ? kSliderMoveBits | kFieldCatchUpBits : kFieldMoveBits);
    return true;
}
