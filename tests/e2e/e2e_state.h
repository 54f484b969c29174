// What the program keeps between runs and where it runs from: its registry key, the
// saved-colours file, staged copies of it and their folders.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

extern const char* const kSettingsKey;  // under HKEY_CURRENT_USER

// Removes the saved settings, the saved-colours file with its folders, and the files of earlier
// versions, so each start is a first start.
void ResetSavedState();
// The saved-colours file: Ostrel\Tintora\Tintora.ini in the user's application data.
std::string SavedColorsFile();
// Where earlier versions kept it: Tintora.ini in the Windows directory, and the copy of that
// directory a standard user's 32-bit program was given on Vista and later (VirtualStore).
std::string WindowsColorsFile();
std::string VirtualStoreColorsFile();
// Writes a file, making its folders first; false when it could not be written whole.
bool PutFile(const std::string& path, const std::string& text);
// Stores a one-byte option under the settings key, as the program keeps its flags.
void WriteBinaryOption(const char* name, BYTE value);

// Sets the DPI the programs started from now on see (Wine reads HKCU\Control Panel\Desktop,
// LogPixels, as each program starts) and gives what was stored; 0 removes the value, and is
// given when there was none.
DWORD SwapLogPixels(DWORD dpi);

// Files and folders; folder names end in a backslash.
std::string FolderOf(const std::string& path);
std::vector<std::string> FilesIn(const std::string& folder);
void EmptyFolder(const std::string& folder);
// Puts a copy of the program and its About box library (and with `withHelp` its help file), and
// nothing else, into the folder `name` (UTF-8) under the temporary folder; returns the copy's
// path in UTF-8, or "" (failure recorded).
std::string StageProgramCopy(const std::string& name, bool withHelp = false);
// UTF-8 as UTF-16, for the wide calls that take any name.
std::wstring Wide(const std::string& utf8);

}  // namespace e2e
