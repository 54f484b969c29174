// What the program keeps between runs, cleared so a dialog made by a test starts as a first run.
#pragma once
#include <windows.h>

#include <string>

inline std::string StoredColorsFile()
{
    char folder[MAX_PATH] = "";
    GetWindowsDirectoryA(folder, sizeof(folder));
    return std::string(folder) + "\\Tintora.ini";
}

// Settings and saved colours may be left by an earlier test or a run of the real program.
inline void ResetStoredState()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tintora");
    DeleteFileA(StoredColorsFile().c_str());
}
