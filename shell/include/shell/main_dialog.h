// The main dialog: its state record, gathered from the parts it is made of, and its window
// procedure.
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/dialog_state.h"
#include "grabber/grabber.h"
#include "lists/named_list.h"
#include "lists/saved_colors.h"
#include "selector/selector.h"
#include "shell/decoration.h"

// Handed by start to the dialog as its creation parameter; copied during initialisation.
struct StartParams {
    HINSTANCE instance;
    UINT instanceMessage;
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

    SIZE expandedSize;
    SIZE collapsedSize;

    UINT instanceMessage;
    BYTE hideButtonDown;
    BYTE initialised;  // set when WM_INITDIALOG completed; only then is state written back
    BYTE closing;      // set by WM_CLOSE: a field losing the focus then is not checked
};

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// Fetches the dialog's state; null before initialisation and after teardown.
AppState* GetAppState(HWND dialog);
