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

void FormatOsVersionLine(const OSVERSIONINFOA& version, char* text, size_t size)
{
    const DWORD build =
        version.dwPlatformId == VER_PLATFORM_WIN32_NT ? version.dwBuildNumber : LOWORD(version.dwBuildNumber);
    // The service-pack field need not be terminated: read no further than its size.
    snprintf(text, size, "%lu.%lu.%lu %.*s", static_cast<unsigned long>(version.dwMajorVersion),
             static_cast<unsigned long>(version.dwMinorVersion), static_cast<unsigned long>(build),
             static_cast<int>(sizeof(version.szCSDVersion)), version.szCSDVersion);
}

HCURSOR LoadLinkCursor(HCURSOR(WINAPI* load)(HINSTANCE, LPCSTR))
{
    HCURSOR hand = load(nullptr, IDC_HAND);
    return hand ? hand : load(nullptr, IDC_ARROW);
}
