// What every part of the main dialog shares: the window, the colour and slider mode it shows,
// the options, which interaction holds the mouse, and the controls by id. The main dialog's
// record begins with this; each part keeps what else it needs in a record of its own.
#pragma once
#include <windows.h>

#include <cstdint>

#include "color/color_value.h"
#include "core/option_flags.h"

// The range of control ids in the main dialog template.
constexpr int kFirstControlId = 401;
constexpr int kLastControlId = 443;

// Which interaction holds the dialog's mouse capture.
enum CaptureMode : uint32_t {
    CaptureNone = 0,
    CaptureSlider = 1,
    CaptureField = 2,
    CaptureGrab = 3,
    CaptureHideButton = 4,
};

// Plain record: it lives zero-filled at the start of the dialog's heap-allocated state.
struct DialogState {
    OptionFlags options;
    HINSTANCE instance;
    HWND dialog;

    ColorValue currentColor;
    uint32_t sliderMode;   // a ColorAxis: the component the slider carries
    uint32_t captureMode;  // a CaptureMode
    int32_t dpi;           // the screen's, read once at the start (core/dpi.h)

    // The dialog's controls 401..443 by id, looked up once at initialisation: under Wine every
    // GetDlgItem is a call to the server, and a redraw would make a couple of dozen of them.
    HWND controls[kLastControlId - kFirstControlId + 1];
};

// A control of the main dialog by id; ids outside the table are looked up the usual way.
inline HWND DialogControl(const DialogState* state, int id)
{
    return id >= kFirstControlId && id <= kLastControlId ? state->controls[id - kFirstControlId]
                                                         : GetDlgItem(state->dialog, id);
}
