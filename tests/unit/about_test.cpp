// The About box: its texts, and the real dialog of ostrel_about.dll shown modally in-process and
// driven from a timer while OstrelAbout runs; then command 422 of the main dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "about/about_dialog.h"
#include "about/about_resource.h"
#include "about/about_text.h"
#include "about/ostrel_about.h"
#include "feedback/feedback.h"
#include "flatcolor/flat_color.h"
#include "resources/resource.h"
#include "shell/main_dialog.h"
#include "tests/shared/dialog_layout.h"
#include "tests/unit/main_dialog_fixture.h"
#include "tests/unit/version_record.h"
#include "version/tintora_version.h"

namespace {

// ---- texts -----------------------------------------------------------------------------

// Releases as GetVersionEx describes them, and the family and version line a user must see (the
// box itself, run as known systems, follows below).
TEST(AboutText, KnownReleasesShowTheirFamilyAndVersion)
{
    const DWORD nine = VER_PLATFORM_WIN32_WINDOWS, nt = VER_PLATFORM_WIN32_NT;
    const char *const nineFamily = "Windows 95/98/Me", *const ntFamily = "Windows NT/2000";
    const struct {
        OSVERSIONINFOA version;
        const char* family;
        const char* line;
    } releases[] = {
        // Outside NT the high half of the build number repeats the version.
        {VersionRecord(nine, 4, 0, MAKELONG(950, 0x0400)), nineFamily, "4.0.950 "},
        {VersionRecord(nine, 4, 90, MAKELONG(3000, 0x045A), " "), nineFamily, "4.90.3000  "},
        {VersionRecord(VER_PLATFORM_WIN32s, 3, 10, MAKELONG(5, 0x030A)), "Unknown OS", "3.10.5 "},
        {VersionRecord(nt, 5, 0, 2195), ntFamily, "5.0.2195 "},
        {VersionRecord(nt, 5, 1, 2600, "Service Pack 2"), ntFamily, "5.1.2600 Service Pack 2"},
        {VersionRecord(nt, 4, 0, 0x10001), ntFamily, "4.0.65537 "},  // on NT the whole build
        {VersionRecord(3, 4, 20, 0), "Unknown OS", "4.20.0 "},       // a platform of the future
    };
    for (const auto& release : releases) {
        char line[ABOUT_TEXT_SIZE];
        FormatOsVersionLine(release.version, line, sizeof(line));
        EXPECT_EQ(release.line, std::string(line));
        EXPECT_STREQ(release.family, OsFamilyName(release.version.dwPlatformId)) << release.line;
    }
}

TEST(AboutText, TitleTooLongForTheBufferIsCut)
{
    struct {
        char text[ABOUT_TEXT_SIZE];
        char guard[16];
    } buffer;
    memset(&buffer, 'G', sizeof(buffer));
    FormatAboutTitle("Ostrel Tintora", buffer.text, sizeof(buffer.text));
    EXPECT_STREQ("About Ostrel Tintora", buffer.text);

    const std::string longTitle(600, 'T');
    FormatAboutTitle(longTitle.c_str(), buffer.text, sizeof(buffer.text));
    EXPECT_EQ(ABOUT_TEXT_SIZE - 1u, strlen(buffer.text));
    EXPECT_EQ("About " + longTitle.substr(0, ABOUT_TEXT_SIZE - 7), buffer.text);
    for (char c : buffer.guard)
        ASSERT_EQ('G', c) << "written past the buffer";
}

// A system without the hand cursor, as Windows 95 and NT 4.0 are.
HCURSOR WINAPI LoadCursorWithoutHand(HINSTANCE instance, LPCSTR name)
{
    return name == IDC_HAND ? nullptr : LoadCursorA(instance, name);
}

TEST(AboutLink, CursorIsTheHandOrTheArrowWhereThereIsNoHand)
{
    const HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(nullptr, hand);
    ASSERT_NE(hand, arrow);
    EXPECT_EQ(hand, LoadLinkCursor(LoadCursorA));
    EXPECT_EQ(arrow, LoadLinkCursor(LoadCursorWithoutHand));
}

// ---- driving the modal dialog ------------------------------------------------------------

// Steps run one per timer tick while OstrelAbout's modal loop runs; the last one closes the
// box. A box still open long after its steps is ended so a failing test cannot hang the run.
struct AboutScript {
    std::vector<std::function<void(HWND)>> steps;
    size_t next = 0;
    HWND about = nullptr;
    DWORD start = 0;
    bool busy = false;
    bool forced = false;
};
// Timers carry no data of their own: the script being run.
AboutScript* g_script = nullptr;

BOOL CALLBACK FindAboutProc(HWND window, LPARAM lparam)
{
    char name[32] = "";
    GetClassNameA(window, name, sizeof(name));
    if (strcmp(name, "#32770") == 0 && IsWindowVisible(window) && GetDlgItem(window, IDC_ABOUT_HOMEPAGE)) {
        *reinterpret_cast<HWND*>(lparam) = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindAboutBox()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindAboutProc, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK OnScriptTimer(HWND, UINT, UINT_PTR, DWORD)
{
    AboutScript* script = g_script;
    if (!script || script->busy)
        return;
    script->busy = true;
    if (!script->about)
        script->about = FindAboutBox();
    if (script->about && IsWindow(script->about) && script->next < script->steps.size()) {
        script->steps[script->next++](script->about);
    } else if (GetTickCount() - script->start > 30000) {
        HWND open = script->about && IsWindow(script->about) ? script->about : FindAboutBox();
        if (open) {
            script->forced = true;
            EndDialog(open, 77);
        }
    }
    script->busy = false;
}

// Runs `show` (which ends up in OstrelAbout) with the script's steps; returns what show returned.
template <typename Show>
auto RunWithScript(AboutScript& script, Show show) -> decltype(show())
{
    script.start = GetTickCount();
    g_script = &script;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, OnScriptTimer);
    auto result = show();
    KillTimer(nullptr, timer);
    g_script = nullptr;
    EXPECT_FALSE(script.forced) << "the About box was still open after its steps";
    EXPECT_EQ(script.steps.size(), script.next) << "the About box closed before all steps ran";
    return result;
}

std::string ItemText(HWND dialog, int id)
{
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

std::string WindowTitle(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

AboutDialogState* StateOf(HWND about)
{
    return reinterpret_cast<AboutDialogState*>(GetWindowLongPtrA(about, GWLP_USERDATA));
}

void Click(HWND about, int id)
{
    SendDlgItemMessageA(about, id, BM_CLICK, 0, 0);
}

// Callbacks record whom they were called with.
struct Calls {
    std::vector<HWND> credits;
    std::vector<HWND> feedback;
};
Calls g_calls;
void RecordCredits(HWND about)
{
    g_calls.credits.push_back(about);
}
void RecordFeedback(HWND about)
{
    g_calls.feedback.push_back(about);
}

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_calls = Calls();
        owner = CreateWindowExA(0, "Static", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, owner);
        record.hwndOwner = owner;
        record.pszCompany = "Test Company";
        record.pszProgram = "Test Program";
        record.pszCopyright = "Copyright line";
        record.pszLicense = "License line";
        record.pszVersion = "9.87";
        record.pszReleaseDate = "January 2 2003";
        record.pszProductUrl = "tintora-test:product";
        record.pszHomeUrl = "tintora-test:home";
        record.pfnCredits = RecordCredits;
        record.pfnFeedback = RecordFeedback;
    }

    void TearDown() override
    {
        if (owner)
            DestroyWindow(owner);
    }

    bool Show(AboutScript& script)
    {
        return RunWithScript(script, [&] { return OstrelAbout(&record); });
    }

    OSTRELABOUT record = {};
    HWND owner = nullptr;
};

TEST_F(AboutBoxTest, ShowsTheRecordsTexts)
{
    AboutScript script;
    script.steps.push_back([&](HWND about) {
        EXPECT_EQ("About Test Program", WindowTitle(about));
        EXPECT_EQ(owner, GetWindow(about, GW_OWNER));
        EXPECT_FALSE(IsWindowEnabled(owner)) << "a modal box disables its owner";
        EXPECT_EQ("Test Program", ItemText(about, IDC_ABOUT_PROGRAM));
        EXPECT_EQ("Copyright line", ItemText(about, IDC_ABOUT_COPYRIGHT));
        EXPECT_EQ("tintora-test:home", ItemText(about, IDC_ABOUT_LINK));
        EXPECT_EQ("License line", ItemText(about, IDC_ABOUT_LICENSE));
        EXPECT_EQ("9.87", ItemText(about, IDC_ABOUT_VERSION));
        EXPECT_EQ("January 2 2003", ItemText(about, IDC_ABOUT_RELEASE_DATE));
        // The company is not shown anywhere.
        for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            EXPECT_EQ(std::string::npos, WindowTitle(child).find("Test Company"));

        // The addresses are the box's own copies.
        AboutDialogState* state = StateOf(about);
        ASSERT_NE(nullptr, state);
        EXPECT_STREQ("tintora-test:home", state->homeUrl.Data());
        EXPECT_STREQ("tintora-test:product", state->productUrl.Data());
        EXPECT_NE(record.pszHomeUrl, state->homeUrl.Data());
        EXPECT_NE(record.pszProductUrl, state->productUrl.Data());
        EXPECT_EQ(GetDlgItem(about, IDOK), GetFocus());
        Click(about, IDOK);
    });
    EXPECT_TRUE(Show(script));
    EXPECT_TRUE(IsWindowEnabled(owner));
}

// The box with the browser's version as the test stores it: HKEY_LOCAL_MACHINE stands, in this
// process, for a key of the test's own.
TEST_F(AboutBoxTest, ShowsTheBrowsersVersionAsTheRegistryHoldsIt)
{
    const std::string machine = "Software\\Ostrel\\TintoraTestMachine";
    const std::string browser = machine + "\\Software\\Microsoft\\Internet Explorer";
    HKEY root = nullptr, key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, machine.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &root, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_LOCAL_MACHINE, root));
    auto shown = [&] {
        std::string text = "(no box)";
        AboutScript script;
        script.steps.push_back([&](HWND about) {
            text = ItemText(about, IDC_ABOUT_IE_VERSION);
            Click(about, IDOK);
        });
        EXPECT_TRUE(Show(script));
        return text;
    };
    EXPECT_EQ("", shown()) << "no browser";
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, browser.c_str(), 0, nullptr, 0, KEY_WRITE,
                                             nullptr, &key, nullptr));
    EXPECT_EQ("", shown()) << "a browser without its version";
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("6.0.2900.2180"), 14);
    EXPECT_EQ("6.0.2900.2180", shown());
    // Without its terminator, which Wine adds to every string value.
    RegSetValueExA(key, "Version", 0, REG_BINARY, reinterpret_cast<const BYTE*>("5.50.4807.2300"), 14);
    EXPECT_EQ("5.50.4807.2300", shown()) << "stored without its terminator";

    RegCloseKey(key);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(root);
    for (std::string k = browser; k.size() >= machine.size(); k.erase(k.rfind('\\')))
        RegDeleteKeyA(HKEY_CURRENT_USER, k.c_str());
}

