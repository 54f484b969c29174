// The main dialog: its state record and its window procedure.
#pragma once
#include <windows.h>
#include <vfw.h>

#include <cstdint>

#include "color/color_value.h"
#include "selector/selector_pixels.h"
#include "settings/option_flags.h"

// Handed by start to the dialog as its creation parameter; copied during initialisation.
struct StartParams {
    HINSTANCE instance;
    UINT instanceMessage;
};

// The range of control ids in the main dialog template.
constexpr int kFirstControlId = 401;
constexpr int kLastControlId = 440;

// Which interaction holds the dialog's mouse capture.
enum CaptureMode : uint32_t {
    CaptureNone = 0,
    CaptureSlider = 1,
    CaptureField = 2,
    CaptureGrab = 3,
    CaptureHideButton = 4,
};

// The main dialog's state, allocated zero-filled at WM_INITDIALOG and kept in the user-data slot.
struct AppState {
    OptionFlags options;
    HINSTANCE instance;
    HWND dialog;
    HWND toolTip;
    HWND grabPopup;

    HBITMAP leftArrowBitmap;
    HBITMAP rightArrowBitmap;
    HBITMAP sliderBitmap;

    HICON largeIcon;
    HICON smallIcon;
    HICON notWebSafeIcon;
    HCURSOR grabCursor;

    // Selector pictures.
    HDC leftArrowDC;
    HDC rightArrowDC;
    HDC sliderDC;
    BITMAPINFOHEADER fieldHeader;
    BITMAPINFOHEADER stripHeader;
    BITMAPINFOHEADER referenceHeader;
    uint32_t* fieldPixels;
    uint32_t* stripPixels;
    uint32_t* referencePixels;
    RECT sliderRect;
    RECT leftArrowRect;
    RECT rightArrowRect;
    RECT stripRect;
    RECT referenceRect;
    RECT fieldRect;

    SIZE expandedSize;
    SIZE collapsedSize;

    ColorValue currentColor;
    uint32_t sliderMode;    // a SliderMode
    uint32_t captureMode;   // a CaptureMode

    SelectorTables tables;
    HDRAWDIB drawDib;

    int32_t markerColumn;
    int32_t markerRow;

    UINT dragListMessage;
    int32_t dragSourceIndex;
    int32_t dragInsertIndex;    // row the insertion mark stands before while a drag runs, or -1

    uint32_t grabFlip;
    UINT instanceMessage;
    BYTE hideButtonDown;
    BYTE initialised;       // set when WM_INITDIALOG completed; only then is state written back
    BYTE closing;           // set by WM_CLOSE: a field losing the focus then is not checked
    BYTE drawDibFailureShown;   // "Cannot draw DIB." has been said for this dialog

    // The named list's mark as last asked for: the nearest named colour and whether it is exact.
    BYTE namedMarkKnown;
    BYTE namedMarkExact;
    uint32_t namedMarkColor;

    // The dialog's controls 401..440 by id, looked up once at initialisation: under Wine every
    // GetDlgItem is a call to the server, and a redraw would make a couple of dozen of them.
    HWND controls[kLastControlId - kFirstControlId + 1];
};

// A control of the main dialog by id; ids outside the table are looked up the usual way.
inline HWND DialogControl(const AppState* state, int id)
{
    return id >= kFirstControlId && id <= kLastControlId ? state->controls[id - kFirstControlId]
                                                         : GetDlgItem(state->dialog, id);
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// Fetches the dialog's state; null before initialisation and after teardown.
AppState* GetAppState(HWND dialog);
