// The About dialog inside the library: its state record and its dialog procedure.
#pragma once
#include "about/ostrel_about.h"
#include "core/handles.h"

// One per open About dialog, allocated zero-filled at set-up and kept in the user-data slot.
struct AboutDialogState {
    HeapBlock<char> homeUrl;     // own copy of pszHomeUrl
    HeapBlock<char> productUrl;  // own copy of pszProductUrl
    OSTRELABOUTPROC credits;     // the caller's
    OSTRELABOUTPROC feedback;    // the caller's
    GdiObject<HFONT> linkFont;   // underlined font of the link, made at its first drawing
};

// Runs with the OSTRELABOUT record as the creation parameter.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
