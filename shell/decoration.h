// Tool tips and icons for the main dialog's controls, found by each control's own id.
#pragma once
#include <windows.h>

// What the walk over the dialog's children needs to give each one its tool.
struct ToolTipSetup {
    HWND dialog;
    HWND toolTip;
    HINSTANCE instance;
};

// The dialog's tool-tip window, owned by the dialog so it goes with it; null on failure.
HWND CreateToolTipWindow(HWND dialog, HINSTANCE instance);

// EnumChildWindows callbacks; each lets the walk go on whatever happens to one child.
// lparam: a ToolTipSetup*. A tool for each child whose id has a string.
BOOL CALLBACK AddChildToolTip(HWND child, LPARAM setup);
// lparam: the HINSTANCE holding the icons. The icon with the child's id, if there is one.
BOOL CALLBACK SetChildIcon(HWND child, LPARAM instance);
// lparam: the HINSTANCE holding the icons. Takes back the images SetChildIcon gave and destroys them.
BOOL CALLBACK ReleaseChildImage(HWND child, LPARAM instance);
