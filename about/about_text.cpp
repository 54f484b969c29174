#include "about/about_text.h"

#include <cstdio>

void FormatAboutTitle(const char* program, char* text, size_t size)
{
    // snprintf cuts a title too long for the buffer and still terminates it.
    snprintf(text, size, "About %s", program);
}

const char* OsFamilyName(DWORD platform)
{
    switch (platform) {
    case VER_PLATFORM_WIN32_WINDOWS:
        return "Windows 95/98/Me";
    case VER_PLATFORM_WIN32_NT:
        return "Windows NT/2000";
    default:
        return "Unknown OS";
    }
}

DWORD OsBuildNumber(const OSVERSIONINFOA& version)
{
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT ? version.dwBuildNumber
                                                         : LOWORD(version.dwBuildNumber);
}

void FormatOsVersionLine(const OSVERSIONINFOA& version, char* text, size_t size)
{
    // The service-pack field need not be terminated: read no further than its size.
    snprintf(text, size, "%lu.%lu.%lu %.*s", static_cast<unsigned long>(version.dwMajorVersion),
             static_cast<unsigned long>(version.dwMinorVersion),
             static_cast<unsigned long>(OsBuildNumber(version)),
             static_cast<int>(sizeof(version.szCSDVersion)), version.szCSDVersion);
}

BrowserVersion ReadBrowserVersion(HeapBlock<char>* value, DWORD* size)
{
    value->Free();
    *size = 0;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Internet Explorer", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return BrowserVersion::NotInstalled;
    DWORD stored = 0;
    BrowserVersion result = BrowserVersion::Unreadable;
    // One byte more, zeroed: a stored value need not end with its terminator.
    if (RegQueryValueExA(key, "Version", nullptr, nullptr, nullptr, &stored) == ERROR_SUCCESS &&
        value->Allocate(stored + 1) &&
        RegQueryValueExA(key, "Version", nullptr, nullptr, reinterpret_cast<BYTE*>(value->Data()), &stored) ==
            ERROR_SUCCESS) {
        *size = stored;
        result = BrowserVersion::Read;
    }
    RegCloseKey(key);
    return result;
}

HCURSOR LoadLinkCursor(HCURSOR(WINAPI* load)(HINSTANCE, LPCSTR))
{
    HCURSOR hand = load(nullptr, IDC_HAND);
    return hand ? hand : load(nullptr, IDC_ARROW);
}
