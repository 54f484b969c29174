#include "shell/hide_button.h"

#include <windowsx.h>

#include "core/handles.h"
#include "core/mouse_input.h"
#include "shell/main_dialog.h"
#include "shell/status_icon.h"

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
    WindowDC dc(window, WindowDC::WholeWindow);
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
}

bool OnHideButtonPress(AppState* state, LPARAM screenPoint)
{
    POINT point = {GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    RECT button = HideButtonRect(state->dialog);
    if (!PtInRect(&button, point))
        return false;
    state->hideButtonDown = TRUE;
    DrawHideButton(state->dialog, true);
    TakeMouse(state->dialog);
    state->captureMode = CaptureHideButton;
    return true;
}

void TrackHideButton(AppState* state, LPARAM clientPoint)
{
    POINT point = {GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
    ClientToScreen(state->dialog, &point);
    RECT button = HideButtonRect(state->dialog);
    state->hideButtonDown = PtInRect(&button, point) ? TRUE : FALSE;
    DrawHideButton(state->dialog, state->hideButtonDown);
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
    DrawHideButton(state->dialog, false);
}
