// The named colours: list 437 of the side panel with the 140 rows of NamedColorTable.
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/dialog_state.h"

// The list's mark as last asked for: the nearest named colour and whether it is exact. Part of
// the dialog's zero-filled state.
struct NamedListMark {
    BYTE known;
    BYTE exact;
    uint32_t color;
};

// One row per table entry, in table order; the row holds only the colour.
void FillNamedList(const DialogState* state);

// Commands 439 and 440; 438 and the double click load through LoadColorFromList.
void FindNearestNamedColor(const DialogState* state);
void CopyNamedColor(const DialogState* state);

// WM_DRAWITEM for list 437: the row nearest the current colour is bold when it is that colour,
// italic when only nearest.
void DrawNamedColorItem(const DialogState* state, const DRAWITEMSTRUCT* item);

// After a change of colour: repaints the list only when its mark moves to another colour or
// changes between bold and italic.
void UpdateNamedListMark(const DialogState* state, NamedListMark* mark);
