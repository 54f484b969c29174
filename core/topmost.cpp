#include "core/topmost.h"

namespace {

struct OwnedTopmost {
    HWND owner;
    HWND windows[16];
    int count;
};

BOOL CALLBACK CollectOwnedTopmost(HWND window, LPARAM lparam)
{
    auto* owned = reinterpret_cast<OwnedTopmost*>(lparam);
    if (GetWindow(window, GW_OWNER) == owned->owner &&
        (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) && owned->count < 16)
        owned->windows[owned->count++] = window;
    return TRUE;
}

}  // namespace

void SetWindowTopmost(HWND window, bool topmost, UINT extraFlags)
{
    // Wine keeps a window that owns topmost popups (its tool tips) out of the topmost band;
    // letting go of them for the move works there and changes nothing elsewhere.
    OwnedTopmost owned = {window, {}, 0};
    EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), CollectOwnedTopmost,
                      reinterpret_cast<LPARAM>(&owned));
    for (int i = 0; i < owned.count; ++i)
        SetWindowLongPtrA(owned.windows[i], GWLP_HWNDPARENT, 0);
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | extraFlags);
    for (int i = 0; i < owned.count; ++i)
        SetWindowLongPtrA(owned.windows[i], GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(window));
}
