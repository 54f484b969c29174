#include "core/ansi_text.h"

#include <cstring>

#include "core/handles.h"

size_t WholeCharacters(const char* text, size_t limit, UINT codePage)
{
    const size_t length = strnlen(text, limit);
    if (length < limit)
        return length;
    if (codePage == CP_UTF8) {
        // Back over the continuation bytes of a character the limit would split.
        size_t cut = limit;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
        return cut;
    }
    // A trail byte may look like anything: only a walk from the start tells lead from trail.
    size_t at = 0;
    while (at < limit) {
        const size_t step = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(text[at])) && text[at + 1] ? 2 : 1;
        if (at + step > limit)
            break;
        at += step;
    }
    return at;
}

void CopyWholeCharacters(char* to, size_t size, const char* from)
{
    if (!size)
        return;
    const size_t length = WholeCharacters(from, size - 1, GetACP());
    memmove(to, from, length);
    to[length] = '\0';
}

void GetWholeWindowText(HWND window, char* text, size_t size)
{
    if (!size)
        return;
    text[0] = '\0';
    // The length may overstate the bytes (never understate them); the text is read whole first.
    const int length = GetWindowTextLengthA(window);
    HeapBlock<char> whole;
    if (length <= 0 || !whole.Allocate(static_cast<size_t>(length) + 1))
        return;
    GetWindowTextA(window, whole.Data(), length + 1);
    CopyWholeCharacters(text, size, whole.Data());
}
