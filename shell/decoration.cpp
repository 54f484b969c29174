#include "shell/decoration.h"

#include <commctrl.h>

#include <cstddef>

namespace {

// The record up to and with lParam (left zero): 44 bytes, taken by every tool-tip control since
// the one of Internet Explorer 3. Later fields would make older controls refuse the tool.
const UINT kToolInfoSize = 44;
static_assert(offsetof(TOOLINFOA, lParam) + sizeof(LPARAM) == kToolInfoSize, "TOOLINFO up to lParam");

bool HasString(HINSTANCE instance, int id)
{
    // Two characters are enough to tell an empty or missing string from a real one.
    char probe[2];
    return LoadStringA(instance, id, probe, sizeof(probe)) > 0;
}

}  // namespace

HWND CreateToolTipWindow(HWND dialog, HINSTANCE instance)
{
    return CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           0, 0, 0, 0, dialog, nullptr, instance, nullptr);
}

BOOL CALLBACK AddChildToolTip(HWND child, LPARAM lparam)
{
    const auto* setup = reinterpret_cast<const ToolTipSetup*>(lparam);
    const int id = GetDlgCtrlID(child);
    if (!HasString(setup->instance, id))
        return TRUE;

    TOOLINFOA tool = {};
    tool.cbSize = kToolInfoSize;
    // The control watches the child's mouse itself and loads the text when it shows the tip.
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = setup->dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(child);
    tool.hinst = setup->instance;
    tool.lpszText = MAKEINTRESOURCEA(id);
    SendMessageA(setup->toolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    return TRUE;
}

BOOL CALLBACK SetChildIcon(HWND child, LPARAM lparam)
{
    auto* setup = reinterpret_cast<IconSetup*>(lparam);
    DecorationIcons* owned = setup->icons;
    const int id = GetDlgCtrlID(child);
    const uint32_t room = sizeof(owned->icons) / sizeof(owned->icons[0]);
    if (owned->count >= room)
        return TRUE;
    auto icon = static_cast<HICON>(
        LoadImageA(setup->instance, MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    if (!icon)
        return TRUE;

    char name[101] = "";
    GetClassNameA(child, name, sizeof(name));
    CharLowerA(name);
    if (lstrcmpA(name, "button") == 0) {
        SendMessageA(child, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    } else if (lstrcmpA(name, "static") == 0) {
        SendMessageA(child, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    } else {
        DestroyIcon(icon);  // nobody would own it
        return TRUE;
    }
    owned->controls[owned->count] = child;
    owned->icons[owned->count] = icon;
    ++owned->count;
    return TRUE;
}

void ReleaseDecorationIcons(DecorationIcons* icons)
{
    for (uint32_t i = 0; i < icons->count; ++i) {
        HWND control = icons->controls[i];
        // Only where the control still shows it: a control may have been given another since.
        if (IsWindow(control)) {
            if (reinterpret_cast<HICON>(SendMessageA(control, BM_GETIMAGE, IMAGE_ICON, 0)) == icons->icons[i])
                SendMessageA(control, BM_SETIMAGE, IMAGE_ICON, 0);
            else if (reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0)) == icons->icons[i])
                SendMessageA(control, STM_SETICON, 0, 0);
        }
        DestroyIcon(icons->icons[i]);
    }
    icons->count = 0;
}
