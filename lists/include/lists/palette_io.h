// Palette files into and out of the saved colours: the list's shortcut menu, the system's open
// and save boxes, and files dropped on the list.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "core/dialog_state.h"

// WM_CONTEXTMENU over list 430: Import Palette..., Export Palette..., and Use as Background for
// the selected row; `at` is the message's position (-1, -1 from the keyboard).
void ShowSavedListMenu(const DialogState* state, LPARAM at);

// Commands 450 and 451: the open box (several files may be chosen) and the save box.
void ImportPaletteFromBox(const DialogState* state);
void ExportPaletteFromBox(const DialogState* state);

// Files dropped on the dialog: imported when they were dropped on list 430. Takes `drop`.
void OnFilesDropped(const DialogState* state, HDROP drop);

// Appends the colours of the files to list 430 in file order, up to its limit, and says in one
// message box what was added and what was not.
void ImportPaletteFiles(const DialogState* state, const char* const* paths, int count);

// Writes the whole list to `path` in the format its extension names, through a temporary file
// in the same folder that replaces the target only once it is whole; false when it could not.
bool ExportPaletteFile(const DialogState* state, const char* path);