// Wine takes a program's Windows version from HKCU\Software\Wine\AppDefaults\<name> as it
// starts: a copy of this program under a name of its own runs this test again as that system,
// with the texts the box must show there in its environment.
const char kSystemTexts[] = "TINTORA_ABOUT_SYSTEM";

DWORD RunCopyAs(const char* system, const char* texts)
{
    char self[MAX_PATH] = "", temp[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    GetTempPathA(MAX_PATH, temp);
    const std::string name = "tintora_about_" + std::to_string(GetCurrentProcessId()) + "_" + system + ".exe",
                      copy = temp + name;
    const std::string settings = "Software\\Wine\\AppDefaults\\" + name;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string command =
        "\"" + copy + "\" --gtest_brief=1 --gtest_filter=" + test->test_suite_name() + "." + test->name();
    // The copy finds ostrel_about.dll in its current folder.
    std::string folder = self;
    folder.erase(folder.find_last_of('\\'));
    DWORD exitCode = 99;
    HKEY key;
    if (CopyFileA(self, copy.c_str(), FALSE) &&
        RegCreateKeyExA(HKEY_CURRENT_USER, settings.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(system), strlen(system) + 1);
        RegCloseKey(key);
        SetEnvironmentVariableA(kSystemTexts, texts);
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                           &startup, &process)) {
            // The copy's own box gives up after the hang guard.
            if (WaitForSingleObject(process.hProcess, 2 * kHangGuardMs) != WAIT_OBJECT_0)
                TerminateProcess(process.hProcess, 98);
            WaitForSingleObject(process.hProcess, kHangGuardMs);
            GetExitCodeProcess(process.hProcess, &exitCode);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        SetEnvironmentVariableA(kSystemTexts, nullptr);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, settings.c_str());
    DeleteFileA(copy.c_str());
    return exitCode;
}

