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

const char* NtFamilyName(DWORD major, DWORD minor)
{
    switch (major) {
    case 3:
        return minor == 51 ? "Windows NT 3.51" : "Unknown (NT Type)";
    case 4:
        return minor == 0 ? "Windows NT 4.0" : "Unknown (NT Type)";
    case 5:
        if (minor == 0)
            return "Windows 2000";
        return minor == 1 ? "Windows XP" : "Unknown (NT Type)";
    default:
        return "Unknown OS Type";
    }
}

}  // namespace

void FormatOsName(const OSVERSIONINFOA& version, char* name)
{
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32_WINDOWS:
        snprintf(name, OS_NAME_SIZE, "%s", WindowsFamilyName(version.dwMajorVersion, version.dwMinorVersion));
        break;
    case VER_PLATFORM_WIN32_NT:
        snprintf(name, OS_NAME_SIZE, "%s", NtFamilyName(version.dwMajorVersion, version.dwMinorVersion));
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
