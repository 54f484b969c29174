// The program's icon in the taskbar's status area.
#pragma once
#include <windows.h>

struct AppState;

// Mouse events over the icon arrive at the dialog as this message, the event in lparam.
#define STATUS_ICON_MESSAGE (WM_APP + 1)

// Adding an icon that is already there, or removing one that is not, does nothing.
void AddStatusIcon(HWND dialog, HICON icon);
void RemoveStatusIcon(HWND dialog);

// The caption's hide button: the window goes and the icon stands for it.
void HideToStatusArea(AppState* state);
