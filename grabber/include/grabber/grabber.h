// The screen grab: a press on the grab icon, a drag anywhere with the magnifier popup following
// the cursor, and the pick of the pixel under the hot spot at the release.
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/dialog_state.h"
#include "core/handles.h"
#include "core/monitors.h"

#define GRABBER_CLASS_NAME "Ostrel ColorGrabber"
#define GRABBER_WINDOW_NAME "Color Grabber"
// The still picture of every screen a pick from anywhere is made on.
#define GRAB_SCREEN_CLASS_NAME "Ostrel ColorGrabber Screen"

// Bits of GrabberState::flip: which side of the cursor the popup sits on.
enum GrabFlipBits : uint32_t {
    GF_LEFT = 0x1,
    GF_ABOVE = 0x2,
};

enum {
    GRAB_SAMPLE_LARGEST = 5,  // the largest sample square's side
    // The popup at 96 DPI:
    GRAB_POPUP_SIZE = 100,  // outer width and height
    GRAB_POPUP_GAP = 10,    // between the hot spot and the near edge of the popup
    MAGNIFIER_CELL = 6,     // screen pixel -> 6 x 6 cell
    MAGNIFIER_BAND = 14,    // the info band's height, below a 1-pixel separator
};

// ---- geometry, plain data ----------------------------------------------------------------

// The popup's sizes in pixels. On a screen of more DPI all of them grow alike, so the magnifier
// shows the same screen pixels, each as a larger cell, with its text at the screen's size; the
// cross-hair and the separator stay one-pixel lines.
struct GrabSizes {
    LONG popup;
    LONG gap;
    LONG cell;
    LONG band;
};
constexpr GrabSizes kGrabSizes96 = {GRAB_POPUP_SIZE, GRAB_POPUP_GAP, MAGNIFIER_CELL, MAGNIFIER_BAND};
GrabSizes GrabSizesFor(int dpi);

// The popup's top-left corner for the cursor on the monitor under it. Updates *flip: the popup
// turns to the other side only when it would leave the monitor, and turns back only when the
// turned popup would leave it on the opposite edge.
POINT PlaceGrabPopup(POINT cursor, const RECT& monitor, uint32_t* flip,
                     const GrabSizes& sizes = kGrabSizes96);

// Regions of the popup's client area: the magnified area, the separator line, the info band,
// and the cell that shows the pixel under the hot spot.
struct MagnifierLayout {
    RECT area;
    RECT separator;
    RECT band;
    int32_t cell;  // a cell's side
    int32_t centreColumn;
    int32_t centreRow;
    int32_t columns;  // cells across the area, the last one cut off where it does not fit
    int32_t rows;
    POINT crossHair;  // where the red lines run: the middle of the centre cell
};
MagnifierLayout LayoutMagnifier(const RECT& client, const GrabSizes& sizes = kGrabSizes96);

// The cell (column, row) in client coordinates, cut off at the edges of the magnified area.
RECT MagnifierCell(const MagnifierLayout& layout, int32_t column, int32_t row);
// The screen pixel shown by the cell (column, row) while the hot spot is at cursor.
POINT MagnifierSource(const MagnifierLayout& layout, POINT cursor, int32_t column, int32_t row);

// ---- the popup window --------------------------------------------------------------------

// The popup's and the still screen's classes, registered while the main dialog initialises;
// false ends the dialog.
bool RegisterGrabberClass(HINSTANCE instance);
// At the dialog's end; leaves a class of the same name alone unless it is ours.
void UnregisterGrabberClass(HINSTANCE instance);

// ---- sampling, plain data ----------------------------------------------------------------

// The side of the square of pixels a pick averages, as the keys 1, 3 and 5 choose it; anything
// else (a damaged stored value) is 1.
uint32_t ValidSampleSize(uint32_t size);

// The mean, per channel, of the 0x00RRGGBB pixels whose `counted` entry holds, each channel
// rounded half up; false when none is counted.
bool MeanOfPixels(const uint32_t* pixels, const bool* counted, size_t count, uint32_t* mean);

// ---- the screen the grab reads -------------------------------------------------------------

// Screen pixels copied at once into a top-down 32-bit DIB section: a block per magnifier paint,
// or the whole screen for a frozen grab.
struct ScreenPixels {
    MemoryDC dc;
    GdiObject<HBITMAP> bitmap;  // selected into dc for its whole life
    uint32_t* bits;             // 0x00RRGGBB, row by row
    RECT area;                  // the screen rectangle the bits stand for
};

// `copy` holds the pixels of `area` as the screen shows them now; those outside `screens` (all
// monitors together) are left as they were. Its DIB is kept while the area's size stays. False
// when the screen cannot be read.
bool CopyScreen(ScreenPixels* copy, const RECT& area, const RECT& screens);
void FreeScreenPixels(ScreenPixels* copy);

