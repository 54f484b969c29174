#include "lists/saved_colors_place.h"

#include <shlobj.h>

#include "lists/saved_colors.h"

namespace {

const char kUserFolder[] = "Ostrel\\Tintora";
const char kVirtualStore[] = "VirtualStore";

typedef BOOL(WINAPI* GetSpecialFolderPathProc)(HWND, LPSTR, int, BOOL);

// A folder of the shell's, or false. Looked up, not imported: Windows 95 and NT 4.0 without the
// desktop update have no such call and would not load the program.
bool ShellFolder(int csidl, char* path)
{
    HMODULE shell = GetModuleHandleA("shell32.dll");
    const auto get = shell ? reinterpret_cast<GetSpecialFolderPathProc>(
                                 reinterpret_cast<void*>(GetProcAddress(shell, "SHGetSpecialFolderPathA")))
                           : nullptr;
    path[0] = '\0';
    return get && get(nullptr, path, csidl, FALSE) && path[0];
}

// `folder` "\" `name` into `path` (PATH_TEXT_SIZE); false when it does not fit.
bool Join(char* path, const char* folder, const char* name)
{
    const int length = lstrlenA(folder);
    const bool separator = length > 0 && *CharPrevA(folder, folder + length) != '\\';
    if (length + (separator ? 1 : 0) + lstrlenA(name) >= PATH_TEXT_SIZE)
        return false;
    lstrcpyA(path, folder);
    if (separator)
        lstrcatA(path, "\\");
    lstrcatA(path, name);
    return true;
}

bool IsFile(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void FindSavedColorsPlace(SavedColorsPlace* place)
{
    // Earlier versions' file: the bare name, which the profile functions put in the Windows
    // directory; for a standard user on Vista and later, the system kept the 32-bit program's
    // writes in the user's VirtualStore copy of that directory instead, which then holds the
    // newer list.
    char windows[PATH_TEXT_SIZE];
    char windowsFile[PATH_TEXT_SIZE] = SAVED_COLORS_FILE;
    const UINT length = GetWindowsDirectoryA(windows, PATH_TEXT_SIZE);
    const bool haveWindows =
        length > 0 && length < PATH_TEXT_SIZE && Join(windowsFile, windows, SAVED_COLORS_FILE);

    char folder[PATH_TEXT_SIZE], userFolder[PATH_TEXT_SIZE];
    if (!ShellFolder(CSIDL_APPDATA, folder) || !Join(userFolder, folder, kUserFolder) ||
        !Join(place->file, userFolder, SAVED_COLORS_FILE))
        lstrcpyA(place->file, windowsFile);

    // "C:\Windows" is kept as "<local>\VirtualStore\Windows".
    char storeFile[PATH_TEXT_SIZE] = "";
    char local[PATH_TEXT_SIZE], store[PATH_TEXT_SIZE], storeWindows[PATH_TEXT_SIZE];
    if (haveWindows && windows[1] == ':' && windows[2] == '\\' && ShellFolder(CSIDL_LOCAL_APPDATA, local) &&
        Join(store, local, kVirtualStore) && Join(storeWindows, store, windows + 3))
        Join(storeFile, storeWindows, SAVED_COLORS_FILE);

    const char* const candidates[] = {place->file, storeFile, windowsFile};
    lstrcpyA(place->readFrom, place->file);
    for (const char* candidate : candidates) {
        if (candidate[0] && IsFile(candidate)) {
            lstrcpyA(place->readFrom, candidate);
            break;
        }
    }
}

void PrepareSavedColorsFile(const SavedColorsPlace& place)
{
    // Each folder on the way; those that exist refuse, which changes nothing.
    char path[PATH_TEXT_SIZE];
    lstrcpyA(path, place.file);
    char previous = '\0';
    for (char* p = path; *p; p = CharNextA(p)) {
        if (*p == '\\' && previous && previous != ':' && previous != '\\') {
            *p = '\0';
            CreateDirectoryA(path, nullptr);
            *p = '\\';
        }
        // A character's first byte: in a double-byte code page a second byte may look like '\\'.
        previous = *p;
    }
    if (lstrcmpiA(place.file, place.readFrom) != 0)
        CopyFileA(place.readFrom, place.file, TRUE);
}
