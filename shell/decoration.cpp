#include "shell/decoration.h"

#include <commctrl.h>

#include <cstddef>

#include "core/dpi.h"
#include "resources/resource.h"
#include "shell/main_dialog.h"

namespace {

// The record up to and with lParam (left zero), taken by every tool-tip control since the one of
// Internet Explorer 3. Later fields would make older controls refuse the tool.
const UINT kToolInfoSize = TTTOOLINFOA_V2_SIZE;
static_assert(offsetof(TOOLINFOA, lParam) + sizeof(LPARAM) == (sizeof(void*) == 8 ? 64 : 44),
              "TOOLINFO up to lParam: 44 bytes, 64 on x64");

bool HasString(HINSTANCE instance, int id)
{
    // Room for one character of any code page (UTF-8 takes up to four bytes) is enough to tell
    // an empty or missing string from a real one.
    char probe[8];
    return LoadStringA(instance, id, probe, sizeof(probe)) > 0;
}

bool IsMouseMessage(UINT message)
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return true;
    }
    return false;
}

// Tells the tool-tip window of the mouse over a control with a tip. The tool-tip control could
// watch the control itself (TTF_SUBCLASS), but its subclass finds its data in window properties,
// and under Wine every one of those is a request to the server, three for each message the
// control gets: in a drag that is a few dozen per step. Everything here is read in-process: the
// control's class procedure, which it had before this one, and the dialog's state.
LRESULT CALLBACK RelayToToolTip(HWND control, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (IsMouseMessage(message)) {
        const auto* state =
            reinterpret_cast<const AppState*>(GetWindowLongPtrA(GetParent(control), GWLP_USERDATA));
        if (state && state->toolTip) {
            MSG msg = {control, message, wparam, lparam, static_cast<DWORD>(GetMessageTime()), {}};
            const DWORD at = GetMessagePos();
            msg.pt = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
            SendMessageA(state->toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
        }
    }
    const auto original = reinterpret_cast<WNDPROC>(GetClassLongPtrA(control, GCLP_WNDPROC));
    return CallWindowProcA(original, control, message, wparam, lparam);
}

void AddToolTip(const DialogState* state, HWND toolTip, HWND control, int id)
{
    if (!HasString(state->instance, id))
        return;
    TOOLINFOA tool = {};
    tool.cbSize = kToolInfoSize;
    // The control loads the text when it shows the tip.
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = state->dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.hinst = state->instance;
    // The grade's tip tells which thresholds pass: the dialog writes it each time it shows.
    tool.lpszText = id == IDC_CONTRAST_GRADE ? LPSTR_TEXTCALLBACKA : MAKEINTRESOURCEA(id);
    SendMessageA(toolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void SetIcon(const DecorationSetup* setup, HWND child, int id)
{
    DecorationIcons* owned = setup->icons;
    const uint32_t room = sizeof(owned->icons) / sizeof(owned->icons[0]);
    const HINSTANCE instance = setup->state->instance;
    if (owned->count >= room)
        return;
    // At the screen's DPI: the 16-pixel pictures would look tiny on a 150 % screen.
    OwnedIcon icon(LoadIconForDpi(instance, id, setup->state->dpi));
    if (!icon)
        return;

    char name[101] = "";
    GetClassNameA(child, name, sizeof(name));
    CharLowerA(name);
    if (lstrcmpA(name, "button") == 0)
        SendMessageA(child, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.Get()));
    else if (lstrcmpA(name, "static") == 0)
        SendMessageA(child, STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()), 0);
    else
        return;  // nobody would show it
    owned->controls[owned->count] = child;
    owned->icons[owned->count] = static_cast<OwnedIcon&&>(icon);
    ++owned->count;
}

}  // namespace

BOOL CALLBACK DecorateChild(HWND child, LPARAM lparam)
{
    const auto* setup = reinterpret_cast<const DecorationSetup*>(lparam);
    // Only the dialog's own children; EnumChildWindows walks further down too.
    if (GetParent(child) != setup->state->dialog)
        return TRUE;
    const int id = GetDlgCtrlID(child);
    if (id >= kFirstControlId && id <= kLastControlId)
        setup->state->controls[id - kFirstControlId] = child;
    SetIcon(setup, child, id);
    // The relay goes in now, beneath any subclass added later (the saved list's drag list): it
    // hands every message on to the control's class procedure. Until the tip window exists it
    // only does that.
    if (HasString(setup->state->instance, id))
        SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RelayToToolTip));
    return TRUE;
}

HWND CreateToolTips(const DialogState* state)
{
    HWND toolTip =
        CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0,
                        0, 0, 0, state->dialog, nullptr, state->instance, nullptr);
    if (!toolTip)
        return nullptr;
    for (int id = kFirstControlId; id <= kLastControlId; ++id)
        if (HWND control = DialogControl(state, id))
            AddToolTip(state, toolTip, control, id);
    // A width lets a tip break its lines where its text does (the grade's lists five).
    SendMessageA(toolTip, TTM_SETMAXTIPWIDTH, 0, ScaleToDpi(400, state->dpi));
    return toolTip;
}

void ReleaseDecorationIcons(DecorationIcons* icons)
{
    for (uint32_t i = 0; i < icons->count; ++i) {
        DetachIcon(icons->controls[i], icons->icons[i]);
        icons->icons[i].Reset();
    }
    icons->count = 0;
}

void DetachIcon(HWND control, HICON icon)
{
    if (!icon || !IsWindow(control))
        return;
    if (reinterpret_cast<HICON>(SendMessageA(control, BM_GETIMAGE, IMAGE_ICON, 0)) == icon)
        SendMessageA(control, BM_SETIMAGE, IMAGE_ICON, 0);
    else if (reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0)) == icon)
        SendMessageA(control, STM_SETICON, 0, 0);
}
