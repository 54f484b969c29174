#include "core/clipboard.h"

#include <cstring>
#include <cwchar>

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

// Windows NT keeps text on the clipboard as Unicode and gives each reader its own code page;
// text put there as CF_TEXT would be read in the user's code page, which need not be the
// program's (UTF-8, by its manifest). Windows 95, 98 and Me have CF_TEXT only.
bool ClipboardIsUnicode()
{
    return GetVersion() < 0x80000000u;
}

// The text as the clipboard block of `format`: the program's code page's bytes, or their UTF-16.
HGLOBAL MakeTextBlock(const char* text, UINT format)
{
    const int bytes = lstrlenA(text) + 1;
    const int units = format == CF_UNICODETEXT ? MultiByteToWideChar(CP_ACP, 0, text, bytes, nullptr, 0) : 0;
    if (format == CF_UNICODETEXT && units <= 0)
        return nullptr;
    const size_t size = format == CF_UNICODETEXT ? units * sizeof(WCHAR) : static_cast<size_t>(bytes);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    void* data = block ? GlobalLock(block) : nullptr;
    if (!data) {
        if (block)
            GlobalFree(block);
        return nullptr;
    }
    if (format == CF_UNICODETEXT)
        MultiByteToWideChar(CP_ACP, 0, text, bytes, static_cast<WCHAR*>(data), units);
    else
        memcpy(data, text, size);
    GlobalUnlock(block);
    return block;
}

// The clipboard's text in the program's code page; false when there is none or it does not fit.
bool ReadTextBlock(HANDLE block, UINT format, char* text, size_t size)
{
    const void* data = GlobalLock(block);
    if (!data)
        return false;
    // The block may be larger than its text, and a text from another program may lack the NUL.
    const size_t room = GlobalSize(block);
    bool read = false;
    if (format == CF_UNICODETEXT) {
        const auto* wide = static_cast<const WCHAR*>(data);
        const size_t units = wcsnlen(wide, room / sizeof(WCHAR));
        const int bytes = units ? WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(units), text,
                                                      static_cast<int>(size - 1), nullptr, nullptr)
                                : 0;
        if (bytes > 0 || units == 0) {
            text[bytes] = '\0';
            read = true;
        }
    } else {
        const size_t length = strnlen(static_cast<const char*>(data), room);
        if (length < size) {
            memcpy(text, data, length);
            text[length] = '\0';
            read = true;
        }
    }
    GlobalUnlock(block);
    return read;
}

}  // namespace

bool CopyTextToClipboard(HWND owner, const char* text)
{
    const UINT format = ClipboardIsUnicode() ? CF_UNICODETEXT : CF_TEXT;
    HGLOBAL block = MakeTextBlock(text, format);
    if (!block)
        return false;
    if (!OpenClipboard(owner)) {
        GlobalFree(block);
        return false;
    }
    const bool handedOver = EmptyClipboard() && SetClipboardData(format, block) != nullptr;
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
    const UINT format = ClipboardIsUnicode() ? CF_UNICODETEXT : CF_TEXT;
    HANDLE block = GetClipboardData(format);
    const bool read = block && ReadTextBlock(block, format, text, size);
    CloseClipboard();
    return read;
}
