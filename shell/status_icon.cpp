#include "shell/status_icon.h"

#include <shellapi.h>

#include "core/product.h"

// The first version of the record, which every shell understands.
static_assert(NOTIFYICONDATAA_V1_SIZE == (sizeof(void*) == 8 ? 104 : 88),
              "first-version NOTIFYICONDATA: 88 bytes, 104 on x64");

bool AddStatusIcon(HWND dialog, HICON icon, const char* tip)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = dialog;
    data.uID = 0;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = STATUS_ICON_MESSAGE;
    data.hIcon = icon;
    lstrcpynA(data.szTip, tip, STATUS_TIP_SIZE);
    Shell_NotifyIconA(NIM_ADD, &data);
    // The newer behaviour brings the keyboard to the icon's menu. A shell before it refuses the
    // request (and its longer record), and the icon keeps the first version's mouse messages.
    NOTIFYICONDATAA version = {};
    version.cbSize = NOTIFYICONDATAA_V2_SIZE;
    version.hWnd = dialog;
    version.uID = 0;
    version.uVersion = NOTIFYICON_VERSION;
    return Shell_NotifyIconA(NIM_SETVERSION, &version) != FALSE;
}

void SetStatusIconTip(HWND dialog, const char* tip)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = dialog;
    data.uID = 0;
    data.uFlags = NIF_TIP;
    lstrcpynA(data.szTip, tip, STATUS_TIP_SIZE);
    Shell_NotifyIconA(NIM_MODIFY, &data);
}

void ComposeStatusTip(char tip[STATUS_TIP_SIZE], bool hidden, bool hasPick, uint32_t pick, bool keyTaken)
{
    if (hidden && hasPick)
        wsprintfA(tip, PRODUCT_TITLE " - #%06X", pick & 0xFFFFFF);
    else if (keyTaken)
        lstrcpynA(tip, PRODUCT_TITLE " (pick key taken)", STATUS_TIP_SIZE);
    else
        lstrcpynA(tip, PRODUCT_TITLE, STATUS_TIP_SIZE);
}

void RemoveStatusIcon(HWND dialog)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = dialog;
    data.uID = 0;
    Shell_NotifyIconA(NIM_DELETE, &data);
}
