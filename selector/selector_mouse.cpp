#include "selector/selector_mouse.h"

#include <windowsx.h>

#include "grabber/grabber.h"
#include "resources/resource.h"
#include "selector/selector.h"
#include "shell/main_dialog.h"
#include "shell/status_icon.h"

namespace {

void ApplyIfChanged(AppState* state, const ColorValue& scratch, WPARAM bits)
{
    if (!scratch.Differs(state->currentColor))
        return;
    state->currentColor = scratch;
    SendMessageA(state->dialog, SELECTOR_REDRAW, bits, 0);
}

// Positions come from the system, not the message: coalesced moves then use the newest one.
POINT CursorIn(HWND control)
{
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(control, &point);
    return point;
}

void MoveOnSlider(AppState* state)
{
    ColorValue scratch = state->currentColor;
    POINT point = CursorIn(DialogControl(state, IDC_SLIDER));
    ApplySliderPoint(&scratch, state->sliderMode, point.y, state->stripRect.bottom,
                     state->stripRect.bottom - state->stripRect.top);
    const bool realTime = state->options.Test(RealTimeUpdate);
    ApplyIfChanged(state, scratch,
                   realTime ? RB_SLIDERMARK | RB_FIELD | RB_FIELDMARK | RB_FOCUSEDEDIT
                            : RB_SLIDERMARK | RB_FOCUSEDEDIT);
}

void MoveOnField(AppState* state)
{
    ColorValue scratch = state->currentColor;
    POINT point = CursorIn(DialogControl(state, IDC_FIELD));
    ApplyFieldPoint(&scratch, state->sliderMode, point.x, point.y, state->fieldRect.right,
                    state->fieldRect.bottom, state->tables);
    ApplyIfChanged(state, scratch, RB_SLIDERSTRIP | RB_SLIDERMARK | RB_FIELDMARK | RB_FOCUSEDEDIT);
}

void TrackHideButton(AppState* state, LPARAM clientPoint)
{
    POINT point = {GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
    ClientToScreen(state->dialog, &point);
    RECT button = HideButtonRect(state->dialog);
    state->hideButtonDown = PtInRect(&button, point) ? TRUE : FALSE;
    DrawHideButton(state->dialog, state->hideButtonDown);
}

}  // namespace

void StartSelectorDrag(AppState* state, uint32_t captureMode, HWND control)
{
    SetCapture(state->dialog);
    state->captureMode = captureMode;
    SendMessageA(state->dialog, WM_MOUSEMOVE, 0, reinterpret_cast<LPARAM>(control));
}

void OnCaptureMouseMove(AppState* state, LPARAM lparam)
{
    switch (state->captureMode) {
    case CaptureSlider:
        MoveOnSlider(state);
        break;
    case CaptureField:
        MoveOnField(state);
        break;
    case CaptureGrab:
        FollowGrab(state);
        break;
    case CaptureHideButton:
        TrackHideButton(state, lparam);
        break;
    }
}

void OnCaptureLButtonUp(AppState* state, LPARAM lparam)
{
    if (state->captureMode == CaptureGrab)
        PickGrabbedColor(state, lparam);
    if (state->captureMode == CaptureHideButton && state->hideButtonDown) {
        state->hideButtonDown = FALSE;
        HideToStatusArea(state);
    }
    ReleaseCapture();
}

void OnCaptureRButtonDown(AppState* state)
{
    if (state->captureMode == CaptureGrab)
        CancelGrab(state);
}

void OnCaptureChanged(AppState* state)
{
    switch (state->captureMode) {
    case CaptureSlider:
        // Without real-time update the field has waited for the end of the drag.
        if (!state->options.Test(RealTimeUpdate))
            SendMessageA(state->dialog, SELECTOR_REDRAW, RB_FIELD | RB_FIELDMARK, 0);
        break;
    case CaptureGrab:
        EndGrab(state);
        break;
    case CaptureHideButton:
        state->hideButtonDown = FALSE;
        DrawHideButton(state->dialog, false);
        break;
    }
    state->captureMode = CaptureNone;
}

RECT HideButtonRect(HWND window)
{
    RECT frame;
    GetWindowRect(window, &frame);
    RECT r;
    r.left = frame.right - GetSystemMetrics(SM_CXDLGFRAME) - 4 * GetSystemMetrics(SM_CXSIZE);
    r.top = frame.top + GetSystemMetrics(SM_CYDLGFRAME);
    r.right = r.left + GetSystemMetrics(SM_CXSIZE);
    r.bottom = r.top + GetSystemMetrics(SM_CYSIZE);
    InflateRect(&r, -1, -2);
    return r;
}

void DrawHideButton(HWND window, bool pressed)
{
    RECT frame;
    GetWindowRect(window, &frame);
    RECT r = HideButtonRect(window);
    OffsetRect(&r, -frame.left, -frame.top);
    HDC dc = GetWindowDC(window);
    if (!dc)
        return;
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
    InflateRect(&r, -2, -1);
    if (pressed)
        OffsetRect(&r, 1, 1);
    // The glyph: a bar along the bottom and a short one up the right edge, a tray corner.
    HBRUSH text = GetSysColorBrush(COLOR_BTNTEXT);
    RECT bottom = {r.left, r.bottom - 2, r.right, r.bottom};
    FillRect(dc, &bottom, text);
    RECT side = {r.right - 2, r.top + (r.bottom - r.top) / 2, r.right, r.bottom};
    FillRect(dc, &side, text);
    ReleaseDC(window, dc);
}

bool OnHideButtonPress(AppState* state, LPARAM screenPoint)
{
    POINT point = {GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    RECT button = HideButtonRect(state->dialog);
    if (!PtInRect(&button, point))
        return false;
    state->hideButtonDown = TRUE;
    DrawHideButton(state->dialog, true);
    SetCapture(state->dialog);
    state->captureMode = CaptureHideButton;
    return true;
}
