// Where the saved colours' file lives: "Ostrel\Tintora\Tintora.ini" in the user's own
// application-data folder, so that every user keeps their colours on every Windows (a 64-bit
// program's writes to the Windows directory are not redirected to the user's store, and a
// standard user may not write there). Systems without that folder keep the file in the Windows
// directory, where earlier versions kept it.
#pragma once
#include <windows.h>

#include "core/ansi_text.h"

struct SavedColorsPlace {
    char file[PATH_TEXT_SIZE];      // where the list is written
    char readFrom[PATH_TEXT_SIZE];  // `file`; until that exists, an earlier version's file if there is one
};

void FindSavedColorsPlace(SavedColorsPlace* place);

// Before the list is written: makes the file's folders and, the first time, copies the earlier
// version's file there, so whatever else it held stays. That file itself is left as it is.
void PrepareSavedColorsFile(const SavedColorsPlace& place);
