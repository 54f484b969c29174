// The look of a row, shared by the two colour lists.
#pragma once
#include <windows.h>

#include <cstdint>

#include "color/color_value.h"

// Where a row's text starts at `dpi`: right of the swatch.
int RowTextLeft(int dpi);

// The system colours a row is drawn in: highlight colours when selected, window colours else.
struct RowColors {
    int text;        // COLOR_ index
    int background;  // COLOR_ index
};

// The colour a row holds in its item data; false for the item id -1, which has no row to draw.
bool RowColor(const DRAWITEMSTRUCT* item, ColorValue* color);

// Fills the row's background and draws its swatch of the colour (20 pixels wide at 96 DPI),
// framed one pixel in the text colour.
RowColors DrawRowSwatch(const DRAWITEMSTRUCT* item, const ColorValue& color, int dpi);

// Draws `text` right of the swatch in the row's colours, leaving the DC's colours as found.
void DrawRowText(const DRAWITEMSTRUCT* item, const RowColors& colors, const char* text, int dpi);

// A message to a colour list's own list-box procedure, past any subclass on it. Row by row over a
// long list this matters: the drag list's subclass looks its data up in window properties for
// every message, and under Wine each look-up is a request to the server.
LRESULT ListBoxCall(HWND list, UINT message, WPARAM wparam, LPARAM lparam);
