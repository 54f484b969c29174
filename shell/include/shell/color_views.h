// The dialog's views of the current colour besides the selector's pictures: the five swatches,
// the web-safe mark, the seven value fields and the named list's mark.
#pragma once
#include <windows.h>

#include "core/dialog_state.h"

struct AppState;

// The views' part of SELECTOR_REDRAW; the field being typed in is rewritten only with
// RB_FOCUSEDEDIT in `bits`.
void UpdateColorViews(AppState* state, WPARAM bits);

// Rewrites one value field (413-419) from the current colour, as the redraw does; it repaints
// with the next paint.
void WriteValueField(const DialogState* state, int id);
