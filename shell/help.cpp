#include "shell/help.h"

#include <htmlhelp.h>

#include "core/program_files.h"

namespace {

const char kHelpFile[] = "tintora.chm";
// Where the HTML Help control registers its server.
const char kHtmlHelpServerKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
// HtmlHelpA, looked up by its ordinal.
const WORD kHtmlHelpAOrdinal = 14;

typedef HWND(WINAPI* HtmlHelpAFunction)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);

// The binding is per process, not per window: the module, once loaded, stays for good, and so
// does a failure, so a missing viewer is looked for only once.
struct HtmlHelpBinding {
    HMODULE module;
    HtmlHelpAFunction entry;
    bool failed;
};
HtmlHelpBinding g_htmlHelp;

HMODULE LoadRegisteredServer()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kHtmlHelpServerKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    char path[PATH_TEXT_SIZE] = "";
    DWORD size = sizeof(path) - 1;
    LONG result = RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? LoadLibraryA(path) : nullptr;
}

HWND CallHtmlHelp(HWND caller, LPCSTR file, UINT command, DWORD_PTR data)
{
    if (g_htmlHelp.failed)
        return nullptr;
    if (!g_htmlHelp.module) {
        g_htmlHelp.module = LoadRegisteredServer();
        if (!g_htmlHelp.module)
            g_htmlHelp.module = LoadLibraryA("hhctrl.ocx");
        if (!g_htmlHelp.module) {
            g_htmlHelp.failed = true;
            return nullptr;
        }
    }
    if (!g_htmlHelp.entry) {
        g_htmlHelp.entry = reinterpret_cast<HtmlHelpAFunction>(
            reinterpret_cast<void*>(GetProcAddress(g_htmlHelp.module, MAKEINTRESOURCEA(kHtmlHelpAOrdinal))));
        if (!g_htmlHelp.entry) {
            g_htmlHelp.failed = true;
            return nullptr;
        }
    }
    return g_htmlHelp.entry(caller, file, command, data);
}

// The help file beside the program, so help opens whatever folder the program was started
// from; the bare name (HTML Help then looks in the current folder) when it is not there.
void FindHelpFile(char* path, DWORD size)
{
    if (PathBesideProgram(kHelpFile, path, size) && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return;
    lstrcpynA(path, kHelpFile, size);
}

}  // namespace

void ShowHelp(HWND dialog)
{
    char path[PATH_TEXT_SIZE];
    FindHelpFile(path, sizeof(path));
    CallHtmlHelp(dialog, path, HH_DISPLAY_TOC, 0);
}
