// Dragging in the colour field and on the slider while the dialog holds the mouse capture.
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/dialog_state.h"
#include "selector/selector.h"

// Takes the capture for a field or slider drag (CaptureField, CaptureSlider) and applies the
// press point (of the input being handled) at once.
void StartSelectorDrag(DialogState* state, const SelectorState* selector, uint32_t captureMode);
// A mouse move to `screen` while a field or slider drag holds the capture. The move's own
// point: coalesced moves carry the newest one.
void FollowSelectorDrag(DialogState* state, const SelectorState* selector, POINT screen);
// The drag's end, however the capture went: without real-time update the field catches up.
void EndSelectorDrag(DialogState* state);
