// What the program keeps between runs, cleared so a dialog made by a test starts as a first run.
#pragma once
#include <windows.h>

#include <string>

#include "lists/saved_colors_place.h"

// The user's saved-colours file, in its folder, which is made if missing.
inline std::string StoredColorsFile()
{
    SavedColorsPlace place;
    FindSavedColorsPlace(&place);
    PrepareSavedColorsFile(place);
    return place.file;
}

// Settings and saved colours may be left by an earlier test or a run of the real program; so may
// an earlier version's file in the Windows directory, which a first start would read.
inline void ResetStoredState()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tintora");
    DeleteFileA(StoredColorsFile().c_str());
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof(windows));
    DeleteFileA((std::string(windows) + "\\Tintora.ini").c_str());
}
