// The main dialog's side of a screen grab, from the press on the grab icon to the end of the
// capture.
#include "grabber/grabber.h"

#include <windowsx.h>

#include "core/messages.h"
#include "core/redraw.h"
#include "core/topmost.h"
#include "resources/resource.h"

namespace {

void DestroyGrabPopup(GrabberState* grabber)
{
    if (grabber->popup && IsWindow(grabber->popup))
        DestroyWindow(grabber->popup);
    grabber->popup = nullptr;
}

}  // namespace

bool InitGrabber(const DialogState* state, GrabberState* grabber)
{
    if (!RegisterGrabberClass(state->instance))
        return false;
    grabber->cursor =
        static_cast<HCURSOR>(LoadImageA(state->instance, MAKEINTRESOURCEA(IDC_GRAB_CURSOR), IMAGE_CURSOR,
                                        GetSystemMetrics(SM_CXCURSOR), GetSystemMetrics(SM_CYCURSOR), 0));
    return true;
}

void StartGrab(DialogState* state, GrabberState* grabber)
{
    grabber->flip = 0;
    HWND popup = CreateGrabPopup(state->dialog, state->instance);
    if (!popup) {
        ShowWarningMessage(state->instance, state->dialog, IDS_GRABBER_ERROR);
        return;
    }
    grabber->popup = popup;
    SetCapture(state->dialog);
    // No WM_SETCURSOR arrives while the capture is held, so this cursor stays until the end.
    SetCursor(grabber->cursor);
    state->captureMode = CaptureGrab;
    // The dialog, and with it its owned popup, above every window the user may drag over.
    // Without activating: the focus moving would cancel the capture just taken.
    SetWindowTopmost(state->dialog, true, SWP_NOACTIVATE);
}

void FollowGrab(GrabberState* grabber)
{
    if (!grabber->popup)
        return;
    POINT cursor;
    GetCursorPos(&cursor);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    const POINT at = PlaceGrabPopup(cursor, desktop, &grabber->flip);
    MoveWindow(grabber->popup, at.x, at.y, GRAB_POPUP_SIZE, GRAB_POPUP_SIZE, TRUE);
    // Also when the popup did not move: the screen under the cursor may have.
    InvalidateRect(grabber->popup, nullptr, FALSE);
}

void PickGrabbedColor(DialogState* state, GrabberState* grabber, LPARAM clientPoint)
{
    DestroyGrabPopup(grabber);
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
    RequestRedraw(state, RB_ALL);
}

void CancelGrab(GrabberState* grabber)
{
    DestroyGrabPopup(grabber);
    ReleaseCapture();
}

void EndGrab(const DialogState* state, GrabberState* grabber)
{
    // Also when the system took the capture away: a popup left standing would freeze there.
    DestroyGrabPopup(grabber);
    if (!state->options.Test(AlwaysOnTop))
        SetWindowTopmost(state->dialog, false);
}

void ReleaseGrabber(const DialogState* state, GrabberState* grabber)
{
    DestroyGrabPopup(grabber);
    if (grabber->cursor)
        DestroyCursor(grabber->cursor);
    grabber->cursor = nullptr;
    UnregisterGrabberClass(state->instance);
}
