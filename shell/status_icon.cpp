#include "shell/status_icon.h"

#include <shellapi.h>

#include "core/product.h"

// The first version of the record, which every shell understands.
static_assert(NOTIFYICONDATAA_V1_SIZE == (sizeof(void*) == 8 ? 104 : 88),
              "first-version NOTIFYICONDATA: 88 bytes, 104 on x64");

void AddStatusIcon(HWND dialog, HICON icon)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = dialog;
    data.uID = 0;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = STATUS_ICON_MESSAGE;
    data.hIcon = icon;
    lstrcpynA(data.szTip, PRODUCT_TITLE, 64);
    Shell_NotifyIconA(NIM_ADD, &data);
}

void RemoveStatusIcon(HWND dialog)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = dialog;
    data.uID = 0;
    Shell_NotifyIconA(NIM_DELETE, &data);
}
