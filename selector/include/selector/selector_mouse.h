// Dragging in the colour field and on the slider while the dialog holds the mouse capture.
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/dialog_state.h"
#include "selector/selector.h"

// Takes the capture for a field or slider drag (CaptureField, CaptureSlider) and applies the
// press point at once.
void StartSelectorDrag(DialogState* state, const SelectorState* selector, uint32_t captureMode);
// A mouse move while a field or slider drag holds the capture.
void FollowSelectorDrag(DialogState* state, const SelectorState* selector);
// The drag's end, however the capture went: without real-time update the field catches up.
void EndSelectorDrag(DialogState* state);
