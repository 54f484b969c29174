// The named colours: list 437 of the side panel with the 140 rows of NamedColorTable.
#pragma once
#include <windows.h>

struct AppState;

// One row per table entry, in table order; the row holds only the colour.
void FillNamedList(AppState* state);

// Commands 439 and 440; 438 and the double click load through LoadColorFromList.
void FindNearestNamedColor(AppState* state);
void CopyNamedColor(AppState* state);

// WM_DRAWITEM for list 437: the row nearest the current colour is bold when it is that colour,
// italic when only nearest.
void DrawNamedColorItem(const AppState* state, const DRAWITEMSTRUCT* item);
