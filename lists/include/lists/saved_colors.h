// The saved colours: list 430 of the side panel, its INI file, its commands and its drag list.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "core/dialog_state.h"

// The saved colours' file name; lists/saved_colors_place.h says in which folder.
#define SAVED_COLORS_FILE "Tintora.ini"

// What the drag list keeps between notifications; part of the dialog's zero-filled state.
struct SavedListState {
    UINT dragListMessage;
    int32_t dragSourceIndex;
    int32_t dragInsertIndex;  // row the insertion mark stands before while a drag runs, or -1
};

// Makes list 430 a drag list and registers the drag-list message; false ends the dialog.
bool InitSavedColorsList(const DialogState* state, SavedListState* saved);

// The saved colours file's rows appended to list 430, and the list's rows written to it.
void LoadSavedColors(const DialogState* state);
void SaveSavedColors(const DialogState* state);

// Commands 431-433.
void AddSavedColor(const DialogState* state);
void DeleteSavedColor(const DialogState* state);
void OverwriteSavedColor(const DialogState* state);

// The selected row's colour becomes the current colour (message 350 without a selection):
// commands 434 and 438 and a double click on either list.
void LoadColorFromList(DialogState* state, HWND list);

// One drag-list notification for list 430; returns the dialog's message result.
LRESULT OnSavedListDrag(const DialogState* state, SavedListState* saved, const DRAGLISTINFO* info);

// WM_DRAWITEM for list 430.
void DrawSavedColorItem(const DialogState* state, const DRAWITEMSTRUCT* item);