TEST_F(AboutBoxTest, ShowsTheFamilyAndVersionOfTheSystemItRunsOn)
{
    char texts[256] = "";
    if (GetEnvironmentVariableA(kSystemTexts, texts, sizeof(texts))) {
        const std::string expected = texts;
        AboutScript script;
        script.steps.push_back([&](HWND about) {
            EXPECT_EQ(expected, ItemText(about, IDC_ABOUT_OS) + "|" + ItemText(about, IDC_ABOUT_OS_VERSION));
            Click(about, IDOK);
        });
        EXPECT_TRUE(Show(script));
        return;
    }
    if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "only Wine starts a program as another system";
    const struct {
        const char* system;
        const char* texts;  // family|version line
    } systems[] = {
        {"win31", "Unknown OS|3.10.0 Win32s 1.3"},
        {"win98", "Windows 95/98/Me|4.10.2222  A "},
        {"nt40", "Windows NT/2000|4.0.1381 Service Pack 6a"},
    };
    for (const auto& s : systems)
        EXPECT_EQ(0u, RunCopyAs(s.system, s.texts))
            << "the box on " << s.system << ": the copy's report is above";
}

// ---- the box's layout, as a reader sees it ---------------------------------------------------

TEST_F(AboutBoxTest, SizedCentredAndReadInRowsWithTheButtonsAtTheFoot)
{
    AboutScript script;
    script.steps.push_back([&](HWND about) {
        RECT client;
        GetClientRect(about, &client);
        RECT size = {0, 0, 227, 154};
        MapDialogRect(about, &size);
        EXPECT_EQ(size.right, client.right);
        EXPECT_EQ(size.bottom, client.bottom);

        // Centred on the screen's work area, whatever the owner.
        RECT window, work;
        GetWindowRect(about, &window);
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_NEAR((work.left + work.right) / 2, (window.left + window.right) / 2, 2);
        EXPECT_NEAR((work.top + work.bottom) / 2, (window.top + window.bottom) / 2, 2);
        const LONG style = GetWindowLongA(about, GWL_STYLE);
        EXPECT_EQ(WS_CAPTION | WS_SYSMENU | WS_POPUP, style & (WS_CAPTION | WS_SYSMENU | WS_POPUP));

        // Every control shown inside the box and on no other.
        const std::vector<HWND> children = layout::Children(about);
        for (size_t i = 0; i < children.size(); ++i) {
            SCOPED_TRACE(layout::Describe(children[i]));
            const RECT r = layout::Place(children[i]);
            EXPECT_TRUE(IsWindowVisible(children[i]));
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom);
            for (size_t j = i + 1; j < children.size(); ++j) {
                const RECT other = layout::Place(children[j]);
                RECT common;
                EXPECT_FALSE(IntersectRect(&common, &r, &other))
                    << "overlaps " << layout::Describe(children[j]);
            }
        }

        // The record's lines one under another, then each value right of its label; the rows
        // in the order they read.
        const int lines[] = {IDC_ABOUT_PROGRAM, IDC_ABOUT_COPYRIGHT,  IDC_ABOUT_LINK,
                             IDC_ABOUT_LICENSE, IDC_ABOUT_VERSION,    IDC_ABOUT_RELEASE_DATE,
                             IDC_ABOUT_OS,      IDC_ABOUT_OS_VERSION, IDC_ABOUT_IE_VERSION};
        const char* const labels[] = {nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      "Program Version:",
                                      "Release Date:",
                                      "Operating System:",
                                      "OS Version:",
                                      "IE Version:"};
        for (size_t i = 0; i < sizeof(lines) / sizeof(lines[0]); ++i) {
            SCOPED_TRACE("line " + std::to_string(lines[i]));
            HWND line = GetDlgItem(about, lines[i]);
            ASSERT_NE(nullptr, line);
            if (labels[i]) {
                EXPECT_EQ("static \"" + std::string(labels[i]) + "\"",
                          layout::Describe(layout::Beside(about, line, layout::Side::Left)));
            }
            if (i > 0) {
                EXPECT_LE(layout::Place(GetDlgItem(about, lines[i - 1])).bottom, layout::Place(line).top);
            }
        }

        // One row of buttons under all of that, left to right.
        const int buttons[] = {IDC_ABOUT_CREDITS, IDC_ABOUT_FEEDBACK, IDC_ABOUT_HOMEPAGE, IDOK};
        const char* const captions[] = {"Credits...", "Feedback...", "Homepage...", "OK"};
        const LONG valuesEnd = layout::Place(GetDlgItem(about, IDC_ABOUT_IE_VERSION)).bottom;
        for (size_t i = 0; i < sizeof(buttons) / sizeof(buttons[0]); ++i) {
            SCOPED_TRACE("button " + std::to_string(buttons[i]));
            HWND button = GetDlgItem(about, buttons[i]);
            ASSERT_NE(nullptr, button);
            EXPECT_EQ(captions[i], WindowTitle(button));
            EXPECT_LE(valuesEnd, layout::Place(button).top);
            if (i > 0) {
                const RECT left = layout::Place(GetDlgItem(about, buttons[i - 1]));
                EXPECT_TRUE(layout::SameRow(left, layout::Place(button)));
                EXPECT_LE(left.right, layout::Place(button).left);
            }
        }
        // Enter presses OK; Tab goes round the four buttons, each a stop, in their row's order.
        EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongA(GetDlgItem(about, IDOK), GWL_STYLE) & BS_TYPEMASK);
        std::string tabOrder;
        HWND stop = GetDlgItem(about, IDOK);
        for (int i = 0; i < 4; ++i) {
            stop = GetNextDlgTabItem(about, stop, FALSE);
            tabOrder += std::to_string(GetDlgCtrlID(stop)) + " ";
        }
        EXPECT_EQ(std::to_string(IDC_ABOUT_CREDITS) + " " + std::to_string(IDC_ABOUT_FEEDBACK) + " " +
                      std::to_string(IDC_ABOUT_HOMEPAGE) + " " + std::to_string(IDOK) + " ",
                  tabOrder);
        // The link reports clicks.
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(about, IDC_ABOUT_LINK), GWL_STYLE) & SS_NOTIFY);
        Click(about, IDOK);
    });
    EXPECT_TRUE(Show(script));
}

