// shell_open_recorder RECORD_FILE TARGET
// Registered by tests as the shell's "open" command for a test address scheme or file type:
// appends what the shell asked to open, one line each, to RECORD_FILE.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (__argc != 3)
        return 2;
    FILE* record = fopen(__argv[1], "ab");
    if (!record)
        return 1;
    fprintf(record, "%s\n", __argv[2]);
    fclose(record);
    return 0;
}
