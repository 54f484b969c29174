// Tool tips and icons for the main dialog's controls, found by each control's own id.
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/dialog_state.h"

// What the walk over the dialog's children needs to give each one its tool.
struct ToolTipSetup {
    HWND dialog;
    HWND toolTip;
    HINSTANCE instance;
};

// The icons the walk gave the dialog's controls: exactly these are taken back and destroyed.
struct DecorationIcons {
    HWND controls[kLastControlId - kFirstControlId + 1];
    HICON icons[kLastControlId - kFirstControlId + 1];
    uint32_t count;
};

// What the walk over the dialog's children needs to give each one its image.
struct IconSetup {
    HINSTANCE instance;
    DecorationIcons* icons;
};

// The dialog's tool-tip window, owned by the dialog so it goes with it; null on failure.
HWND CreateToolTipWindow(HWND dialog, HINSTANCE instance);

// EnumChildWindows callbacks; each lets the walk go on whatever happens to one child.
// lparam: a ToolTipSetup*. A tool for each child whose id has a string.
BOOL CALLBACK AddChildToolTip(HWND child, LPARAM setup);
// lparam: an IconSetup*. The icon with the child's id, if there is one, recorded in the setup.
BOOL CALLBACK SetChildIcon(HWND child, LPARAM setup);

// Takes back from their controls the icons SetChildIcon gave and destroys them.
void ReleaseDecorationIcons(DecorationIcons* icons);
