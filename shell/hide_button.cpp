#include "shell/hide_button.h"

#include <windowsx.h>

#include "core/dpi.h"
#include "core/handles.h"
#include "core/mouse_input.h"
#include "shell/main_dialog.h"
#include "shell/status_icon.h"

RECT HideButtonRect(HWND window, int dpi)
{
    RECT frame;
    GetWindowRect(window, &frame);
    RECT r;
    r.left = frame.right - GetSystemMetrics(SM_CXDLGFRAME) - 4 * GetSystemMetrics(SM_CXSIZE);
    r.top = frame.top + GetSystemMetrics(SM_CYDLGFRAME);
    r.right = r.left + GetSystemMetrics(SM_CXSIZE);
    r.bottom = r.top + GetSystemMetrics(SM_CYSIZE);
    InflateRect(&r, -ScaleToDpi(1, dpi), -ScaleToDpi(2, dpi));
    return r;
}

void DrawHideButton(HWND window, int dpi, bool pressed)
{
    RECT frame;
    GetWindowRect(window, &frame);
    RECT r = HideButtonRect(window, dpi);
    OffsetRect(&r, -frame.left, -frame.top);
    WindowDC dc(window, WindowDC::WholeWindow);
    if (!dc)
        return;
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
    InflateRect(&r, -ScaleToDpi(2, dpi), -ScaleToDpi(1, dpi));
    if (pressed)
        OffsetRect(&r, 1, 1);
    // The glyph: a bar along the bottom and a short one up the right edge, a tray corner.
    HBRUSH text = GetSysColorBrush(COLOR_BTNTEXT);
    const int bar = ScaleToDpi(2, dpi);
    RECT bottom = {r.left, r.bottom - bar, r.right, r.bottom};
    FillRect(dc, &bottom, text);
    RECT side = {r.right - bar, r.top + (r.bottom - r.top) / 2, r.right, r.bottom};
    FillRect(dc, &side, text);
}

bool OnHideButtonPress(AppState* state, LPARAM screenPoint)
{
    POINT point = {GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    RECT button = HideButtonRect(state->dialog, state->dpi);
    if (!PtInRect(&button, point))
        return false;
    state->hideButtonDown = TRUE;
    DrawHideButton(state->dialog, state->dpi, true);
    TakeMouse(state->dialog);
    state->captureMode = CaptureHideButton;
    return true;
}

void TrackHideButton(AppState* state, LPARAM clientPoint)
{
    POINT point = {GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
    ClientToScreen(state->dialog, &point);
    RECT button = HideButtonRect(state->dialog, state->dpi);
    state->hideButtonDown = PtInRect(&button, point) ? TRUE : FALSE;
    DrawHideButton(state->dialog, state->dpi, state->hideButtonDown);
}

void ReleaseHideButton(AppState* state)
{
    if (!state->hideButtonDown)
        return;
    state->hideButtonDown = FALSE;
    HideToStatusArea(state);
}

void EndHideButton(AppState* state)
{
    state->hideButtonDown = FALSE;
    DrawHideButton(state->dialog, state->dpi, false);
}
