#include "flatcolor/flat_color.h"

namespace {

FlatColorState* GetState(HWND window)
{
    return reinterpret_cast<FlatColorState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA* create)
{
    auto* state = static_cast<FlatColorState*>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(FlatColorState)));
    if (!state)
        return -1;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    state->instance = create->hInstance;
    state->brush = GetSysColorBrush(COLOR_WINDOW);
    state->displayBits = LOWORD(create->style);
    return 0;
}

void OnDestroy(HWND window, FlatColorState* state)
{
    if (!state)
        return;
    if (state->menu)
        DestroyMenu(state->menu);
    if (state->brushOwned)
        DeleteObject(state->brush);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    HeapFree(GetProcessHeap(), 0, state);
}

void OnPaint(HWND window, FlatColorState* state)
{
    if (!GetUpdateRect(window, nullptr, FALSE))
        return;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    FillRect(dc, &paint.rcPaint, state->brush);
    EndPaint(window, &paint);
}

void OnSetColor(HWND window, FlatColorState* state, COLORREF color)
{
    // Re-sending the shown colour must cost nothing: every redraw of the dialog sends it.
    if (state->brushOwned && color == state->color.GetColorRef())
        return;
    if (state->brushOwned)
        DeleteObject(state->brush);
    else
        state->brushOwned = TRUE;
    state->color.SetColorRef(color);
    state->brush = CreateSolidBrush(color);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

void Notify(HWND window, WORD code)
{
    SendMessageA(GetParent(window), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(window), code), reinterpret_cast<LPARAM>(window));
}

LRESULT CALLBACK FlatColorProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    FlatColorState* state = GetState(window);
    if (message == WM_CREATE)
        return OnCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lparam));
    if (!state)
        return DefWindowProcA(window, message, wparam, lparam);

    switch (message) {
    case WM_DESTROY:
        OnDestroy(window, state);
        return 0;
    case WM_PAINT:
        OnPaint(window, state);
        return 0;
    case WM_ERASEBKGND:
        return 0;   // the paint fills everything
    case WM_LBUTTONDOWN:
        Notify(window, FCN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        Notify(window, FCN_DBLCLK);
        return 0;
    case FCM_SETCOLOR:
        OnSetColor(window, state, static_cast<COLORREF>(wparam));
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

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
    return RegisterClassExA(&wc) != 0;
}
