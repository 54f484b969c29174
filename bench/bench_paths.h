// What the benchmark programs share: the paths they are handed, as Wine's CreateProcess wants
// them.
#pragma once
#include <windows.h>

#include <string>

// ctest and the scripts hand over Unix paths; under Wine, CreateProcess wants DOS ones.
inline std::string DosPath(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    typedef WCHAR*(CDECL * ToDos)(const char*);
    auto toDos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    WCHAR* wide = toDos ? toDos(path.c_str()) : nullptr;
    if (!wide)
        return path;
    char narrow[MAX_PATH * 2] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof(narrow), nullptr, nullptr);
    HeapFree(GetProcessHeap(), 0, wide);
    return narrow;
}

inline std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}
