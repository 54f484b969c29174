// Handlers of the main dialog shared between its source files.
#pragma once
#include "shell/main_dialog.h"

// Commands (WM_COMMAND keyed by the whole wparam); TRUE when the command is one of ours.
INT_PTR OnCommand(AppState* state, WPARAM wparam, HWND control);

// The focused value field shows the current value again if its text is not acceptable; no
// message. For when the window goes out of sight with a value half typed.
void RestoreUnacceptedField(AppState* state);

// The command line "/pick" (or "-pick", any case, blanks around it): pick a colour from anywhere
// at once, so a shortcut or a mouse button's software can start one. Anything else asks nothing.
bool AsksForPick(const char* commandLine);

// The running copy's answer to InstanceMessage: 1 closes, anything else shows the window.
void OnInstanceMessage(AppState* state, WPARAM request);

// A mouse event over the status icon: a left-button release brings the window back, a right
// click or the keyboard opens the icon's menu.
void OnStatusIconMessage(AppState* state, LPARAM mouseMessage);
// The icon's menu: Pick Color (named with the key that does it), Show Tintora, Exit.
HMENU CreateStatusMenu(HINSTANCE instance, uint32_t pickKey);
// After a pick from anywhere took a colour: copied if the option says so, and named in the
// icon's tip while the window is hidden.
void OnPickFromAnywhereEnded(AppState* state);

// The current colour on the clipboard in the chosen copy format (hex unless the user chose
// another), as the copy button puts it there.
void CopyCurrentColor(AppState* state);

// Widens or narrows the window to show or hide the colour-list panel.
void ApplyPanelSize(AppState* state);

// Command 422: shows the About box; message 304 when it cannot.
void ShowAboutBox(AppState* state);

// The swatch menu's Paste Color: the clipboard's colour becomes the current one (on the
// background's swatch, the background); a message when it holds none.
void PasteColorFromMenu(AppState* state, bool asBackground);

// The colour the contrast row measures against, shown at once.
void SetBackgroundColor(AppState* state, const ColorValue& color);
// From initialisation on, a colour pasted into the hex field in any form but hex digits is
// taken whole.
void TakeColorPastesInHexField(AppState* state);

// Registry settings: read and applied during initialisation, written at the end.
void LoadSettings(AppState* state);
void SaveSettings(AppState* state);
