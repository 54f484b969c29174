#include "core/clipboard.h"

#include <cstring>

bool CopyTextToClipboard(HWND owner, const char* text)
{
    const size_t size = strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return false;
    if (!OpenClipboard(owner)) {
        GlobalFree(block);
        return false;
    }
    bool handedOver = false;
    if (EmptyClipboard()) {
        if (void* data = GlobalLock(block)) {
            memcpy(data, text, size);
            GlobalUnlock(block);
            handedOver = SetClipboardData(CF_TEXT, block) != nullptr;
        }
    }
    CloseClipboard();
    // Once the clipboard owns the block it frees it; otherwise it is still ours.
    if (!handedOver)
        GlobalFree(block);
    return handedOver;
}
