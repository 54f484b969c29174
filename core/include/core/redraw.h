// The one way a change of colour or slider mode reaches the screen: the dialog's redraw message.
#pragma once
#include <windows.h>

#include "core/dialog_state.h"

// Sent (never posted) by the dialog to itself after every change of colour or slider mode.
#define SELECTOR_REDRAW (WM_APP)

// wparam of SELECTOR_REDRAW: which pictures to rebuild. Every redraw also updates swatches,
// the web-safe mark, the value fields and the named list's mark.
enum RedrawBits : WPARAM {
    RB_SLIDERSTRIP = 0x01,
    RB_REFSTRIP = 0x02,
    RB_SLIDERMARK = 0x04,
    RB_FIELD = 0x08,  // a refill wipes the marker, so senders add RB_FIELDMARK
    RB_FIELDMARK = 0x10,
    RB_FOCUSEDEDIT = 0x20,  // also rewrite the value field being typed in
    RB_ALL = 0x3F,
};

// Returns when every view shows the current colour.
inline void RequestRedraw(const DialogState* state, WPARAM bits)
{
    SendMessageA(state->dialog, SELECTOR_REDRAW, bits, 0);
}
