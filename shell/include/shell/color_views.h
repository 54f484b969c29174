// The dialog's views of the current colour besides the selector's pictures: the five swatches,
// the web-safe mark, the seven value fields, the named list's mark and the contrast row.
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

// The contrast row: the background swatch with its text sample in the current colour, the ratio
// and the grade. Part of every redraw; on its own after the background alone changed.
void UpdateContrastRow(const AppState* state);

// The grade's tip: each threshold with its pass or fail for the colours shown; `text` has
// `size` bytes.
void FormatContrastTip(const AppState* state, char* text, int size);
