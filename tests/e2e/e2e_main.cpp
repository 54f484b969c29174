// DRIVER PATH_OF_TINTORA_EXE [--gtest_filter=...]
// Starts the real program for each test and drives it from outside, as a user or another
// program would.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/e2e_program.h"

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
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        fprintf(stderr, "usage: %s PATH_OF_TINTORA_EXE [--gtest_filter=...]\n", argv[0]);
        return 2;
    }
    const std::string path = DosPath(argv[1]);
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        fprintf(stderr, "%s: no program at %s\n", argv[0], path.c_str());
        return 2;
    }
    e2e::SetProgramPath(path);
    e2e::GuardTheRun();
    const int failed = RUN_ALL_TESTS();
    // A filter that matches nothing is a mistake, not a pass.
    return failed || testing::UnitTest::GetInstance()->test_to_run_count() == 0 ? 1 : 0;
}
