// Mouse interaction of the main dialog while it holds the capture: dragging in the colour field
// and on the slider, and the hide button in the caption.
#pragma once
#include <windows.h>

#include <cstdint>

struct AppState;

// Takes the capture for a field or slider drag and applies the press point at once.
void StartSelectorDrag(AppState* state, uint32_t captureMode, HWND control);

void OnCaptureMouseMove(AppState* state, LPARAM lparam);
// lparam: the point of the release in dialog client coordinates.
void OnCaptureLButtonUp(AppState* state, LPARAM lparam);
void OnCaptureRButtonDown(AppState* state);
// The only place an interaction ends, whoever took the capture away.
void OnCaptureChanged(AppState* state);

// The hide button: the fourth caption-button slot from the right, in screen coordinates.
RECT HideButtonRect(HWND window);
void DrawHideButton(HWND window, bool pressed);
// WM_NCLBUTTONDOWN; true when the press hit the hide button.
bool OnHideButtonPress(AppState* state, LPARAM screenPoint);
