#include "core/clipboard.h"

#include <cstring>

namespace {

// Whoever changed the clipboard may still hold it for a moment (under Wine, the bridge that
// offers it to X programs): a paste waits that moment out rather than find it empty.
bool OpenClipboardSoon(HWND owner)
{
    const DWORD kPatienceMs = 1000;
    for (const DWORD start = GetTickCount();; Sleep(10)) {
        if (OpenClipboard(owner))
            return true;
        if (GetTickCount() - start >= kPatienceMs)
            return false;
    }
}

}  // namespace

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

bool ReadClipboardText(HWND owner, char* text, size_t size)
{
    if (!size || !OpenClipboardSoon(owner))
        return false;
    bool read = false;
    if (HANDLE block = GetClipboardData(CF_TEXT)) {
        if (const auto* data = static_cast<const char*>(GlobalLock(block))) {
            // The block may be larger than its text, and a text from another program may lack the NUL.
            const size_t room = GlobalSize(block);
            const size_t length = strnlen(data, room);
            if (length < size) {
                memcpy(text, data, length);
                text[length] = '\0';
                read = true;
            }
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return read;
}
