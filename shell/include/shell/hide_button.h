// The caption's hide button, which sends the window to the status area: the fourth
// caption-button slot from the right, drawn by the dialog itself and tracked while pressed.
#pragma once
#include <windows.h>

struct AppState;

// In screen coordinates; the caption's button slots follow the DPI, the button's insets and
// glyph follow `dpi`.
RECT HideButtonRect(HWND window, int dpi);
void DrawHideButton(HWND window, int dpi, bool pressed);

// WM_NCLBUTTONDOWN; true when the press hit the button, which then holds the capture.
bool OnHideButtonPress(AppState* state, LPARAM screenPoint);
// While it holds the capture: a move (drawn pressed only while over it) and the release (which
// hides the window when over it).
void TrackHideButton(AppState* state, LPARAM clientPoint);
void ReleaseHideButton(AppState* state);
// The capture gone, however: drawn raised.
void EndHideButton(AppState* state);
