// The magnifier popup: the screen around the hot spot, six times enlarged at 96 DPI, with a red
// cross-hair on the hot spot's pixel (and a frame round a larger sample), and the colour a pick
// would take with its hex value in a band below.
#include "color/color_value.h"
#include "color/hex_text.h"
#include "core/handles.h"
#include "grabber/grabber.h"

namespace {

const COLORREF kCrossHairColor = RGB(255, 0, 0);

int Width(const RECT& r)
{
    return r.right - r.left;
}
int Height(const RECT& r)
{
    return r.bottom - r.top;
}

// Solid fill without a brush: the opaque background of an empty text line. Every cell of every
// paint would otherwise cost a brush of its own.
void FillSolid(HDC dc, const RECT& r, COLORREF color)
{
    SetBkColor(dc, color);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

COLORREF ToColorRef(uint32_t rgb)
{
    return RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
}

// The screen around the hot spot, read in one block. Beyond the edges of all monitors together
// there is nothing to read, and where the read fails there is nothing either; such cells show the
// plain button face rather than whatever the buffer held. A pixel past the edge of the monitor
// under the cursor comes from the monitor beside it.
void DrawCells(HDC dc, const MagnifierLayout& m, const RECT& screens, const RECT& block,
               const uint32_t* pixels)
{
    const COLORREF outside = GetSysColor(COLOR_3DFACE);
    const LONG width = block.right - block.left;
    for (int32_t column = 0; column < m.columns; ++column) {
        for (int32_t row = 0; row < m.rows; ++row) {
            const POINT at = {block.left + column, block.top + row};
            const bool shown = pixels && PtInRect(&screens, at);
            FillSolid(dc, MagnifierCell(m, column, row),
                      shown ? ToColorRef(pixels[row * width + column]) : outside);
        }
    }
}

void DrawCrossHair(HDC dc, const MagnifierLayout& m)
{
    const RECT vertical = {m.crossHair.x, m.area.top, m.crossHair.x + 1, m.area.bottom};
    const RECT horizontal = {m.area.left, m.crossHair.y, m.area.right, m.crossHair.y + 1};
    FillSolid(dc, vertical, kCrossHairColor);
    FillSolid(dc, horizontal, kCrossHairColor);
}

// The outline of the cells a larger sample averages, in the cross-hair's colour.
void DrawSampleFrame(HDC dc, const MagnifierLayout& m, uint32_t size)
{
    const int32_t half = static_cast<int32_t>(size / 2);
    const RECT first = MagnifierCell(m, m.centreColumn - half, m.centreRow - half);
    const RECT last = MagnifierCell(m, m.centreColumn + half, m.centreRow + half);
    const RECT frame = {first.left, first.top, last.right, last.bottom};
    const RECT sides[] = {{frame.left, frame.top, frame.right, frame.top + 1},
                          {frame.left, frame.bottom - 1, frame.right, frame.bottom},
                          {frame.left, frame.top, frame.left + 1, frame.bottom},
                          {frame.right - 1, frame.top, frame.right, frame.bottom}};
    for (const RECT& side : sides)
        FillSolid(dc, side, kCrossHairColor);
}

// The colour a pick would take, with its hex value, always upper case whatever the option for
// the value field says: it is a reading, not text for the user to copy. The button face where
// there is none.
void DrawBand(HDC dc, const MagnifierLayout& m, bool sampled, uint32_t rgb)
{
    if (!sampled) {
        FillSolid(dc, m.band, GetSysColor(COLOR_3DFACE));
        return;
    }
    ColorValue color;
    color.Reset();
    color.SetRgb(rgb);
    FillSolid(dc, m.band, color.GetColorRef());

    char text[HEX_TEXT_SIZE];
    FormatHex(color, text, true);
    SetBkColor(dc, color.GetColorRef());
    SetTextColor(dc, color.GetContrastTextColor());
    SelectedInto font(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT r = m.band;
    DrawTextA(dc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void DrawMagnifier(HDC dc, const RECT& client, GrabberState* grabber)
{
    const MagnifierLayout m = LayoutMagnifier(client, grabber->sizes);
    const POINT cursor = grabber->hotSpot;
    const RECT& screens = grabber->screens.all;
    const RECT block = {cursor.x - m.centreColumn, cursor.y - m.centreRow,
                        cursor.x - m.centreColumn + m.columns, cursor.y - m.centreRow + m.rows};
    HeapBlock<uint32_t> pixels;
    const bool read = pixels.Allocate(static_cast<size_t>(m.columns) * m.rows) &&
                      ReadGrabPixels(grabber, block, pixels.Data());
    DrawCells(dc, m, screens, block, read ? pixels.Data() : nullptr);
    DrawCrossHair(dc, m);
    const uint32_t size = ValidSampleSize(grabber->sampleSize);
    if (size > 1)
        DrawSampleFrame(dc, m, size);
    FillRect(dc, &m.separator, GetSysColorBrush(COLOR_3DDKSHADOW));
    uint32_t rgb = 0;
    const bool sampled = read && SampleOf(grabber, cursor, block, pixels.Data(), &rgb);
    DrawBand(dc, m, sampled, rgb);
}

// Drawn off-screen and copied in one go: the popup repaints on every mouse move and would
// otherwise flash its cells one by one.
void PaintMagnifier(HWND popup, GrabberState* grabber)
{
    PaintDC dc(popup);
    if (!dc || !grabber)
        return;
    RECT client;
    GetClientRect(popup, &client);
    MemoryDC memory(CreateCompatibleDC(dc));
    GdiObject<HBITMAP> bitmap(memory ? CreateCompatibleBitmap(dc, Width(client), Height(client)) : nullptr);
    SelectedInto drawing(memory, bitmap);
    if (!drawing) {
        DrawMagnifier(dc, client, grabber);
        return;
    }
    DrawMagnifier(memory, client, grabber);
    BitBlt(dc, 0, 0, Width(client), Height(client), memory, 0, 0, SRCCOPY);
}

LRESULT CALLBACK GrabPopupProc(HWND popup, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_MOVE:
        // The contents depend on where the popup is; show them at once, not when idle.
        InvalidateRect(popup, nullptr, FALSE);
        UpdateWindow(popup);
        return 0;
    case WM_NCCREATE:
        SetWindowLongPtrA(
            popup, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTA*>(lparam)->lpCreateParams));
        break;
    case WM_PAINT:
        PaintMagnifier(popup, reinterpret_cast<GrabberState*>(GetWindowLongPtrA(popup, GWLP_USERDATA)));
        return 0;
    }
    return DefWindowProcA(popup, message, wparam, lparam);
}

// The screen as it was when the pick began, pixel for pixel where it was: what is seen is what a
// click takes.
LRESULT CALLBACK GrabScreenProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    auto* grabber = reinterpret_cast<GrabberState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrA(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTA*>(lparam)->lpCreateParams));
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintDC dc(window);
        if (dc && grabber && grabber->frozen.bits) {
            const RECT& r = dc.Area();
            BitBlt(dc, r.left, r.top, Width(r), Height(r), grabber->frozen.dc, r.left, r.top, SRCCOPY);
        }
        return 0;
    }
    case WM_SETCURSOR:
        if (grabber && grabber->cursor) {
            SetCursor(grabber->cursor);
            return TRUE;
        }
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

bool RegisterClassOnce(HINSTANCE instance, const char* name, WNDPROC procedure, UINT style)
{
    WNDCLASSA windowClass = {};
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    return RegisterClassA(&windowClass) != 0;
}

void UnregisterOurClass(HINSTANCE instance, const char* name, WNDPROC procedure)
{
    WNDCLASSA registered;
    if (GetClassInfoA(instance, name, &registered) && registered.lpfnWndProc == procedure)
        UnregisterClassA(name, instance);
}

}  // namespace