// ---- the dialog's side, while CaptureGrab holds the capture ------------------------------

// What the grab keeps between messages; part of the dialog's zero-filled state.
struct GrabberState {
    HWND popup;           // while a grab runs
    OwnedCursor cursor;   // the eyedropper shown during a grab; none makes the grab look plainer
    uint32_t flip;        // GrabFlipBits
    uint32_t sampleSize;  // 1, 3 or 5: the square a pick averages
    GrabSizes sizes;      // the popup's, at the screen's DPI
    POINT hotSpot;        // where the popup was last placed for, and the magnifier reads around
    MonitorFunctions monitors;
    MonitorLayout screens;  // as they were when the grab started
    ScreenPixels frozen;    // the screen as it was at the start, while a frozen grab runs
    ScreenPixels block;     // where the live screen is read, kept for the grab
    // A pick from anywhere: the still screen over every monitor, the window to give the
    // foreground back to, and whether a colour was taken.
    HWND screen;
    HWND returnTo;
    BYTE anywhere;
    BYTE picked;
};

// Made hidden, at the screen's top-left corner until the first move places it; the grab shows it
// once it is set up. It reads the screen through the grab's state.
HWND CreateGrabPopup(HWND owner, HINSTANCE instance, GrabberState* grabber);
// Made hidden over all of grabber->screens, showing grabber->frozen.
HWND CreateGrabScreen(HINSTANCE instance, GrabberState* grabber);
// The popup as a child of the still screen. No button holds the pointer during a pick from
// anywhere, so it goes to whichever window lies under it; a window of its own that follows the
// pointer would be stepped into on a fast move, and Wine reads such a step against where the
// window has just moved to, sending the pointer back.
HWND CreateGrabPopupOnScreen(HWND screen, HINSTANCE instance, GrabberState* grabber);

// The pixels of `area` (row by row, 0x00RRGGBB) as the grab sees them: from the frozen screen
// when there is one, from the screen itself otherwise. Pixels outside every screen are left as
// they were; false when the screen cannot be read.
bool ReadGrabPixels(GrabberState* grabber, const RECT& area, uint32_t* pixels);

// The square of pixels a pick at `at` averages: 1, 3 or 5 pixels a side, centred on it.
RECT SampleSquare(uint32_t sampleSize, POINT at);
// The colour a pick at `at` takes, from the pixels of `area` (which holds the square): the pixel
// there, or the mean of the sample square over its pixels on a monitor. False when there is none
// to take.
bool SampleOf(const GrabberState* grabber, POINT at, const RECT& area, const uint32_t* pixels, uint32_t* rgb);

// While the main dialog initialises: the popup's class (false ends the dialog) and the cursor.
bool InitGrabber(const DialogState* state, GrabberState* grabber);
// STN_CLICKED from the grab icon: popup, capture, cursor, topmost.
void StartGrab(DialogState* state, GrabberState* grabber);
// A pick from anywhere, whatever the window is doing: the screen as it is now, shown still over
// every monitor, the magnifier following the pointer with no button held; a click picks, and
// `returnTo` gets the foreground back at the end. Nothing when another interaction holds the
// mouse or a modal window of the program is open.
void StartPickAnywhere(DialogState* state, GrabberState* grabber, HWND returnTo);
// WM_MOUSEMOVE to `hotSpot` (screen coordinates), or a key's move there: the popup follows.
void FollowGrab(GrabberState* grabber, POINT hotSpot);
// WM_LBUTTONUP: the pixel at the message's point (dialog client coordinates) becomes the colour.
void PickGrabbedColor(DialogState* state, GrabberState* grabber, LPARAM clientPoint);
// WM_KEYDOWN, sent to the dialog by the grab's keyboard hook: the arrows move the cursor by one
// pixel (ten with Shift), 1, 3 and 5 (top row or keypad) choose the sample size, Enter picks
// under the hot spot and ends the grab, Escape cancels. Other keys do nothing.
void GrabKey(DialogState* state, GrabberState* grabber, WPARAM key);
// WM_RBUTTONDOWN: nothing is picked.
void CancelGrab(GrabberState* grabber);
// How a grab ended.
struct GrabOutcome {
    bool anywhere;  // it was a pick from anywhere
    bool picked;    // a colour was taken
};
// WM_CAPTURECHANGED, however the capture went: no popup and no frozen screen left behind, z-order
// as the option says, the foreground back where a pick from anywhere found it.
GrabOutcome EndGrab(const DialogState* state, GrabberState* grabber);
// WM_DESTROY of the dialog: popup, cursor and class.
void ReleaseGrabber(const DialogState* state, GrabberState* grabber);
