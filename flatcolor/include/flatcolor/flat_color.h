// FlatColor: the program's own swatch control, a flat rectangle of one colour.
#pragma once

// The main dialog's template names the class too; the resource compiler reads only this name.
#define FLATCOLOR_CLASS_NAME "Ostrel FlatColor Control"

#ifndef RC_INVOKED
#include <windows.h>

#include "color/color_value.h"
#include "core/copy_formats.h"
#include "core/handles.h"

// Message: wparam = COLORREF to show, lparam unused, result 0.
#define FCM_SETCOLOR (WM_USER)
// Message: lparam = the user's formats for the menu (const CustomFormats*, kept, not owned; it
// must outlive the control or be replaced), wparam unused, result 0.
#define FCM_SETFORMATS (WM_USER + 1)
// Message: wparam = COLORREF of the window text, which is drawn on the colour as large as the
// control holds it (a text sample: the hex display bits take precedence); lparam unused, result 0.
#define FCM_SETTEXTCOLOR (WM_USER + 2)
// Message: wparam = a command id whose string-table text becomes the menu's last item (0: a
// separator), lparam = its MFS_ state bits; result TRUE when added. When chosen, the parent gets
// WM_COMMAND with the control's id and the command id as the notification code.
#define FCM_ADDMENUITEM (WM_USER + 3)
// Message: result = the COLORREF shown.
#define FCM_GETCOLOR (WM_USER + 4)

// Notification codes sent to the parent in WM_COMMAND.
#define FCN_CLICKED 1
#define FCN_DBLCLK 2
// Its menu's Paste Color: the parent makes the clipboard's colour the current one.
#define FCN_PASTE 3
// Codes of 600 and more: the menu command of that id, added by FCM_ADDMENUITEM.

// Display bits: the low word of the window style picks the hex text drawn on the colour.
#define FCS_HEX 0x0001
#define FCS_RED 0x0002
#define FCS_GREEN 0x0004
#define FCS_BLUE 0x0008

struct FlatColorState {
    GdiObject<HBRUSH> ownBrush;  // the colour's, from the first colour on
    WORD displayBits;
    ColorValue color;
    HFONT font;                   // not owned
    GdiObject<HFONT> sampleFont;  // the window text's, fitted to the control; made when first drawn
    COLORREF textColor;
    OwnedMenu menu;
    HINSTANCE instance;
    const CustomFormats* formats;  // not owned

    // The system's window brush until the first colour comes.
    HBRUSH Brush() const { return ownBrush ? ownBrush.Get() : GetSysColorBrush(COLOR_WINDOW); }
};

// Copies into `text` (HEX_TEXT_SIZE bytes) the digits of `hex` that the display bits ask for;
// false when they ask for none.
bool SelectSwatchText(WORD displayBits, const char* hex, char* text);

// Registers the class once per instance; true also when it is registered already.
bool RegisterFlatColorClass(HINSTANCE instance);

#endif  // RC_INVOKED
