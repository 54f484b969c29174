// The main dialog's side of a screen grab, from the press on the grab icon to the end of the
// capture.
#include "grabber/grabber.h"

#include <windowsx.h>

#include "core/messages.h"
#include "core/mouse_input.h"
#include "core/redraw.h"
#include "core/topmost.h"
#include "resources/resource.h"

namespace {

const int kArrowStep = 1;
const int kShiftArrowStep = 10;
const LPARAM kKeyReleased = static_cast<LPARAM>(0x80000000);

// Keys during a grab. The dialog holds the mouse capture, yet keyboard messages still go to
// the focused control, and the dialog box's loop first hands them to IsDialogMessage: the
// arrows would move the focus or check another mode button, Enter and Escape would go to the
// default and cancel buttons, other keys would edit a field. A keyboard hook on this thread,
// set only for the grab, sees each key as the loop takes it from the queue, before any of
// that: it sends the press to the window holding the capture, as the mouse goes there, and
// drops the message. Moving the focus to the dialog for the grab would not do: IsDialogMessage
// acts on the keys all the same, and a value field losing the focus is checked, which may
// raise a message box in the middle of the grab.
//
// The hook procedure has no data of its own; there is one grab at a time.
HHOOK g_grabKeyHook;

LRESULT CALLBACK GrabKeyHook(int code, WPARAM key, LPARAM flags)
{
    // A key only looked at stays in the queue; it is taken when it is removed.
    if (code != HC_ACTION)
        return CallNextHookEx(g_grabKeyHook, code, key, flags);
    // Releases are dropped too: their presses reached no control either.
    if (!(flags & kKeyReleased))
        if (HWND capture = GetCapture())
            SendMessageA(capture, WM_KEYDOWN, key, flags);
    return 1;
}

void HookGrabKeys()
{
    if (!g_grabKeyHook)
        g_grabKeyHook = SetWindowsHookExA(WH_KEYBOARD, GrabKeyHook, nullptr, GetCurrentThreadId());
}

void UnhookGrabKeys()
{
    if (g_grabKeyHook)
        UnhookWindowsHookEx(g_grabKeyHook);
    g_grabKeyHook = nullptr;
}

void DestroyGrabPopup(GrabberState* grabber)
{
    if (grabber->popup && IsWindow(grabber->popup))
        DestroyWindow(grabber->popup);
    grabber->popup = nullptr;
}

// The still screen of a pick from anywhere; the window the pick came from gets the foreground
// back first, while this program may still hand it on, so the system picks no other.
void DestroyGrabScreen(GrabberState* grabber)
{
    if (!grabber->screen)
        return;
    if (grabber->returnTo && IsWindow(grabber->returnTo) && GetForegroundWindow() == grabber->screen)
        SetForegroundWindow(grabber->returnTo);
    if (IsWindow(grabber->screen))
        DestroyWindow(grabber->screen);
    grabber->screen = nullptr;
    grabber->returnTo = nullptr;
}

// The sample at the screen point becomes the colour; the popup goes first so it is not read.
void PickColorAt(DialogState* state, GrabberState* grabber, POINT at)
{
    DestroyGrabPopup(grabber);
    const RECT square = SampleSquare(grabber->sampleSize, at);
    uint32_t pixels[GRAB_SAMPLE_LARGEST * GRAB_SAMPLE_LARGEST] = {};
    if (!ReadGrabPixels(grabber, square, pixels)) {
        // A message box cannot be clicked while the dialog keeps the mouse.
        ReleaseCapture();
        ShowWarningMessage(state->instance, state->dialog, IDS_SCREEN_DC_ERROR);
        return;
    }
    uint32_t rgb = 0;
    if (!SampleOf(grabber, at, square, pixels, &rgb))
        return;
    state->currentColor.SetRgb(rgb);
    grabber->picked = TRUE;
    RequestRedraw(state, RB_ALL);
}

// The popup shows the new sample square and its colour at once.
void SetSampleSize(GrabberState* grabber, uint32_t size)
{
    grabber->sampleSize = size;
    if (grabber->popup) {
        InvalidateRect(grabber->popup, nullptr, FALSE);
        UpdateWindow(grabber->popup);
    }
}

void MoveGrabCursor(GrabberState* grabber, int dx, int dy)
{
    POINT cursor;
    GetCursorPos(&cursor);
    // The system keeps the cursor on the screens.
    SetCursorPos(cursor.x + dx, cursor.y + dy);
    // Where the system put it, kept on the screens; not left to the mouse move the system may
    // make of it: the popup follows at once.
    GetCursorPos(&cursor);
    FollowGrab(grabber, cursor);
}

}  // namespace

