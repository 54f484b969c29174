// The program's icon in the taskbar's status area.
#pragma once
#include <windows.h>

#include <cstdint>

struct AppState;

// Mouse events over the icon arrive at the dialog as this message, the event in lparam.
#define STATUS_ICON_MESSAGE (WM_APP + 1)

// Adding an icon that is already there, or removing one that is not, does nothing. True when
// the shell takes the icon's newer behaviour: a right click or the keyboard's menu key then comes
// as WM_CONTEXTMENU, Enter on the icon as NIN_KEYSELECT.
bool AddStatusIcon(HWND dialog, HICON icon, const char* tip);
void RemoveStatusIcon(HWND dialog);
// Changes the tip of an icon that is there.
void SetStatusIconTip(HWND dialog, const char* tip);

enum { STATUS_TIP_SIZE = 64 };
// The icon's tip: the product, the last pick while the window is hidden, or that the pick key
// is taken.
void ComposeStatusTip(char tip[STATUS_TIP_SIZE], bool hidden, bool hasPick, uint32_t pick, bool keyTaken);

// The icon for this dialog with its tip, added (adding one already there changes nothing).
void ShowStatusIcon(AppState* state);
// The tip again, after a pick or a change of the key.
void UpdateStatusIconTip(AppState* state);

// The caption's hide button: the window goes and the icon stands for it.
void HideToStatusArea(AppState* state);
