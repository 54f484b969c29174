// The magnifier popup: the screen around the hot spot, six times enlarged, with a red cross-hair
// on the hot spot's pixel and that pixel's hex value in a band below.
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

// Beyond the edges of all monitors together there is nothing to read, and where a read fails
// (CLR_INVALID) there is nothing either; such cells show the plain button face rather than
// whatever that value would mean as a colour. A pixel past the edge of the monitor under the
// cursor is read from the monitor beside it.
COLORREF ReadCell(HDC screen, const RECT& screens, POINT at, COLORREF outside)
{
    if (!PtInRect(&screens, at))
        return outside;
    const COLORREF pixel = GetPixel(screen, at.x, at.y);
    return pixel == CLR_INVALID ? outside : pixel;
}

void DrawCells(HDC dc, HDC screen, const RECT& screens, const MagnifierLayout& m, POINT cursor)
{
    const COLORREF outside = GetSysColor(COLOR_3DFACE);
    for (int32_t column = 0; column < m.columns; ++column)
        for (int32_t row = 0; row < m.rows; ++row)
            FillSolid(dc, MagnifierCell(m, column, row),
                      ReadCell(screen, screens, MagnifierSource(m, cursor, column, row), outside));
}

void DrawCrossHair(HDC dc, const MagnifierLayout& m)
{
    const RECT vertical = {m.crossHair.x, m.area.top, m.crossHair.x + 1, m.area.bottom};
    const RECT horizontal = {m.area.left, m.crossHair.y, m.area.right, m.crossHair.y + 1};
    FillSolid(dc, vertical, kCrossHairColor);
    FillSolid(dc, horizontal, kCrossHairColor);
}

// Always upper case, whatever the option for the value field says: it is a reading, not text
// for the user to copy.
void DrawBand(HDC dc, HDC screen, const RECT& screens, const MagnifierLayout& m, POINT cursor)
{
    const COLORREF pixel = PtInRect(&screens, cursor) ? GetPixel(screen, cursor.x, cursor.y) : CLR_INVALID;
    if (pixel == CLR_INVALID) {
        FillSolid(dc, m.band, GetSysColor(COLOR_3DFACE));
        return;
    }
    ColorValue color{};
    color.SetColorRef(pixel);
    FillSolid(dc, m.band, color.GetColorRef());

    char text[HEX_TEXT_SIZE];
    FormatHex(color, text, true);
    SetBkColor(dc, color.GetColorRef());
    SetTextColor(dc, color.GetContrastTextColor());
    SelectedInto font(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT r = m.band;
    DrawTextA(dc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void DrawMagnifier(HDC dc, const RECT& client)
{
    const MagnifierLayout m = LayoutMagnifier(client);
    POINT cursor;
    GetCursorPos(&cursor);
    const RECT screens = VirtualScreenRect();
    WindowDC screen(nullptr);
    DrawCells(dc, screen, screens, m, cursor);
    DrawCrossHair(dc, m);
    FillRect(dc, &m.separator, GetSysColorBrush(COLOR_3DDKSHADOW));
    DrawBand(dc, screen, screens, m, cursor);
}

// Drawn off-screen and copied in one go: the popup repaints on every mouse move and would
// otherwise flash its cells one by one.
void PaintMagnifier(HWND popup)
{
    PaintDC dc(popup);
    if (!dc)
        return;
    RECT client;
    GetClientRect(popup, &client);
    MemoryDC memory(CreateCompatibleDC(dc));
    GdiObject<HBITMAP> bitmap(memory ? CreateCompatibleBitmap(dc, Width(client), Height(client)) : nullptr);
    SelectedInto drawing(memory, bitmap);
    if (!drawing) {
        DrawMagnifier(dc, client);
        return;
    }
    DrawMagnifier(memory, client);
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
    case WM_PAINT:
        PaintMagnifier(popup);
        return 0;
    }
    return DefWindowProcA(popup, message, wparam, lparam);
}

}  // namespace

bool RegisterGrabberClass(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    // The popup moves with every mouse move: the system restores what it uncovers.
    windowClass.style = CS_SAVEBITS;
    windowClass.lpfnWndProc = GrabPopupProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = GRABBER_CLASS_NAME;
    return RegisterClassA(&windowClass) != 0;
}

void UnregisterGrabberClass(HINSTANCE instance)
{
    WNDCLASSA registered;
    if (GetClassInfoA(instance, GRABBER_CLASS_NAME, &registered) && registered.lpfnWndProc == GrabPopupProc)
        UnregisterClassA(GRABBER_CLASS_NAME, instance);
}

HWND CreateGrabPopup(HWND owner, HINSTANCE instance)
{
    return CreateWindowExA(0, GRABBER_CLASS_NAME, GRABBER_WINDOW_NAME, WS_POPUP | WS_CLIPCHILDREN | WS_BORDER, 0,
                           0, GRAB_POPUP_SIZE, GRAB_POPUP_SIZE, owner, nullptr, instance, nullptr);
}
