// tintora_e2e PATH_OF_TINTORA_EXE [FILTER]
// Starts the real program for each case and drives it from outside, as a user or another
// program would. FILTER runs only the cases whose "group: name" contains it.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/e2e_support.h"

namespace {

// ctest hands us a Unix path; under Wine, turn it into the DOS path CreateProcess wants.
std::string DosPath(const char* path)
{
    if (path[0] != '/')
        return path;
    typedef WCHAR*(CDECL * ToDos)(const char*);
    auto toDos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    if (!toDos)
        return path;
    WCHAR* wide = toDos(path);
    if (!wide)
        return path;
    char narrow[MAX_PATH * 2] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof(narrow), nullptr, nullptr);
    HeapFree(GetProcessHeap(), 0, wide);
    return narrow;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: tintora_e2e PATH_OF_TINTORA_EXE [FILTER]\n");
        return 2;
    }
    std::string path = DosPath(argv[1]);
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        fprintf(stderr, "tintora_e2e: no program at %s\n", path.c_str());
        return 2;
    }
    e2e::SetProgramPath(path);
    return e2e::RunCases(argc == 3 ? argv[2] : nullptr);
}