HICON SmallIconOf(HWND window)
{
    return reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
}

TEST_F(AboutBoxTest, SmallIconComesFromTheRecordOrTheOwner)
{
    HICON ownersIcon = LoadIconA(nullptr, IDI_APPLICATION);
    HICON recordsIcon = LoadIconA(nullptr, IDI_INFORMATION);
    auto iconShown = [&](DWORD flags, HICON ownerSmall) {
        record.dwFlags = flags;
        record.hIcon = recordsIcon;
        SendMessageA(owner, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ownerSmall));
        HICON small = nullptr, big = reinterpret_cast<HICON>(1);
        AboutScript script;
        script.steps.push_back([&](HWND about) {
            small = SmallIconOf(about);
            big = reinterpret_cast<HICON>(SendMessageA(about, WM_GETICON, ICON_BIG, 0));
            Click(about, IDOK);
        });
        EXPECT_TRUE(Show(script));
        EXPECT_EQ(nullptr, big) << "the large icon is not set";
        return small;
    };
    EXPECT_EQ(recordsIcon, iconShown(OAF_USEICON, ownersIcon));
    EXPECT_EQ(ownersIcon, iconShown(0, ownersIcon));
    EXPECT_EQ(nullptr, iconShown(0, nullptr)) << "an owner without a small icon gives the box none";
}

