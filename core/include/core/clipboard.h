// Text onto the clipboard.
#pragma once
#include <windows.h>

// Puts `text` on the clipboard as CF_TEXT; true only when the clipboard took it.
bool CopyTextToClipboard(HWND owner, const char* text);
