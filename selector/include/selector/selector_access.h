// What screen readers are told of the colour field and the slider: each is a slider named by its
// axes, valued by the numbers their value fields show.
#pragma once
#include <windows.h>

#include "core/dialog_state.h"
#include "selector/selector.h"

// The name and value (ACCESSIBLE_TEXT_SIZE each) of the field (IDC_FIELD) or the slider
// (IDC_SLIDER) as the dialog shows them now.
void DescribeSelectorControl(const DialogState* state, int id, char* name, char* value);

// After a redraw: readers hear of each of the two whose value changed, and of new names when the
// mode did.
void AnnounceSelectorChanges(const DialogState* state, SelectorState* selector);
