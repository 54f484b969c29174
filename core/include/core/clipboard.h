// Text onto the clipboard.
#pragma once
#include <windows.h>

// Puts `text` (in the program's code page) on the clipboard, as Unicode where the system keeps
// that; true only when the clipboard took it.
bool CopyTextToClipboard(HWND owner, const char* text);

// The clipboard's text into `text` in the program's code page (`size` bytes with the NUL); false
// when the clipboard holds no text, cannot be opened, or holds more than fits.
bool ReadClipboardText(HWND owner, char* text, size_t size);
