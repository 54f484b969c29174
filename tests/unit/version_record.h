// A version record as GetVersionEx fills it, for the texts made from one.
#pragma once
#include <windows.h>

#include <cstring>

inline OSVERSIONINFOA VersionRecord(DWORD platform, DWORD major, DWORD minor, DWORD build = 0,
                                    const char* servicePack = "")
{
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof(v);
    v.dwPlatformId = platform;
    v.dwMajorVersion = major;
    v.dwMinorVersion = minor;
    v.dwBuildNumber = build;
    strcpy(v.szCSDVersion, servicePack);
    return v;
}
