#include "color/hex_text.h"

#include <cstring>

char* FormatHex(const ColorValue& color, char* text, bool upperCase)
{
    const char letterBase = upperCase ? 'A' : 'a';
    uint32_t value = color.GetRgb();
    for (int i = 0; i < 6; ++i) {
        const uint32_t digit = value & 15;
        text[5 - i] = static_cast<char>(digit < 10 ? '0' + digit : letterBase + digit - 10);
        value >>= 4;
    }
    text[6] = '\0';
    return text;
}

bool ParseHex(ColorValue& color, const char* text)
{
    const size_t length = strlen(text);
    if (length == 0 || length > 6)
        return false;
    uint32_t value = 0;
    for (size_t i = 0; i < length; ++i) {
        const char c = text[i];
        uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return false;
        value = (value << 4) | digit;
    }
    color.SetRgb(value);
    return true;
}

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
