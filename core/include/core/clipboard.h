// Text onto the clipboard.
#pragma once
#include <windows.h>

// Puts `text` on the clipboard as CF_TEXT; true only when the clipboard took it.
bool CopyTextToClipboard(HWND owner, const char* text);

// The clipboard's CF_TEXT into `text` (`size` bytes with the NUL); false when the clipboard holds
// no text, cannot be opened, or holds more than fits.
bool ReadClipboardText(HWND owner, char* text, size_t size);
