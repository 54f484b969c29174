#include "core/program_files.h"

#include <windows.h>

bool PathBesideProgram(const char* name, char* path, size_t size)
{
    const DWORD capacity = static_cast<DWORD>(size);
    const DWORD length = GetModuleFileNameA(nullptr, path, capacity);
    char* folderEnd = path + (length > 0 && length < capacity ? length : 0);
    while (folderEnd > path && folderEnd[-1] != '\\' && folderEnd[-1] != '/')
        --folderEnd;
    const size_t room = static_cast<size_t>(folderEnd - path) + lstrlenA(name) + 1;
    if (folderEnd > path && room <= size) {
        lstrcpyA(folderEnd, name);
        return true;
    }
    lstrcpynA(path, name, static_cast<int>(size));
    return false;
}
