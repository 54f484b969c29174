// The main dialog: its state record, gathered from the parts it is made of, and its window
// procedure.
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/copy_formats.h"
#include "core/dialog_state.h"
#include "grabber/grabber.h"
#include "lists/named_list.h"
#include "lists/saved_colors.h"
#include "selector/selector.h"
#include "settings/pick_key.h"
#include "shell/decoration.h"

// Posted to the dialog to start a pick from anywhere once the message at hand is done.
#define PICK_FROM_ANYWHERE (WM_APP + 2)

// Requests of InstanceMessage, in wparam; any other value shows the running copy.
enum InstanceRequest : WPARAM {
    INSTANCE_SHOW = 0,
    INSTANCE_CLOSE = 1,
    INSTANCE_PICK = 2,
};

// Handed by start to the dialog as its creation parameter; copied during initialisation.
struct StartParams {
    HINSTANCE instance;
    UINT instanceMessage;
    BOOL pickAtStart;  // started to pick a colour: the pick begins once the window is up
};

// The main dialog's state, allocated zero-filled at WM_INITDIALOG and kept in the user-data
// slot: what every part shares, each part's own record, and what the dialog itself keeps.
struct AppState : DialogState {
    SelectorState selector;
    GrabberState grabber;
    SavedListState savedList;
    NamedListMark namedMark;
    DecorationIcons decoration;

    HWND toolTip;
    OwnedIcon largeIcon;
    OwnedIcon smallIcon;
    OwnedIcon notWebSafeIcon;

    ColorValue background;  // the contrast row's: what the current colour is measured against
    char contrastTip[400];  // the grade's tip, written when the tip shows

    SIZE expandedSize;
    SIZE collapsedSize;

    UINT instanceMessage;
    PickKeySetting pickKey;
    CustomFormats formats;  // the user's own, on every swatch's menu
    uint32_t copyFormat;    // what the copy button and a pick copy: a format's menu id
    uint32_t lastPick;      // 0x00RRGGBB of the last pick from anywhere, for the status icon's tip
    BYTE hasLastPick;
    BYTE iconSendsMenuKeys;  // the shell took the icon's newer version: menus come as WM_CONTEXTMENU
    BYTE pickAtStart;
    BYTE hideButtonDown;
    BYTE initialised;  // set when WM_INITDIALOG completed; only then is state written back
    BYTE closing;      // set by WM_CLOSE: a field losing the focus then is not checked
};

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// Fetches the dialog's state; null before initialisation and after teardown.
AppState* GetAppState(HWND dialog);
