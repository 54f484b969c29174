// The screen as the driver reads it: the windows on the desktop, their places and texts, and the
// pixels shown.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

class Tintora;

// Top-level windows of one process (of any, for pid 0) for which match holds, front to back.
std::vector<HWND> TopLevelWindows(DWORD pid, const std::function<bool(HWND)>& match);
// The first of them, or nullptr.
HWND FindTopLevel(DWORD pid, const std::function<bool(HWND)>& match);
// The shortcut menu the process shows, if any.
HWND ShownMenu(DWORD pid);
// Top-level windows of the process that are shown.
std::vector<HWND> VisibleTopLevelWindows(DWORD pid);
bool IsTopmost(HWND window);
// Brings the window to the foreground; false (failure recorded) when it does not get there.
bool BringToFront(HWND window);
// Whether the shell holds the program's status icon (the dialog's icon 0).
bool StatusIconPresent(HWND dialog);

RECT WindowRect(HWND window);
POINT Centre(const RECT& r);
// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
RECT ClientRect(HWND window);
std::string ClassName(HWND window);
std::string WindowText(HWND window);
// The text of another process's control (an edit field), asked with WM_GETTEXT.
std::string ControlText(HWND control);

// Pixels as 0x00RRGGBB, row by row from the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> data;
    uint32_t At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
};
Pixels CaptureScreen(const RECT& area);
// The area of the screen once two looks, each after the program has settled, see the same
// picture: what the program has finished painting there. `window` is the one whose paint is
// waited for (the dialog when none is named).
Pixels SteadyCapture(Tintora& app, const RECT& area, HWND window = nullptr);
// Each of red, green and blue of 0xRRGGBB within tolerance.
bool Near(uint32_t a, uint32_t b, int tolerance);

// An icon resource of tintora.exe itself, loaded as data; size 0 is the size it is stored in.
HICON LoadProgramIcon(int id, int size);
// The image of that width and height, where the resource holds one.
HICON LoadProgramIcon(int id, int width, int height);
// Looks for the icon, drawn at width x height, in the area of the screen. Only its opaque
// pixels count (drawn on black and on white, they agree), each channel within 16; percent of
// them must be found in place, and the picture may reach past the area's edges by overhang
// pixels. An icon with fewer than minOpaque opaque pixels is not taken for a picture at all.
bool ScreenShowsIcon(const RECT& area, HICON icon, int width, int height, int overhang, int percent,
                     size_t minOpaque);
// Looks for the icon's picture inside the control's area of the screen. The control may clip a
// pixel or two of it at its edges, so nine in ten of the icon's opaque pixels must be found in
// place; even the slim eyedropper has far more than 24 of them.
bool ControlShowsIcon(const RECT& area, HICON icon, int width, int height);

}  // namespace e2e
