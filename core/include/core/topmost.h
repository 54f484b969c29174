// Moving a window into or out of the topmost band.
#pragma once
#include <windows.h>

// SetWindowPos with HWND_TOPMOST or HWND_NOTOPMOST, keeping position and size.
void SetWindowTopmost(HWND window, bool topmost, UINT extraFlags = 0);