bool InitGrabber(const DialogState* state, GrabberState* grabber)
{
    if (!RegisterGrabberClass(state->instance))
        return false;
    grabber->monitors = LookUpMonitorFunctions();
    grabber->sizes = GrabSizesFor(state->dpi);
    grabber->cursor.Reset(
        static_cast<HCURSOR>(LoadImageA(state->instance, MAKEINTRESOURCEA(IDC_GRAB_CURSOR), IMAGE_CURSOR,
                                        GetSystemMetrics(SM_CXCURSOR), GetSystemMetrics(SM_CYCURSOR), 0)));
    return true;
}

void StartGrab(DialogState* state, GrabberState* grabber)
{
    grabber->flip = 0;
    grabber->anywhere = FALSE;
    grabber->picked = FALSE;
    GetCursorPos(&grabber->hotSpot);
    grabber->screens = ReadMonitorLayout(grabber->monitors);
    HWND popup = CreateGrabPopup(state->dialog, state->instance, grabber);
    if (!popup) {
        ShowWarningMessage(state->instance, state->dialog, IDS_GRABBER_ERROR);
        return;
    }
    grabber->popup = popup;
    TakeMouse(state->dialog);
    // No WM_SETCURSOR arrives while the capture is held, so this cursor stays until the end.
    SetCursor(grabber->cursor);
    state->captureMode = CaptureGrab;
    HookGrabKeys();
    // The dialog, and with it its owned popup, above every window the user may drag over.
    // Without activating: the focus moving would cancel the capture just taken.
    SetWindowTopmost(state->dialog, true, SWP_NOACTIVATE);
    // The screen as it is now, before the popup covers any of it. Without the memory for it the
    // grab reads the live screen, as a grab does without the option.
    if (state->options.Test(FreezeGrab))
        CopyScreen(&grabber->frozen, grabber->screens.all, grabber->screens.all);
    // Shown last, so that once it shows the grab is all there; without taking the activation
    // for the same reason as above.
    ShowWindow(popup, SW_SHOWNOACTIVATE);
}

void StartPickAnywhere(DialogState* state, GrabberState* grabber, HWND returnTo)
{
    // One pick at a time; and none under a message box or the settings sheet, which would be
    // left waiting behind the still screen.
    if (state->captureMode != CaptureNone || !IsWindowEnabled(state->dialog))
        return;
    grabber->flip = 0;
    grabber->anywhere = TRUE;
    grabber->picked = FALSE;
    grabber->returnTo = returnTo;
    GetCursorPos(&grabber->hotSpot);
    grabber->screens = ReadMonitorLayout(grabber->monitors);
    // What the still screen shows is what a click takes, so the copy is made whatever the
    // option for held grabs says.
    if (!CopyScreen(&grabber->frozen, grabber->screens.all, grabber->screens.all)) {
        FreeScreenPixels(&grabber->frozen);
        ShowWarningMessage(state->instance, state->dialog, IDS_SCREEN_DC_ERROR);
        return;
    }
    grabber->screen = CreateGrabScreen(state->instance, grabber);
    grabber->popup =
        grabber->screen ? CreateGrabPopupOnScreen(grabber->screen, state->instance, grabber) : nullptr;
    if (!grabber->popup) {
        DestroyGrabScreen(grabber);
        FreeScreenPixels(&grabber->frozen);
        ShowWarningMessage(state->instance, state->dialog, IDS_GRABBER_ERROR);
        return;
    }
    // The still screen takes the foreground, so the keys come to this program; then the dialog
    // takes the mouse, as in a held grab: the pointer is always over a window of its thread.
    ShowWindow(grabber->screen, SW_SHOW);
    UpdateWindow(grabber->screen);
    SetForegroundWindow(grabber->screen);
    SetCapture(state->dialog);
    SetCursor(grabber->cursor);
    state->captureMode = CaptureGrab;
    HookGrabKeys();
    FollowGrab(grabber, grabber->hotSpot);
    ShowWindow(grabber->popup, SW_SHOWNOACTIVATE);
}

