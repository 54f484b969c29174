// The colour field and the slider moved by keys while they have the keyboard focus: each step
// moves the number the axis's value field shows.
#pragma once
#include <windows.h>

#include <cstdint>

#include "color/color_value.h"
#include "core/dialog_state.h"

enum SelectorPart : uint32_t {
    SelectorField,
    SelectorSlider,
};

// Sets on `color` what `key` (a virtual-key code; `shift` held or not) does on `part` in slider
// mode `mode`. False for keys the part leaves to the dialog; `color` is then untouched.
bool StepByKey(ColorValue* color, uint32_t mode, SelectorPart part, UINT key, bool shift);

// A key on the focused field or slider: the colour moves, through the redraw, as a drag to the
// new value would move it. False for keys the control leaves to the dialog.
bool HandleSelectorKey(DialogState* state, SelectorPart part, UINT key, bool shift);
