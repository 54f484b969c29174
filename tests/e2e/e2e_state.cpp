#include "tests/e2e/e2e_state.h"

#include <shlobj.h>

#include "tests/e2e/e2e_checks.h"
#include "tests/e2e/e2e_program.h"
#include "tests/shared/text_file.h"

namespace e2e {

const char* const kSettingsKey = "Software\\Ostrel\\Tintora";

namespace {

bool DeleteKeyTree(HKEY parent, const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(parent, name, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        return false;
    char child[256];
    for (;;) {
        DWORD size = sizeof(child);
        if (RegEnumKeyExA(key, 0, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (!DeleteKeyTree(key, child))
            break;
    }
    RegCloseKey(key);
    return RegDeleteKeyA(parent, name) == ERROR_SUCCESS;
}

const char* const kDesktopKey = "Control Panel\\Desktop";
const char* const kLogPixels = "LogPixels";

}  // namespace

DWORD SwapLogPixels(DWORD dpi)
{
    HKEY key;
    DWORD stored = 0, size = sizeof(stored);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot open HKCU\\" << kDesktopKey;
        return 0;
    }
    if (RegQueryValueExA(key, kLogPixels, nullptr, nullptr, reinterpret_cast<BYTE*>(&stored), &size))
        stored = 0;
    const LONG set =
        dpi ? RegSetValueExA(key, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi))
            : RegDeleteValueA(key, kLogPixels);
    RegCloseKey(key);
    EXPECT_EQ(set, ERROR_SUCCESS) << "LogPixels " << dpi;
    return stored;
}

void ResetSavedState()
{
    HKEY ostrel;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel", 0, KEY_READ | KEY_WRITE, &ostrel) ==
        ERROR_SUCCESS) {
        DeleteKeyTree(ostrel, "Tintora");
        RegCloseKey(ostrel);
    }
    HKEY left;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &left) == ERROR_SUCCESS) {
        RegCloseKey(left);
        ADD_FAILURE() << "cannot delete HKCU\\" << kSettingsKey;
    }

    for (const std::string& ini : {SavedColorsFile(), WindowsColorsFile(), VirtualStoreColorsFile()}) {
        if (ini.empty()) {
            ADD_FAILURE() << "a folder of the saved colours is unknown";
            continue;
        }
        DeleteFileA(ini.c_str());
        if (GetFileAttributesA(ini.c_str()) != INVALID_FILE_ATTRIBUTES)
            ADD_FAILURE() << "cannot delete " << ini;
    }
    // The program makes its folders itself.
    const std::string tintora = FolderOf(SavedColorsFile());
    RemoveDirectoryA(tintora.c_str());
    RemoveDirectoryA(FolderOf(tintora.substr(0, tintora.size() - 1)).c_str());
}

std::string SavedColorsFile()
{
    char folder[MAX_PATH];
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_APPDATA, FALSE))
        return "";
    return std::string(folder) + "\\Ostrel\\Tintora\\Tintora.ini";
}

std::string WindowsColorsFile()
{
    char folder[MAX_PATH];
    UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    if (length == 0 || length + 13 >= MAX_PATH)
        return "";
    return std::string(folder) + "\\Tintora.ini";
}

std::string VirtualStoreColorsFile()
{
    char local[MAX_PATH];
    const std::string windows = FolderOf(WindowsColorsFile());  // "C:\Windows\"
    if (windows.size() < 4 || !SHGetSpecialFolderPathA(nullptr, local, CSIDL_LOCAL_APPDATA, FALSE))
        return "";
    return std::string(local) + "\\VirtualStore\\" + windows.substr(3) + "Tintora.ini";
}

bool PutFile(const std::string& path, const std::string& text)
{
    for (size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1))
        CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    return WriteWholeFile(path, text);
}

void WriteBinaryOption(const char* name, BYTE value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create the settings key for " << name;
        return;
    }
    RegSetValueExA(key, name, 0, REG_BINARY, &value, 1);
    RegCloseKey(key);
}

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.find_last_of("\\/") + 1);
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void EmptyFolder(const std::string& folder)
{
    for (const std::string& name : FilesIn(folder))
        DeleteFileA((folder + name).c_str());
}

std::wstring Wide(const std::string& utf8)
{
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring wide(units > 0 ? units : 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0], units);
    wide.resize(wide.size() - 1);
    return wide;
}

std::string StageProgramCopy(const std::string& name, bool withHelp)
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    const std::string folder = std::string(base) + name + "\\";
    const std::wstring wideFolder = Wide(folder);
    CreateDirectoryW(wideFolder.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((wideFolder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((wideFolder + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    std::vector<std::string> files = {"tintora.exe", "ostrel_about.dll"};
    if (withHelp)
        files.push_back("tintora.chm");
    for (const std::string& file : files) {
        if (!CopyFileW(Wide(FolderOf(ProgramPath()) + file).c_str(), (wideFolder + Wide(file)).c_str(),
                       FALSE)) {
            ADD_FAILURE() << "cannot stage " << file << " in " << folder << " (error " << GetLastError()
                          << ")";
            return "";
        }
    }
    return folder + "tintora.exe";
}

}  // namespace e2e
