// The system-configuration report that the feedback mail carries; plain data in, text out.
#pragma once
#include <windows.h>

enum {
    REPORT_TEXT_SIZE = 5000,
    OS_NAME_SIZE = 100,
    BROWSER_VERSION_SIZE = 200,
};

// What the report says besides the system's version record.
struct ReportFacts {
    const char* program;
    const char* programVersion;
    const char* browserVersion;
};

// The operating system's name by platform and version; `name` holds OS_NAME_SIZE characters.
void FormatOsName(const OSVERSIONINFOA& version, char* name);

// Six lines, labels padded to 32 characters, CR LF between them and none after the last;
// `text` holds REPORT_TEXT_SIZE characters.
void ComposeReport(const ReportFacts& facts, const OSVERSIONINFOA& version, char* text);
