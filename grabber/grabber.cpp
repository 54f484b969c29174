// The main dialog's side of a screen grab, from the press on the grab icon to the end of the
// capture.
#include "grabber/grabber.h"

#include <windowsx.h>

#include "resources/resource.h"
#include "selector/selector.h"
#include "shell/main_dialog.h"
#include "shell/messages.h"
#include "shell/topmost.h"

namespace {

void DestroyGrabPopup(AppState* state)
{
    if (state->grabPopup && IsWindow(state->grabPopup))
        DestroyWindow(state->grabPopup);
    state->grabPopup = nullptr;
}

}  // namespace

void StartGrab(AppState* state)
{
    state->grabFlip = 0;
    HWND popup = CreateGrabPopup(state->dialog, state->instance);
    if (!popup) {
        ShowWarningMessage(state->instance, state->dialog, IDS_GRABBER_ERROR);
        return;
    }
    state->grabPopup = popup;
    SetCapture(state->dialog);
    // No WM_SETCURSOR arrives while the capture is held, so this cursor stays until the end.
    SetCursor(state->grabCursor);
    state->captureMode = CaptureGrab;
    // The dialog, and with it its owned popup, above every window the user may drag over.
    // Without activating: the focus moving would cancel the capture just taken.
    SetWindowTopmost(state->dialog, true, SWP_NOACTIVATE);
}

void FollowGrab(AppState* state)
{
    if (!state->grabPopup)
        return;
    POINT cursor;
    GetCursorPos(&cursor);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    const POINT at = PlaceGrabPopup(cursor, desktop, &state->grabFlip);
    MoveWindow(state->grabPopup, at.x, at.y, GRAB_POPUP_SIZE, GRAB_POPUP_SIZE, TRUE);
    // Also when the popup did not move: the screen under the cursor may have.
    InvalidateRect(state->grabPopup, nullptr, FALSE);
}

void PickGrabbedColor(AppState* state, LPARAM clientPoint)
{
    DestroyGrabPopup(state);
    HDC screen = GetDC(nullptr);
    if (!screen) {
        // A message box cannot be clicked while the dialog keeps the mouse.
        ReleaseCapture();
        ShowWarningMessage(state->instance, state->dialog, IDS_SCREEN_DC_ERROR);
        return;
    }
    POINT at = {GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
    ClientToScreen(state->dialog, &at);
    const COLORREF pixel = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    // A point off every screen has no colour to take.
    if (pixel == CLR_INVALID)
        return;
    state->currentColor.SetColorRef(pixel);
    SendMessageA(state->dialog, SELECTOR_REDRAW, RB_ALL, 0);
}

void CancelGrab(AppState* state)
{
    DestroyGrabPopup(state);
    ReleaseCapture();
}

void EndGrab(AppState* state)
{
    // Also when the system took the capture away: a popup left standing would freeze there.
    DestroyGrabPopup(state);
    if (!state->options.Test(AlwaysOnTop))
        SetWindowTopmost(state->dialog, false);
}

void ReleaseGrabber(AppState* state)
{
    DestroyGrabPopup(state);
    UnregisterGrabberClass(state->instance);
}
