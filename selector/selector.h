// The colour field and slider pictures, and the redraw message that brings every view of the
// current colour up to date.
#pragma once
#include <windows.h>

struct AppState;

// Sent (never posted) by the dialog to itself after every change of colour or slider mode.
#define SELECTOR_REDRAW (WM_USER)

// wparam of SELECTOR_REDRAW: which pictures to rebuild. Every redraw also updates swatches,
// the web-safe mark, the value fields and the lists.
enum RedrawBits : WPARAM {
    RB_SLIDERSTRIP = 0x01,
    RB_REFSTRIP = 0x02,
    RB_SLIDERMARK = 0x04,
    RB_FIELD = 0x08,        // a refill wipes the marker, so senders add RB_FIELDMARK
    RB_FIELDMARK = 0x10,
    RB_FOCUSEDEDIT = 0x20,  // also rewrite the value field being typed in
    RB_ALL = 0x3F,
};

// Memory DCs, arrow and slider bitmaps, pixel buffers and DrawDib; false ends the dialog.
bool CreateSelectorPictures(AppState* state);
// The per-column and per-row tables of the field; false ends the dialog.
bool CreateSelectorTables(AppState* state);
void ReleaseSelectorPictures(AppState* state);
void ReleaseSelectorTables(AppState* state);

void OnSelectorRedraw(AppState* state, WPARAM bits);

// Rewrites one value field (413-419) from the current colour, as the redraw does.
void WriteValueField(AppState* state, int id);

// WM_DRAWITEM for the field and the slider; false for other controls.
bool DrawSelectorItem(AppState* state, const DRAWITEMSTRUCT* item);
