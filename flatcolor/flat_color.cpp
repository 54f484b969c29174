#include "flatcolor/flat_color.h"

#include <windowsx.h>

#include <cstring>

#include "color/color_text.h"
#include "color/hex_text.h"
#include "core/accessible.h"
#include "core/clipboard.h"
#include "core/handles.h"
#include "resources/resource.h"

namespace {

FlatColorState* GetState(HWND window)
{
    return reinterpret_cast<FlatColorState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

bool InsertMenuText(FlatColorState* state, UINT id, const char* text, int position, UINT itemState = 0)
{
    MENUITEMINFOA item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_ID | MIIM_STATE | MIIM_TYPE;
    item.fType = MFT_STRING;
    item.fState = id == IDM_COPY ? MFS_DEFAULT : itemState;
    item.wID = id;
    item.dwTypeData = const_cast<char*>(text);
    return InsertMenuItemA(state->menu, static_cast<UINT>(position), TRUE, &item) != FALSE;
}

bool AppendMenuText(FlatColorState* state, UINT id, UINT itemState = 0)
{
    char text[1000];
    if (!LoadStringA(state->instance, id, text, sizeof(text)))
        text[0] = '\0';
    return InsertMenuText(state, id, text, GetMenuItemCount(state->menu), itemState);
}

// The user's formats, as they are now, after the built-in ones: the list may have changed on
// the settings sheet since the menu last opened.
void UpdateCustomItems(FlatColorState* state)
{
    for (UINT id = IDM_COPY_CUSTOM_FIRST; id <= IDM_COPY_CUSTOM_LAST; ++id)
        DeleteMenu(state->menu, id, MF_BYCOMMAND);
    if (!state->formats)
        return;
    int position = 0;
    const int count = GetMenuItemCount(state->menu);
    while (position < count && GetMenuItemID(state->menu, position) != IDM_COPY_INTEGER)
        ++position;
    for (uint32_t i = 0; i < state->formats->count && i <= IDM_COPY_CUSTOM_LAST - IDM_COPY_CUSTOM_FIRST;
         ++i) {
        // The name as typed: a '&' in it is no underline.
        char text[2 * CUSTOM_FORMAT_NAME_SIZE], *to = text;
        for (const char* from = state->formats->items[i].name; *from; ++from) {
            if (*from == '&')
                *to++ = '&';
            *to++ = *from;
        }
        *to = '\0';
        InsertMenuText(state, IDM_COPY_CUSTOM_FIRST + i, text, ++position);
    }
}

bool AppendMenuSeparator(FlatColorState* state)
{
    MENUITEMINFOA item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_TYPE;
    item.fType = MFT_SEPARATOR;
    return InsertMenuItemA(state->menu, GetMenuItemCount(state->menu), TRUE, &item) != FALSE;
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA* create)
{
    auto* state = NewWindowRecord<FlatColorState>();
    if (!state)
        return -1;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    state->instance = create->hInstance;
    state->displayBits = LOWORD(create->style);
    state->menu.Reset(CreatePopupMenu());
    if (!state->menu)
        return -1;  // WM_DESTROY frees the record
    AppendMenuText(state, IDM_COPY);
    AppendMenuText(state, IDM_COPY_WITH_PREFIX);
    AppendMenuText(state, IDM_COPY_WITHOUT_PREFIX);
    AppendMenuSeparator(state);
    AppendMenuText(state, IDM_COPY_CSS_RGB);
    AppendMenuText(state, IDM_COPY_CSS_HSL);
    AppendMenuText(state, IDM_COPY_WIN32_RGB);
    AppendMenuText(state, IDM_COPY_COLORREF);
    for (UINT id = IDM_COPY_OKLCH; id <= IDM_COPY_INTEGER; ++id)
        AppendMenuText(state, id);
    AppendMenuSeparator(state);
    AppendMenuText(state, IDM_PASTE);
    return 0;
}

void OnDestroy(HWND window, FlatColorState* state)
{
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DeleteWindowRecord(state);
}

// The window's font at the largest size whose text fits the control with a margin around it:
// the height first, then narrowed for a text too wide.
HFONT FitSampleFont(HWND window, HDC dc, FlatColorState* state, const char* text, int length)
{
    if (state->sampleFont)
        return state->sampleFont.Get();
    LOGFONTA font = {};
    if (!GetObjectA(state->font ? state->font : GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font))
        return state->font;
    RECT client;
    GetClientRect(window, &client);
    const int margin = client.bottom / 8 + 1;
    const int width = client.right - 2 * margin, height = client.bottom - 2 * margin;
    if (width <= 0 || height <= 0)
        return state->font;
    font.lfHeight = height;  // positive: the cell height, accents included
    font.lfWidth = 0;
    state->sampleFont.Reset(CreateFontIndirectA(&font));
    SIZE extent = {};
    if (state->sampleFont) {
        SelectedInto chosen(dc, state->sampleFont.Get());
        GetTextExtentPoint32A(dc, text, length, &extent);
    }
    if (extent.cx > width) {
        font.lfHeight = MulDiv(height, width, extent.cx);
        state->sampleFont.Reset(CreateFontIndirectA(&font));
    }
    return state->sampleFont ? state->sampleFont.Get() : state->font;
}

bool HasFocusCue(HWND window)
{
    return GetFocus() == window && !(SendMessageA(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

// The colour over `area`; on it, the hex digits the display bits ask for or else the window text
// in the text colour, centred in the control; the focus cue when the control has the focus.
void DrawSwatch(HWND window, HDC dc, const RECT& area, FlatColorState* state)
{
    FillRect(dc, &area, state->Brush());
    RECT client;
    GetClientRect(window, &client);
    char hex[HEX_TEXT_SIZE], text[HEX_TEXT_SIZE];
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX;
    SetBkColor(dc, state->color.GetColorRef());
    if (SelectSwatchText(state->displayBits, FormatHex(state->color, hex, true), text)) {
        SelectedInto font(dc, state->font);
        SetTextColor(dc, state->color.GetContrastTextColor());
        DrawTextA(dc, text, -1, &client, format);
    } else if (const int length = GetWindowTextA(window, text, sizeof(text))) {
        SelectedInto font(dc, FitSampleFont(window, dc, state, text, length));
        SetTextColor(dc, state->textColor);
        DrawTextA(dc, text, length, &client, format);
    }
    if (HasFocusCue(window)) {
        const int inset = GetSystemMetrics(SM_CXEDGE);
        InflateRect(&client, -inset, -inset);
        DrawFocusRect(dc, &client);
    }
}

void OnPaint(HWND window, FlatColorState* state)
{
    if (!GetUpdateRect(window, nullptr, FALSE))
        return;
    PaintDC dc(window);
    DrawSwatch(window, dc, dc.Area(), state);
}

// Repainted at once, straight into the window: under Wine an invalidation and the paint it
// brings are half a dozen requests to the server (update regions, the caret), a window DC one.
void RepaintNow(HWND window, FlatColorState* state)
{
    if (IsWindowVisible(window)) {
        if (WindowDC dc{window}) {
            RECT client;
            GetClientRect(window, &client);
            DrawSwatch(window, dc, client, state);
            return;
        }
    }
    InvalidateRect(window, nullptr, FALSE);
}

void OnSetColor(HWND window, FlatColorState* state, COLORREF color)
{
    // Re-sending the shown colour must cost nothing: every redraw of the dialog sends it.
    if (state->ownBrush && color == state->color.GetColorRef())
        return;
    const bool changed = color != state->color.GetColorRef();
    state->color.SetColorRef(color);
    if (changed)
        NotifyAccessibleEvent(EVENT_OBJECT_VALUECHANGE, window);
    state->ownBrush.Reset(CreateSolidBrush(color));
    RepaintNow(window, state);
}

void OnSetTextColor(HWND window, FlatColorState* state, COLORREF color)
{
    if (color == state->textColor)
        return;
    state->textColor = color;
    if (GetWindowTextLengthA(window) > 0)
        RepaintNow(window, state);
}

BOOL OnAddMenuItem(FlatColorState* state, UINT id, UINT itemState)
{
    return id ? AppendMenuText(state, id, itemState) : AppendMenuSeparator(state);
}

bool IsCopyCommand(WPARAM id)
{
    return (id >= IDM_COPY && id <= IDM_COPY_COLORREF) || (id >= IDM_COPY_OKLCH && id <= IDM_COPY_INTEGER) ||
           (id >= IDM_COPY_CUSTOM_FIRST && id <= IDM_COPY_CUSTOM_LAST);
}

void OnCopyCommand(HWND window, FlatColorState* state, UINT id)
{
    // A format the list no longer has: the menu that offered it is out of date.
    if (id >= IDM_COPY_CUSTOM_FIRST && !IsCopyFormat(id, state->formats))
        return;
    char text[4 * COLOR_TEMPLATE_SIZE];
    // The menu's hex items are upper case, with the prefix as each says.
    FormatColorAs(id <= IDM_COPY_WITHOUT_PREFIX ? COPY_FORMAT_HEX : id, state->color, state->formats,
                  id == IDM_COPY_WITH_PREFIX, true, text, sizeof(text));
    // A failed copy from the swatch's own menu is not worth a message box.
    CopyTextToClipboard(window, text);
}

void OnContextMenu(HWND window, FlatColorState* state, LPARAM position)
{
    POINT at = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    // From the keyboard (or a screen reader) there is no mouse position, and the pointer may be
    // anywhere: the menu opens on the swatch it belongs to, where a right click would. Both
    // halves are -1; on x64 the whole lparam is not.
    if (at.x == -1 && at.y == -1) {
        RECT client;
        GetClientRect(window, &client);
        at = {client.right / 2, client.bottom / 2};
        ClientToScreen(window, &at);
    }
    UpdateCustomItems(state);
    TrackPopupMenu(state->menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window,
                   nullptr);
}

// For readers: the name is the control's tip, the string with its id; the value its six digits.
bool DescribeSwatch(HWND window, char* name, char* value)
{
    const FlatColorState* state = GetState(window);
    if (!state)
        return false;
    if (!LoadStringA(state->instance, GetDlgCtrlID(window), name, ACCESSIBLE_TEXT_SIZE))
        name[0] = '\0';
    static_assert(static_cast<int>(ACCESSIBLE_TEXT_SIZE) >= static_cast<int>(HEX_TEXT_SIZE),
                  "the digits fit");
    FormatHex(state->color, value, true);
    return true;
}

void Notify(HWND window, WORD code)
{
    SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), code),
                 reinterpret_cast<LPARAM>(window));
}

LRESULT CALLBACK FlatColorProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_CREATE)
        return OnCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lparam));
    FlatColorState* state = GetState(window);
    if (!state)
        return DefWindowProcA(window, message, wparam, lparam);

    switch (message) {
    case WM_DESTROY:
        OnDestroy(window, state);
        return 0;
    case WM_STYLECHANGED:
        if (wparam == static_cast<WPARAM>(GWL_STYLE))
            state->displayBits = LOWORD(reinterpret_cast<const STYLESTRUCT*>(lparam)->styleNew);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_PAINT:
        OnPaint(window, state);
        return 0;
    case WM_ERASEBKGND:
        return 0;  // the paint fills everything
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wparam);
        state->sampleFont.Reset();
        if (lparam)
            InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        // A swatch the keyboard can reach takes the focus as a button would.
        if (GetWindowLongA(window, GWL_STYLE) & WS_TABSTOP)
            SetFocus(window);
        Notify(window, FCN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        Notify(window, FCN_DBLCLK);
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(window, state, lparam);
        return 0;
    case WM_COMMAND:
        // Keyed by the whole wparam: only the menu's own commands (code 0) copy.
        if (IsCopyCommand(wparam)) {
            OnCopyCommand(window, state, static_cast<UINT>(wparam));
            return 0;
        }
        // The colour is the dialog's, not the swatch's: its parent sets it.
        if (wparam == IDM_PASTE) {
            Notify(window, FCN_PASTE);
            return 0;
        }
        // An item the parent added is the parent's to carry out.
        if (wparam >= IDM_COPY && wparam <= 0xFFFF &&
            GetMenuState(state->menu, static_cast<UINT>(wparam), MF_BYCOMMAND) != static_cast<UINT>(-1)) {
            Notify(window, static_cast<WORD>(wparam));
            return 0;
        }
        break;
    case FCM_SETCOLOR:
        OnSetColor(window, state, static_cast<COLORREF>(wparam));
        return 0;
    case FCM_SETTEXTCOLOR:
        OnSetTextColor(window, state, static_cast<COLORREF>(wparam));
        return 0;
    case FCM_ADDMENUITEM:
        return OnAddMenuItem(state, static_cast<UINT>(wparam), static_cast<UINT>(lparam));
    case FCM_GETCOLOR:
        return state->color.GetColorRef();
    case WM_SETTEXT:
    case WM_SIZE: {
        // The sample's size follows the text and the control's.
        const LRESULT result = DefWindowProcA(window, message, wparam, lparam);
        state->sampleFont.Reset();
        InvalidateRect(window, nullptr, FALSE);
        return result;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_UPDATEUISTATE: {
        const LRESULT result = DefWindowProcA(window, message, wparam, lparam);
        InvalidateRect(window, nullptr, FALSE);
        return result;
    }
    case FCM_SETFORMATS:
        state->formats = reinterpret_cast<const CustomFormats*>(lparam);
        return 0;
    case WM_GETOBJECT:
        if (const LRESULT object = AnswerGetObject(window, wparam, lparam, 0, DescribeSwatch))
            return object;
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

bool SelectSwatchText(WORD displayBits, const char* hex, char* text)
{
    // Tested in this order, each set bit replacing the choice before it.
    int start = -1, count = 0;
    if (displayBits & FCS_RED) {
        start = 0;
        count = 2;
    }
    if (displayBits & FCS_GREEN) {
        start = 2;
        count = 2;
    }
    if (displayBits & FCS_BLUE) {
        start = 4;
        count = 2;
    }
    if (displayBits & FCS_HEX) {
        start = 0;
        count = 6;
    }
    if (start < 0)
        return false;
    memcpy(text, hex + start, count);
    text[count] = '\0';
    return true;
}

bool RegisterFlatColorClass(HINSTANCE instance)
{
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(instance, FLATCOLOR_CLASS_NAME, &existing))
        return true;

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_PARENTDC | CS_DBLCLKS;
    wc.lpfnWndProc = FlatColorProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = FLATCOLOR_CLASS_NAME;
    return RegisterClassExA(&wc) != FALSE;
}
