// Dragging in the colour field and on the slider while the dialog holds the mouse capture.
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/dialog_state.h"
#include "core/redraw.h"
#include "selector/selector.h"

// What a step of each drag redraws: the field's cross and the slider's strip, or the slider's
// arrows, and the field too when it does not wait for the end of the drag.
enum : WPARAM {
    kFieldMoveBits = RB_SLIDERSTRIP | RB_SLIDERMARK | RB_FIELDMARK | RB_FOCUSEDEDIT,
    kSliderMoveBits = RB_SLIDERMARK | RB_FOCUSEDEDIT,
    kFieldCatchUpBits = RB_FIELD | RB_FIELDMARK,
};

// Makes `color` the current colour and redraws `bits`, as each step of a drag does; nothing when
// the colour stays the same.
void MoveToColor(DialogState* state, const ColorValue& color, WPARAM bits);

// Takes the capture for a field or slider drag (CaptureField, CaptureSlider) and applies the
// press point (of the input being handled) at once.
void StartSelectorDrag(DialogState* state, const SelectorState* selector, uint32_t captureMode);
// A mouse move to `screen` while a field or slider drag holds the capture. The move's own
// point: coalesced moves carry the newest one.
void FollowSelectorDrag(DialogState* state, const SelectorState* selector, POINT screen);
// The drag's end, however the capture went: without real-time update the field catches up.
void EndSelectorDrag(DialogState* state);