void FollowGrab(GrabberState* grabber, POINT cursor)
{
    if (!grabber->popup)
        return;
    grabber->hotSpot = cursor;
    // The monitor under the cursor: a popup across the edge between two monitors would be cut
    // in two, and one past the edge of the desktop would be partly hidden.
    // From the monitors as the grab found them: asking the system is a dozen requests to Wine's
    // server on every move.
    const RECT monitor = MonitorRectIn(grabber->screens, cursor);
    const POINT at = PlaceGrabPopup(cursor, monitor, &grabber->flip, grabber->sizes);
    RECT before;
    GetWindowRect(grabber->popup, &before);
    // A child of the still screen is placed in its client area, which starts where the screens do.
    POINT place = at;
    if (GetWindowLongA(grabber->popup, GWL_STYLE) & WS_CHILD)
        ScreenToClient(GetParent(grabber->popup), &place);
    // Moved, the popup repaints at once (WM_MOVE); in place, the screen under the cursor may have
    // changed all the same. Either way it paints once, now rather than when the dialog is idle.
    MoveWindow(grabber->popup, place.x, place.y, grabber->sizes.popup, grabber->sizes.popup, TRUE);
    if (before.left == at.x && before.top == at.y) {
        InvalidateRect(grabber->popup, nullptr, FALSE);
        UpdateWindow(grabber->popup);
    }
}

void PickGrabbedColor(DialogState* state, GrabberState* grabber, LPARAM clientPoint)
{
    POINT at = {GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
    ClientToScreen(state->dialog, &at);
    PickColorAt(state, grabber, at);
}

void GrabKey(DialogState* state, GrabberState* grabber, WPARAM key)
{
    const int step = GetKeyState(VK_SHIFT) < 0 ? kShiftArrowStep : kArrowStep;
    switch (key) {
    case VK_LEFT:
        MoveGrabCursor(grabber, -step, 0);
        break;
    case VK_RIGHT:
        MoveGrabCursor(grabber, step, 0);
        break;
    case VK_UP:
        MoveGrabCursor(grabber, 0, -step);
        break;
    case VK_DOWN:
        MoveGrabCursor(grabber, 0, step);
        break;
    case VK_RETURN: {
        // As a release there: the hot spot is where the cursor is.
        POINT cursor;
        GetCursorPos(&cursor);
        PickColorAt(state, grabber, cursor);
        ReleaseCapture();
        break;
    }
    case VK_ESCAPE:
        CancelGrab(grabber);
        break;
    case '1':
    case VK_NUMPAD1:
        SetSampleSize(grabber, 1);
        break;
    case '3':
    case VK_NUMPAD3:
        SetSampleSize(grabber, 3);
        break;
    case '5':
    case VK_NUMPAD5:
        SetSampleSize(grabber, 5);
        break;
    }
}

void CancelGrab(GrabberState* grabber)
{
    DestroyGrabPopup(grabber);
    ReleaseCapture();
}

GrabOutcome EndGrab(const DialogState* state, GrabberState* grabber)
{
    const GrabOutcome outcome = {grabber->anywhere != FALSE, grabber->picked != FALSE};
    // Also when the system took the capture away: a popup left standing would freeze there, and
    // the keyboard would stay taken.
    UnhookGrabKeys();
    DestroyGrabPopup(grabber);
    DestroyGrabScreen(grabber);
    FreeScreenPixels(&grabber->frozen);
    FreeScreenPixels(&grabber->block);
    // A pick from anywhere left the window's place in the z-order alone.
    if (!grabber->anywhere && !state->options.Test(AlwaysOnTop))
        SetWindowTopmost(state->dialog, false);
    grabber->anywhere = FALSE;
    grabber->picked = FALSE;
    return outcome;
}

void ReleaseGrabber(const DialogState* state, GrabberState* grabber)
{
    UnhookGrabKeys();
    DestroyGrabPopup(grabber);
    DestroyGrabScreen(grabber);
    FreeScreenPixels(&grabber->frozen);
    FreeScreenPixels(&grabber->block);
    grabber->cursor.Reset();
    UnregisterGrabberClass(state->instance);
}
