#include "selector/selector_mouse.h"

#include "core/mouse_input.h"
#include "core/redraw.h"
#include "resources/resource.h"

namespace {

POINT PointIn(HWND control, POINT screen)
{
    ScreenToClient(control, &screen);
    return screen;
}

void MoveOnSlider(DialogState* state, const SelectorState* selector, POINT screen)
{
    ColorValue scratch = state->currentColor;
    POINT point = PointIn(DialogControl(state, IDC_SLIDER), screen);
    ApplySliderPoint(&scratch, state->sliderMode, point.y, selector->stripRect.bottom,
                     selector->stripRect.bottom - selector->stripRect.top);
    const bool realTime = state->options.Test(RealTimeUpdate);
    MoveToColor(state, scratch, realTime ? kSliderMoveBits | kFieldCatchUpBits : kSliderMoveBits);
}

void MoveOnField(DialogState* state, const SelectorState* selector, POINT screen)
{
    ColorValue scratch = state->currentColor;
    POINT point = PointIn(DialogControl(state, IDC_FIELD), screen);
    ApplyFieldPoint(&scratch, state->sliderMode, point.x, point.y, selector->fieldRect.right,
                    selector->fieldRect.bottom, selector->tables);
    MoveToColor(state, scratch, kFieldMoveBits);
}

}  // namespace

void MoveToColor(DialogState* state, const ColorValue& color, WPARAM bits)
{
    if (!color.Differs(state->currentColor))
        return;
    state->currentColor = color;
    RequestRedraw(state, bits);
}

void StartSelectorDrag(DialogState* state, const SelectorState* selector, uint32_t captureMode)
{
    TakeMouse(state->dialog);
    state->captureMode = captureMode;
    // The press point counts as the first move.
    FollowSelectorDrag(state, selector, InputPoint());
}

void FollowSelectorDrag(DialogState* state, const SelectorState* selector, POINT screen)
{
    if (state->captureMode == CaptureSlider)
        MoveOnSlider(state, selector, screen);
    else if (state->captureMode == CaptureField)
        MoveOnField(state, selector, screen);
}

void EndSelectorDrag(DialogState* state)
{
    // Without real-time update the field has waited for the end of the drag.
    if (state->captureMode == CaptureSlider && !state->options.Test(RealTimeUpdate))
        RequestRedraw(state, kFieldCatchUpBits);
}
