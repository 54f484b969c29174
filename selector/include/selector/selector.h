// The colour field and the slider: their pictures, rebuilt by the dialog's redraw, and their
// owner-drawn paint.
#pragma once
#include <windows.h>
#include <vfw.h>

#include <cstdint>

#include "core/dialog_state.h"
#include "core/handles.h"
#include "selector/selector_pixels.h"

// What the selector keeps between messages; part of the dialog's zero-filled state. The DCs come
// after the bitmaps selected into them, so they go first.
struct SelectorState {
    GdiObject<HBITMAP> leftArrowBitmap;
    GdiObject<HBITMAP> rightArrowBitmap;
    GdiObject<HBITMAP> sliderBitmap;
    MemoryDC leftArrowDC;
    MemoryDC rightArrowDC;
    MemoryDC sliderDC;

    BITMAPINFOHEADER fieldHeader;
    BITMAPINFOHEADER stripHeader;
    BITMAPINFOHEADER referenceHeader;
    HeapBlock<uint32_t> fieldPixels;
    HeapBlock<uint32_t> stripPixels;
    HeapBlock<uint32_t> referencePixels;

    RECT sliderRect;
    RECT leftArrowRect;
    RECT rightArrowRect;
    RECT stripRect;
    RECT referenceRect;
    RECT fieldRect;

    SelectorTables tables;
    HDRAWDIB drawDib;

    int32_t markerColumn;
    int32_t markerRow;
    int32_t markerArm;         // the cross's reach at the screen's DPI
    BYTE drawDibFailureShown;  // "Cannot draw DIB." has been said for this dialog

    HWND focused;  // the field or the slider while it has the keyboard focus
    // The UISF_ bits of the field and the slider, as WM_UPDATEUISTATE last left them.
    DWORD fieldUiState;
    DWORD sliderUiState;

    // What screen readers were last told: the mode plus one (0 before the first redraw), and the
    // numbers of the slider's axis and the field's across and up.
    uint32_t toldMode;
    uint32_t toldNumbers[3];
};

// Memory DCs, arrow and slider bitmaps, pixel buffers and DrawDib; false ends the dialog.
bool CreateSelectorPictures(const DialogState* state, SelectorState* selector);
// The per-column and per-row tables of the field; false ends the dialog.
bool CreateSelectorTables(SelectorState* selector);
void ReleaseSelectorPictures(SelectorState* selector);
void ReleaseSelectorTables(SelectorState* selector);

// The pictures' part of SELECTOR_REDRAW: refills what `bits` ask for, moves the markers and
// repaints the field and the slider.
void RedrawSelector(const DialogState* state, SelectorState* selector, WPARAM bits);

// The field or the slider took or lost the keyboard focus: it is drawn again, with its focus
// rectangle while it has the focus and the window shows focus cues.
void SetSelectorFocus(SelectorState* selector, HWND control, bool focused);
// The field's or the slider's focus cues shown or hidden (WM_UPDATEUISTATE's wparam; a null
// wparam takes the state the control has now): it is drawn again.
void SetSelectorUiState(SelectorState* selector, HWND control, WPARAM change);

// WM_DRAWITEM for the field and the slider; false for other controls.
bool DrawSelectorItem(const DialogState* state, SelectorState* selector, const DRAWITEMSTRUCT* item);
