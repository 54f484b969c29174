#include "selector/selector_access.h"

#include "color/axis_text.h"
#include "core/accessible.h"
#include "resources/resource.h"

static_assert(static_cast<int>(ACCESSIBLE_TEXT_SIZE) >= static_cast<int>(AXIS_TEXT_SIZE), "the texts fit");

namespace {

// The axes' names are the tips of the mode buttons, the strings with their ids.
struct LoadedAxisNames {
    char text[COLOR_AXIS_COUNT][AXIS_TEXT_SIZE];
    AxisNames names;

    explicit LoadedAxisNames(HINSTANCE instance)
    {
        for (int axis = 0; axis < COLOR_AXIS_COUNT; ++axis) {
            if (!LoadStringA(instance, IDC_MODE_RED + axis, text[axis], AXIS_TEXT_SIZE))
                text[axis][0] = '\0';
            names[axis] = text[axis];
        }
    }
};

}  // namespace

void DescribeSelectorControl(const DialogState* state, int id, char* name, char* value)
{
    const LoadedAxisNames axes(state->instance);
    const uint32_t mode = state->sliderMode <= AxisBrightness ? state->sliderMode : AxisRed;
    if (id == IDC_SLIDER) {
        FormatSliderName(mode, axes.names, name);
        FormatSliderValue(mode, state->currentColor, value);
    } else {
        FormatFieldName(mode, axes.names, name);
        FormatFieldValue(mode, state->currentColor, axes.names, value);
    }
}

void AnnounceSelectorChanges(const DialogState* state, SelectorState* selector)
{
    const uint32_t mode = state->sliderMode <= AxisBrightness ? state->sliderMode : AxisRed;
    const ModeAxes& axes = GetModeAxes(mode);
    // The values follow the numbers: while the mode stays, the same numbers are the same texts.
    const uint32_t numbers[3] = {AxisFieldNumber(state->currentColor, axes.slider),
                                 AxisFieldNumber(state->currentColor, axes.column),
                                 AxisFieldNumber(state->currentColor, axes.row)};
    HWND slider = DialogControl(state, IDC_SLIDER), field = DialogControl(state, IDC_FIELD);
    const bool newMode = selector->toldMode != mode + 1;
    if (newMode) {
        NotifyAccessibleEvent(EVENT_OBJECT_NAMECHANGE, slider);
        NotifyAccessibleEvent(EVENT_OBJECT_NAMECHANGE, field);
    }
    if (newMode || numbers[0] != selector->toldNumbers[0])
        NotifyAccessibleEvent(EVENT_OBJECT_VALUECHANGE, slider);
    if (newMode || numbers[1] != selector->toldNumbers[1] || numbers[2] != selector->toldNumbers[2])
        NotifyAccessibleEvent(EVENT_OBJECT_VALUECHANGE, field);
    selector->toldMode = mode + 1;
    for (int i = 0; i < 3; ++i)
        selector->toldNumbers[i] = numbers[i];
}
