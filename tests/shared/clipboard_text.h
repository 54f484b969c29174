// The clipboard's text, read and set as another program would, for the unit tests and the
// end-to-end driver alike.
#pragma once
#include <windows.h>

#include <cstring>
#include <string>

// Wine's clipboard manager may hold the clipboard for a moment after a change; a busy machine
// stretches the moment, so only a hang guard bounds the wait.
inline bool OpenClipboardPatiently(HWND owner)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 30000;) {
        if (OpenClipboard(owner))
            return true;
        Sleep(10);  // the poll's pace
    }
    return false;
}

// The CF_TEXT on the clipboard. When there is none to read the answer says so in angle
// brackets, which no expected text has.
inline std::string ClipboardText()
{
    if (!OpenClipboardPatiently(nullptr))
        return "<clipboard busy>";
    std::string text = "<no text>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// Replaces what the clipboard holds with the text; false when the clipboard refused it.
inline bool PutClipboardText(HWND owner, const char* text)
{
    if (!OpenClipboardPatiently(owner))
        return false;
    bool ok = false;
    if (EmptyClipboard()) {
        const size_t size = strlen(text) + 1;
        if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size)) {
            memcpy(GlobalLock(block), text, size);
            GlobalUnlock(block);
            ok = SetClipboardData(CF_TEXT, block) != nullptr;
            if (!ok)
                GlobalFree(block);
        }
    }
    CloseClipboard();
    return ok;
}

inline bool EmptyTheClipboard()
{
    if (!OpenClipboardPatiently(nullptr))
        return false;
    const bool emptied = EmptyClipboard() != FALSE;
    CloseClipboard();
    return emptied;
}
