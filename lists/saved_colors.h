// The saved colours: list 430 of the side panel, its INI file, its commands and its drag list.
#pragma once
#include <windows.h>
#include <commctrl.h>

struct AppState;

// Without a directory, so the profile functions keep it in the Windows directory.
#define SAVED_COLORS_FILE "Tintora.ini"

// The most rows a list box can hold, and so the largest count the file may give.
enum { SAVED_COLORS_MAX = 32767 };

// Makes list 430 a drag list and registers the drag-list message; false ends the dialog.
bool InitSavedColorsList(AppState* state);

// Appends the rows of section "SavedColors" of `iniFile` to `list`; a damaged count gives way
// to the keys the section holds.
void LoadSavedColorsFile(HWND list, const char* iniFile);
// Writes "nColors" and one key per row; keys of a longer earlier list stay in the file.
void SaveSavedColorsFile(HWND list, const char* iniFile);

void LoadSavedColors(AppState* state);
void SaveSavedColors(AppState* state);

// Commands 431-433.
void AddSavedColor(AppState* state);
void DeleteSavedColor(AppState* state);
void OverwriteSavedColor(AppState* state);

// The selected row's colour becomes the current colour (message 350 without a selection):
// commands 434 and 438 and a double click on either list.
void LoadColorFromList(AppState* state, HWND list);

// One drag-list notification for list 430; returns the dialog's message result.
LRESULT OnSavedListDrag(AppState* state, const DRAGLISTINFO* info);

// WM_DRAWITEM for list 430.
void DrawSavedColorItem(const AppState* state, const DRAWITEMSTRUCT* item);