COLORREF Pixel(const std::vector<COLORREF>& pixels, int width, int x, int y)
{
    return pixels[static_cast<size_t>(y) * width + x];
}

// The control as it is on the screen, as COLORREFs.
// What the control paints, drawn into a bitmap as for a print: the screen may not show a paint
// yet when the test looks. The bitmap starts magenta, which the control must cover.
std::vector<COLORREF> CaptureWindow(HWND window, int* width, int* height)
{
    RECT r;
    GetClientRect(window, &r);
    *width = r.right;
    *height = r.bottom;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, *width, *height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SetBkColor(memory, RGB(255, 0, 255));
    ExtTextOutA(memory, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < *height; ++y)
        for (int x = 0; x < *width; ++x)
            pixels.push_back(GetPixel(memory, x, y));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

TEST_F(AboutBoxTest, LinkIsBlueUnderlinedWithAHandCursorAndItsFontIsMadeOnce)
{
    HFONT linkFont = nullptr;
    AboutScript script;
    script.steps.push_back([&](HWND about) {
        UpdateWindow(about);
        AboutDialogState* state = StateOf(about);
        ASSERT_NE(nullptr, state);
        linkFont = state->linkFont;
        ASSERT_NE(nullptr, linkFont) << "made at the link's first drawing";

        LOGFONTA logical = {};
        ASSERT_TRUE(GetObjectA(linkFont, sizeof(logical), &logical));
        EXPECT_TRUE(logical.lfUnderline);
        EXPECT_FALSE(logical.lfItalic);
        EXPECT_FALSE(logical.lfStrikeOut);
        EXPECT_EQ(ANTIALIASED_QUALITY, logical.lfQuality);

        // Otherwise the dialog's font: same face, cell height and weight.
        HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(about, WM_GETFONT, 0, 0));
        HDC dc = GetDC(about);
        HGDIOBJ old = SelectObject(dc, linkFont);
        TEXTMETRICA linkMetrics = {}, dialogMetrics = {};
        char linkFace[LF_FACESIZE] = "", dialogFace[LF_FACESIZE] = "";
        GetTextMetricsA(dc, &linkMetrics);
        GetTextFaceA(dc, LF_FACESIZE, linkFace);
        SelectObject(dc, dialogFont);
        GetTextMetricsA(dc, &dialogMetrics);
        GetTextFaceA(dc, LF_FACESIZE, dialogFace);
        SelectObject(dc, old);
        ReleaseDC(about, dc);
        EXPECT_STREQ(dialogFace, linkFace);
        EXPECT_EQ(dialogMetrics.tmHeight, linkMetrics.tmHeight);
        EXPECT_EQ(dialogMetrics.tmWeight, linkMetrics.tmWeight);
    });
    script.steps.push_back([&](HWND about) {
        HWND link = GetDlgItem(about, IDC_ABOUT_LINK);
        RedrawWindow(about, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_EQ(linkFont, StateOf(about)->linkFont) << "built once";

        int width = 0, height = 0;
        std::vector<COLORREF> pixels = CaptureWindow(link, &width, &height);
        const COLORREF blue = RGB(0, 0, 255), face = GetSysColor(COLOR_BTNFACE);
        int bluePixels = 0, longestRun = 0, otherPixels = 0;
        for (int y = 0; y < height; ++y) {
            int run = 0;
            for (int x = 0; x < width; ++x) {
                COLORREF c = Pixel(pixels, width, x, y);
                if (c == blue) {
                    ++bluePixels;
                    longestRun = std::max(longestRun, ++run);
                } else {
                    run = 0;
                    // Smoothed edges lie between the face colour and blue; anything else is wrong.
                    if (GetRValue(c) > GetRValue(face) + 4 || GetGValue(c) > GetGValue(face) + 4 ||
                        GetBValue(c) + 4 < GetBValue(face))
                        ++otherPixels;
                }
            }
        }
        EXPECT_GT(bluePixels, 40) << "the link text is pure blue";
        EXPECT_GT(longestRun, 50) << "an underline runs under the text";
        EXPECT_EQ(0, otherPixels) << "background is the button face";
        EXPECT_EQ(face, Pixel(pixels, width, width - 1, 0));

        // The hand over the link, the default elsewhere.
        EXPECT_TRUE(SendMessageA(about, WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(LoadCursorA(nullptr, IDC_HAND), GetCursor());
        SendMessageA(about, WM_SETCURSOR, reinterpret_cast<WPARAM>(GetDlgItem(about, IDOK)),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_NE(LoadCursorA(nullptr, IDC_HAND), GetCursor());
        SendMessageA(about, WM_SETCURSOR, reinterpret_cast<WPARAM>(GetDlgItem(about, IDC_ABOUT_COPYRIGHT)),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_NE(LoadCursorA(nullptr, IDC_HAND), GetCursor());

        // Only the link is coloured.
        HWND copyright = GetDlgItem(about, IDC_ABOUT_COPYRIGHT);
        HDC dc = GetDC(copyright);
        SetTextColor(dc, RGB(1, 2, 3));
        SendMessageA(about, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(copyright));
        EXPECT_NE(RGB(0, 0, 255), GetTextColor(dc));
        SetTextColor(dc, RGB(1, 2, 3));
        SendMessageA(about, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link));
        EXPECT_EQ(RGB(0, 0, 255), GetTextColor(dc));
        ReleaseDC(copyright, dc);
        Click(about, IDOK);
    });
    EXPECT_TRUE(Show(script));
    EXPECT_EQ(0u, GetObjectType(linkFont)) << "the link font is deleted with the box";
}

TEST_F(AboutBoxTest, ButtonsCallBackWithTheBoxItself)
{
    HWND shown = nullptr;
    AboutScript script;
    script.steps.push_back([&](HWND about) {
        shown = about;
        Click(about, IDC_ABOUT_CREDITS);
        ASSERT_EQ(1u, g_calls.credits.size());
        EXPECT_TRUE(g_calls.feedback.empty());
        Click(about, IDC_ABOUT_FEEDBACK);
        ASSERT_EQ(1u, g_calls.feedback.size());
        EXPECT_EQ(1u, g_calls.credits.size());
        // Only clicks count.
        SendMessageA(about, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_CREDITS, BN_DOUBLECLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(about, IDC_ABOUT_CREDITS)));
        SendMessageA(about, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_FEEDBACK, BN_SETFOCUS),
                     reinterpret_cast<LPARAM>(GetDlgItem(about, IDC_ABOUT_FEEDBACK)));
        EXPECT_EQ(1u, g_calls.credits.size());
        EXPECT_EQ(1u, g_calls.feedback.size());
        EXPECT_TRUE(IsWindowVisible(about)) << "the box stays open after its callbacks";
        Click(about, IDOK);
    });
    EXPECT_TRUE(Show(script));
    ASSERT_EQ(1u, g_calls.credits.size());
    ASSERT_EQ(1u, g_calls.feedback.size());
    EXPECT_EQ(shown, g_calls.credits[0]);
    EXPECT_EQ(shown, g_calls.feedback[0]);
    EXPECT_NE(owner, g_calls.credits[0]);
}

void PostKey(HWND window, UINT key)
{
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

TEST_F(AboutBoxTest, EscapeAndCancelLeaveItOpen)
{
    AboutScript script;
    script.steps.push_back([&](HWND) { PostKey(GetFocus(), VK_ESCAPE); });
    script.steps.push_back([&](HWND about) {
        EXPECT_TRUE(IsWindowVisible(about));
        SendMessageA(about, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(IsWindowVisible(about));
        PostKey(GetDlgItem(about, IDC_ABOUT_CREDITS), VK_ESCAPE);
    });
    script.steps.push_back([&](HWND about) {
        EXPECT_TRUE(IsWindowVisible(about));
        EXPECT_TRUE(g_calls.credits.empty());
        Click(about, IDOK);
    });
    EXPECT_TRUE(Show(script));
}

TEST_F(AboutBoxTest, CaptionCloseEnterAndOkReturnTrue)
{
    AboutScript closeBox;
    closeBox.steps.push_back([&](HWND about) { PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_TRUE(Show(closeBox));

    // Focus starts on OK, so Enter closes the box instead of pressing Credits.
    AboutScript enter;
    enter.steps.push_back([&](HWND) { PostKey(GetFocus(), VK_RETURN); });
    EXPECT_TRUE(Show(enter));
    EXPECT_TRUE(g_calls.credits.empty());

    AboutScript close;
    close.steps.push_back([&](HWND about) { SendMessageA(about, WM_CLOSE, 0, 0); });
    EXPECT_TRUE(Show(close));
}

TEST_F(AboutBoxTest, TooLongATitleIsCutInTheCaption)
{
    const std::string program(1000, 'P');
    record.pszProgram = program.c_str();
    std::string title, firstLine;
    AboutScript script;
    script.steps.push_back([&](HWND about) {
        title = WindowTitle(about);
        char line[2000] = "";
        GetDlgItemTextA(about, IDC_ABOUT_PROGRAM, line, sizeof(line));
        firstLine = line;
        Click(about, IDOK);
    });
    EXPECT_TRUE(Show(script));
    EXPECT_EQ("About " + program.substr(0, ABOUT_TEXT_SIZE - 7), title);
    EXPECT_EQ(program, firstLine);
}

// ---- what the shell was asked to open ------------------------------------------------------

std::string Folder(const std::string& path)
{
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::string ThisProgramsFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return Folder(path);
}

bool SetDefault(HKEY root, const std::string& key, const std::string& value)
{
    HKEY created;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(created, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1));
    RegCloseKey(created);
    return result == ERROR_SUCCESS;
}

bool GetDefault(HKEY root, const std::string& key, std::string* value)
{
    char text[512] = "";
    LONG size = sizeof(text);
    if (RegQueryValueA(root, key.c_str(), text, &size) != ERROR_SUCCESS)
        return false;
    *value = text;
    return true;
}

// Makes the shell's "open" of the test address scheme "tintora-test:" and of .htm files start
// shell_open_recorder, which notes what it was given; undone at the end. Classes are
// registered machine-wide, where the shell looks for them.
class ShellOpenRecorder {
public:
    ShellOpenRecorder()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        record_ = std::string(temp) + "tintora_shell_open.txt";
        DeleteFileA(record_.c_str());
        const std::string command =
            "\"" + ThisProgramsFolder() + "shell_open_recorder.exe\" \"" + record_ + "\" \"%1\"";
        hadHtm_ = GetDefault(HKEY_CLASSES_ROOT, ".htm", &oldHtm_);
        ready_ = SetDefault(HKEY_CLASSES_ROOT, "tintora-test", "URL:Tintora test") &&
                 SetDefault(HKEY_CLASSES_ROOT, "tintora-test\\shell\\open\\command", command) &&
                 SetDefault(HKEY_CLASSES_ROOT, "TintoraTest.htm\\shell\\open\\command", command) &&
                 SetDefault(HKEY_CLASSES_ROOT, ".htm", "TintoraTest.htm");
        HKEY scheme;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "tintora-test", 0, KEY_WRITE, &scheme) == ERROR_SUCCESS) {
            RegSetValueExA(scheme, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
            RegCloseKey(scheme);
        }
    }
    ~ShellOpenRecorder()
    {
        for (const char* key :
             {"tintora-test\\shell\\open\\command", "tintora-test\\shell\\open", "tintora-test\\shell",
              "tintora-test", "TintoraTest.htm\\shell\\open\\command", "TintoraTest.htm\\shell\\open",
              "TintoraTest.htm\\shell", "TintoraTest.htm"})
            RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
        if (hadHtm_)
            SetDefault(HKEY_CLASSES_ROOT, ".htm", oldHtm_);
        else
            RegDeleteKeyA(HKEY_CLASSES_ROOT, ".htm");
        DeleteFileA(record_.c_str());
    }
    ShellOpenRecorder(const ShellOpenRecorder&) = delete;
    ShellOpenRecorder& operator=(const ShellOpenRecorder&) = delete;

    bool Ready() const { return ready_; }

    // The targets opened so far, once there are at least `count` of them (or after the hang
    // guard).
    std::vector<std::string> WaitForOpened(size_t count) const
    {
        std::vector<std::string> lines;
        for (DWORD start = GetTickCount(); GetTickCount() - start < kHangGuardMs; Sleep(50)) {  // a poll
            lines.clear();
            if (FILE* f = fopen(record_.c_str(), "rb")) {
                char line[1024];
                while (fgets(line, sizeof(line), f)) {
                    line[strcspn(line, "\r\n")] = '\0';
                    lines.push_back(line);
                }
                fclose(f);
            }
            if (lines.size() >= count)
                break;
        }
        return lines;
    }

private:
    std::string record_;
    std::string oldHtm_;
    bool hadHtm_ = false;
    bool ready_ = false;
};

TEST_F(AboutBoxTest, LinkOpensTheHomePageAndHomepageTheProductPage)
{
    ShellOpenRecorder shell;
    ASSERT_TRUE(shell.Ready());
    AboutScript script;
    script.steps.push_back([&](HWND about) {
        // A press on the link, as the mouse gives it.
        HWND link = GetDlgItem(about, IDC_ABOUT_LINK);
        SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        std::vector<std::string> opened = shell.WaitForOpened(1);
        ASSERT_EQ(1u, opened.size());
        EXPECT_EQ("tintora-test:home", opened[0]);

        Click(about, IDC_ABOUT_HOMEPAGE);
        opened = shell.WaitForOpened(2);
        ASSERT_EQ(2u, opened.size());
        EXPECT_EQ("tintora-test:product", opened[1]);
        Click(about, IDOK);
    });
    EXPECT_TRUE(Show(script));
}

TEST(Credits, OpensTheCreditsPageBesideTheProgram)
{
    const std::string page = ThisProgramsFolder() + "credits.htm";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(page.c_str())) << "the build puts it there";
    ShellOpenRecorder shell;
    ASSERT_TRUE(shell.Ready());

    // Whatever the current folder is.
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    SetCurrentDirectoryA(temp);
    ShowCredits(nullptr);
    SetCurrentDirectoryA(previous);

    std::vector<std::string> opened = shell.WaitForOpened(1);
    ASSERT_EQ(1u, opened.size());
    EXPECT_STRCASEEQ(page.c_str(), opened[0].c_str());
}

// ---- command 422 -------------------------------------------------------------------------

TEST(AboutCommand, ShowsTheProgramsBoxOwnedByTheMainDialog)
{
    StartParams params{};
    HWND dialog = nullptr;
    ASSERT_NO_FATAL_FAILURE(CreateMainDialog(params, dialog));
    ShowWindow(dialog, SW_SHOW);
    ShellOpenRecorder shell;
    ASSERT_TRUE(shell.Ready());

    AboutScript script;
    script.steps.push_back([&](HWND about) {
        EXPECT_EQ("About Ostrel Tintora", WindowTitle(about));
        EXPECT_EQ(dialog, GetWindow(about, GW_OWNER));
        EXPECT_FALSE(IsWindowEnabled(dialog));
        EXPECT_EQ("Ostrel Tintora", ItemText(about, IDC_ABOUT_PROGRAM));
        // As Unicode: the test shares the program's code page, whichever that is.
        wchar_t copyright[64] = L"";
        GetWindowTextW(GetDlgItem(about, IDC_ABOUT_COPYRIGHT), copyright, 64);
        EXPECT_EQ(std::wstring(L"Copyright \u00A9 2001 Ostrel. All rights reserved."), copyright);
        EXPECT_EQ("http://www.ostrel.example/", ItemText(about, IDC_ABOUT_LINK));
        EXPECT_EQ("Freeware. Provided as is, without any warranty.", ItemText(about, IDC_ABOUT_LICENSE));
        EXPECT_EQ(PRODUCT_VERSION, ItemText(about, IDC_ABOUT_VERSION));
        EXPECT_EQ("May 28 2001", ItemText(about, IDC_ABOUT_RELEASE_DATE));
        AboutDialogState* state = StateOf(about);
        ASSERT_NE(nullptr, state);
        EXPECT_STREQ("http://www.ostrel.example/tintora/", state->productUrl.Data());
        // The main dialog's small icon, since the flag is clear.
        EXPECT_EQ(GetAppState(dialog)->smallIcon, SmallIconOf(about));
        EXPECT_NE(nullptr, SmallIconOf(about));
        EXPECT_EQ(reinterpret_cast<OSTRELABOUTPROC>(ShowCredits), state->credits);
        EXPECT_EQ(reinterpret_cast<OSTRELABOUTPROC>(SendFeedback), state->feedback);

        Click(about, IDC_ABOUT_CREDITS);
        std::vector<std::string> opened = shell.WaitForOpened(1);
        ASSERT_EQ(1u, opened.size());
        EXPECT_STRCASEEQ((ThisProgramsFolder() + "credits.htm").c_str(), opened[0].c_str());
        Click(about, IDOK);
    });
    RunWithScript(script, [&] { return SendDlgItemMessageA(dialog, IDC_ABOUT, BM_CLICK, 0, 0); });
    EXPECT_TRUE(IsWindowEnabled(dialog));
    EXPECT_EQ(nullptr, FindAboutBox());
    DestroyWindow(dialog);
}

}  // namespace
