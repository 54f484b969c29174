#include "feedback/feedback_report.h"

#include <cstdio>

#include "about/about_text.h"

namespace {

const char* WindowsFamilyName(DWORD major, DWORD minor)
{
    if (major != 4)
        return "Unknown (95/98/Me Type)";
    switch (minor) {
    case 0:
        return "Windows 95";
    case 10:
        return "Windows 98";
    case 90:
        return "Windows Me";
    default:
        return "Unknown (95/98/Me Type)";
    }
}

// Each NT version by its numbers and the first build that bears the name: Windows 11 reports
// 10.0 as Windows 10 does, from build 22000 on.
const struct {
    DWORD major, minor, fromBuild;
    const char* name;
} kNtVersions[] = {
    {3, 51, 0, "Windows NT 3.51"},
    {4, 0, 0, "Windows NT 4.0"},
    {5, 0, 0, "Windows 2000"},
    {5, 1, 0, "Windows XP"},
    {5, 2, 0, "Windows XP x64 / Server 2003"},
    {6, 0, 0, "Windows Vista"},
    {6, 1, 0, "Windows 7"},
    {6, 2, 0, "Windows 8"},
    {6, 3, 0, "Windows 8.1"},
    {10, 0, 0, "Windows 10"},
    {10, 0, 22000, "Windows 11"},
};

const char* NtFamilyName(DWORD major, DWORD minor, DWORD build)
{
    const char* name = nullptr;
    for (const auto& version : kNtVersions)
        if (version.major == major && version.minor == minor && build >= version.fromBuild)
            name = version.name;
    if (name)
        return name;
    return major >= 3 && major <= 5 ? "Unknown (NT Type)" : "Unknown OS Type";
}

}  // namespace

void FormatOsName(const OSVERSIONINFOA& version, char* name)
{
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32_WINDOWS:
        snprintf(name, OS_NAME_SIZE, "%s", WindowsFamilyName(version.dwMajorVersion, version.dwMinorVersion));
        break;
    case VER_PLATFORM_WIN32_NT:
        snprintf(name, OS_NAME_SIZE, "%s",
                 NtFamilyName(version.dwMajorVersion, version.dwMinorVersion, OsBuildNumber(version)));
        break;
    default:
        // Neither family (Win32s is the only one known): the platform number tells support more.
        snprintf(name, OS_NAME_SIZE, "Unknown OS Type (Platform %lu)",
                 static_cast<unsigned long>(version.dwPlatformId));
        break;
    }
}

void ComposeReport(const ReportFacts& facts, const OSVERSIONINFOA& version, char* text)
{
    char osName[OS_NAME_SIZE];
    FormatOsName(version, osName);
    const DWORD build = OsBuildNumber(version);
    snprintf(text, REPORT_TEXT_SIZE,
             "Program:                        %s\r\n"
             "Program Version:                %s\r\n"
             "OS:                             %s\r\n"
             "OS Version:                     %d.%d.%d\r\n"
             "Additional Version Information: %.*s\r\n"
             "Internet Explorer Version:      %s",
             facts.program, facts.programVersion, osName, static_cast<int>(version.dwMajorVersion),
             static_cast<int>(version.dwMinorVersion), static_cast<int>(build),
             static_cast<int>(sizeof(version.szCSDVersion)), version.szCSDVersion, facts.browserVersion);
}
