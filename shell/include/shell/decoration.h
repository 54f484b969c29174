// Tool tips and icons for the main dialog's controls, found by each control's own id.
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/dialog_state.h"
#include "core/handles.h"

// The icons the walk gave the dialog's controls: exactly these are taken back and destroyed.
struct DecorationIcons {
    HWND controls[kLastControlId - kFirstControlId + 1];
    OwnedIcon icons[kLastControlId - kFirstControlId + 1];
    uint32_t count;
};

// What the one walk over the dialog's children needs: it records each control in the dialog's
// table by id and gives it its image.
struct DecorationSetup {
    DialogState* state;
    DecorationIcons* icons;
};

// EnumChildWindows callback, lparam a DecorationSetup*; the walk goes on whatever happens to one
// child. The icon with the child's id, if there is one; a child with a tip string gets the
// subclass that tells the tip window of the mouse.
BOOL CALLBACK DecorateChild(HWND child, LPARAM setup);

// The dialog's tool-tip window, owned by the dialog so it goes with it, with a tool for each
// control of the table whose id has a string; null when the window cannot be made.
HWND CreateToolTips(const DialogState* state);

// Takes back from their controls the icons the walk gave and destroys them.
void ReleaseDecorationIcons(DecorationIcons* icons);

// Takes the icon off a button or static that shows it, so the icon can go while the control
// stays; a control that has been given another since keeps that.
void DetachIcon(HWND control, HICON icon);
