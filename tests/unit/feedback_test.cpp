// The feedback report's text: the operating-system names, the build-number rule, the layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "feedback/feedback_report.h"
#include "tests/unit/version_record.h"

namespace {

std::string OsNameOf(const OSVERSIONINFOA& version)
{
    char name[OS_NAME_SIZE];
    FormatOsName(version, name);
    return name;
}

std::string OsName(DWORD platform, DWORD major, DWORD minor)
{
    return OsNameOf(VersionRecord(platform, major, minor));
}

std::string Report(const OSVERSIONINFOA& version, const char* browser = "6.0.2800.1106")
{
    std::vector<char> text(REPORT_TEXT_SIZE, '\x7F');
    ComposeReport(ReportFacts{"Ostrel Tintora", "1.02", browser}, version, text.data());
    return text.data();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return lines;
        start = end + 2;
    }
}

const DWORD kWindows = VER_PLATFORM_WIN32_WINDOWS;
const DWORD kNt = VER_PLATFORM_WIN32_NT;

TEST(ReportOsName, WindowsFamily)
{
    EXPECT_EQ("Windows 95", OsName(kWindows, 4, 0));
    EXPECT_EQ("Windows 98", OsName(kWindows, 4, 10));
    EXPECT_EQ("Windows Me", OsName(kWindows, 4, 90));
    EXPECT_EQ("Unknown (95/98/Me Type)", OsName(kWindows, 4, 3));
    EXPECT_EQ("Unknown (95/98/Me Type)", OsName(kWindows, 4, 11));
    EXPECT_EQ("Unknown (95/98/Me Type)", OsName(kWindows, 3, 10));
    EXPECT_EQ("Unknown (95/98/Me Type)", OsName(kWindows, 5, 0));
}

TEST(ReportOsName, NtFamilyByItsPublishedVersionAndBuildNumbers)
{
    const struct {
        DWORD major, minor, build;
        const char* name;
    } versions[] = {
        {3, 51, 1057, "Windows NT 3.51"},
        {3, 50, 807, "Unknown (NT Type)"},
        {4, 0, 1381, "Windows NT 4.0"},
        {4, 10, 0, "Unknown (NT Type)"},
        {5, 0, 2195, "Windows 2000"},
        {5, 1, 2600, "Windows XP"},
        {5, 2, 3790, "Windows XP x64 / Server 2003"},
        {5, 3, 0, "Unknown (NT Type)"},
        {6, 0, 6002, "Windows Vista"},
        {6, 1, 7601, "Windows 7"},
        {6, 2, 9200, "Windows 8"},
        {6, 3, 9600, "Windows 8.1"},
        {6, 4, 9841, "Unknown OS Type"},
        {10, 0, 10240, "Windows 10"},
        {10, 0, 19045, "Windows 10"},
        {10, 0, 21999, "Windows 10"},
        {10, 0, 22000, "Windows 11"},
        {10, 0, 26100, "Windows 11"},
        {11, 0, 30000, "Unknown OS Type"},
        {2, 0, 0, "Unknown OS Type"},
    };
    for (const auto& v : versions)
        EXPECT_EQ(v.name, OsNameOf(VersionRecord(kNt, v.major, v.minor, v.build, "")))
            << v.major << "." << v.minor << "." << v.build;
}

TEST(ReportOsName, NeitherFamilyNamesThePlatform)
{
    EXPECT_EQ("Unknown OS Type (Platform 0)", OsName(VER_PLATFORM_WIN32s, 3, 10));
    EXPECT_EQ("Unknown OS Type (Platform 7)", OsName(7, 5, 0));
}

TEST(ReportText, SixLinesWithValuesInColumn33AndNoFinalBreak)
{
    const std::string text = Report(VersionRecord(kNt, 5, 1, 2600, "Service Pack 1"));
    EXPECT_EQ("Program:                        Ostrel Tintora\r\n"
              "Program Version:                1.02\r\n"
              "OS:                             Windows XP\r\n"
              "OS Version:                     5.1.2600\r\n"
              "Additional Version Information: Service Pack 1\r\n"
              "Internet Explorer Version:      6.0.2800.1106",
              text);
    const std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(6u, lines.size());
    for (const std::string& line : lines) {
        ASSERT_GT(line.size(), 32u) << line;
        const std::string label = line.substr(0, 32);
        EXPECT_EQ(':', label[label.find_last_not_of(' ')]) << line;
        EXPECT_NE(' ', line[32]) << "the value starts in column 33: " << line;
    }
    EXPECT_EQ(std::string::npos, text.find('\n', text.rfind("\r\n") + 2));
    EXPECT_NE('\n', text.back());
}

TEST(ReportText, BuildNumberIsWholeOnNtAndItsLowHalfElsewhere)
{
    // Windows 98: the high half repeats 4.10.
    EXPECT_EQ("OS Version:                     4.10.2222",
              Lines(Report(VersionRecord(kWindows, 4, 10, MAKELONG(2222, 0x040A))))[3]);
    EXPECT_EQ("OS:                             Windows 98",
              Lines(Report(VersionRecord(kWindows, 4, 10, MAKELONG(2222, 0x040A))))[2]);
    EXPECT_EQ("OS Version:                     5.0.2195", Lines(Report(VersionRecord(kNt, 5, 0, 2195)))[3]);
    // A build number with bits in the high half keeps them on NT only.
    EXPECT_EQ("OS Version:                     5.2.65537",
              Lines(Report(VersionRecord(kNt, 5, 2, 0x10001)))[3]);
    EXPECT_EQ("OS Version:                     3.10.1",
              Lines(Report(VersionRecord(VER_PLATFORM_WIN32s, 3, 10, 0x10001)))[3]);
}

TEST(ReportText, EmptyServicePackEndsTheLineAfterItsLabel)
{
    const std::vector<std::string> lines = Lines(Report(VersionRecord(kNt, 5, 0, 2195, "")));
    ASSERT_EQ(6u, lines.size());
    EXPECT_EQ("Additional Version Information: ", lines[4]);
    EXPECT_EQ(32u, lines[4].size());
}

TEST(ReportText, LongestValuesFit)
{
    // The service-pack field full to its last byte (no terminator) and the longest browser text.
    OSVERSIONINFOA v = VersionRecord(kNt, 4, 0, 1381);
    memset(v.szCSDVersion, 'S', sizeof(v.szCSDVersion));
    const std::string browser(BROWSER_VERSION_SIZE - 1, 'B');
    const std::vector<std::string> lines = Lines(Report(v, browser.c_str()));
    ASSERT_EQ(6u, lines.size());
    EXPECT_EQ(std::string("Additional Version Information: ") + std::string(128, 'S'), lines[4]);
    EXPECT_EQ("Internet Explorer Version:      " + browser, lines[5]);
}

}  // namespace