bool RegisterGrabberClass(HINSTANCE instance)
{
    // The popup moves with every mouse move: the system restores what it uncovers.
    if (!RegisterClassOnce(instance, GRABBER_CLASS_NAME, GrabPopupProc, CS_SAVEBITS))
        return false;
    if (RegisterClassOnce(instance, GRAB_SCREEN_CLASS_NAME, GrabScreenProc, 0))
        return true;
    UnregisterOurClass(instance, GRABBER_CLASS_NAME, GrabPopupProc);
    return false;
}

void UnregisterGrabberClass(HINSTANCE instance)
{
    UnregisterOurClass(instance, GRABBER_CLASS_NAME, GrabPopupProc);
    UnregisterOurClass(instance, GRAB_SCREEN_CLASS_NAME, GrabScreenProc);
}

HWND CreateGrabScreen(HINSTANCE instance, GrabberState* grabber)
{
    const RECT& all = grabber->screens.all;
    // No taskbar button for it, and above every window that is not topmost itself.
    return CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, GRAB_SCREEN_CLASS_NAME, GRABBER_WINDOW_NAME,
                           WS_POPUP | WS_CLIPCHILDREN, all.left, all.top, Width(all), Height(all), nullptr,
                           nullptr, instance, grabber);
}

HWND CreateGrabPopup(HWND owner, HINSTANCE instance, GrabberState* grabber)
{
    return CreateWindowExA(0, GRABBER_CLASS_NAME, GRABBER_WINDOW_NAME, WS_POPUP | WS_CLIPCHILDREN | WS_BORDER,
                           0, 0, grabber->sizes.popup, grabber->sizes.popup, owner, nullptr, instance,
                           grabber);
}

HWND CreateGrabPopupOnScreen(HWND screen, HINSTANCE instance, GrabberState* grabber)
{
    return CreateWindowExA(0, GRABBER_CLASS_NAME, GRABBER_WINDOW_NAME, WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER,
                           0, 0, grabber->sizes.popup, grabber->sizes.popup, screen, nullptr, instance,
                           grabber);
}
