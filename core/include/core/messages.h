// String-table message boxes: the only way failures reach the user.
#pragma once
#include <windows.h>

enum { MESSAGE_TEXT_SIZE = 2000 };

// Loads string `id` into `text` (MESSAGE_TEXT_SIZE chars); a missing string becomes a text naming the id.
void LoadMessageText(HINSTANCE instance, UINT id, char* text);

int ShowStringMessage(HINSTANCE instance, HWND owner, UINT id, UINT iconStyle);
int ShowErrorMessage(HINSTANCE instance, HWND owner, UINT id);
int ShowWarningMessage(HINSTANCE instance, HWND owner, UINT id);
