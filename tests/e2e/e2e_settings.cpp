// What the user sets survives: the settings sheet, a close and restart, the end of a session.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <utility>

#include "flatcolor/flat_color.h"
#include "resources/resource.h"
#include "shell/status_icon.h"
#include "tests/e2e/e2e_checks.h"
#include "tests/e2e/e2e_pick.h"
#include "tests/e2e/e2e_program.h"
#include "tests/e2e/e2e_screen.h"
#include "tests/e2e/e2e_state.h"
#include "tests/shared/clipboard_text.h"
#include "tests/shared/dib_canvas.h"

using namespace e2e;

namespace {

const int kApplyButton = 0x3021;  // the property sheet's Apply

// The open settings sheet and its page.
struct Sheet {
    HWND sheet = nullptr;
    HWND page = nullptr;
};

// Opens the sheet; false (failure recorded) when it or its page does not come.
bool OpenSettings(Tintora& app, Sheet* s)
{
    s->page = nullptr;
    s->sheet = OpenModalDialog(app, kSettings, "Settings");
    auto pageShown = [&] {
        for (HWND child = GetWindow(s->sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetDlgItem(child, 501))
                s->page = child;
        return s->page != nullptr;
    };
    return s->sheet && CHECKED_SOON(pageShown());
}

// What the button tells the sheet when clicked. BM_CLICK goes through the button's own press,
// which needs the focus first; once in a full run a Cancel right after two Applies (which add and
// take away the status icon) was lost that way. And the sheet's own loop sees that it has ended
// only when a message comes out of its queue: a sent command is handled inside the wait, so a
// posted no-op follows, as the input of a real click would.
void PressSheetButton(Tintora& app, const Sheet& s, int id)
{
    HWND button = GetDlgItem(s.sheet, id);
    app.Send(s.sheet, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    PostMessageA(s.sheet, WM_NULL, 0, 0);
}

bool SheetClosed(const Sheet& s)
{
    return WaitUntil(kHangGuardMs, [&] { return !IsWindow(s.sheet); });
}

bool SwatchShowsHex(Tintora& app)
{
    return (GetWindowLongA(app.Item(kCurrentSwatch), GWL_STYLE) & 0x1) != 0;
}

void SetHex(Tintora& app, const char* text)
{
    app.Send(app.Item(kHexEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

DWORD StoredDword(const char* name)
{
    DWORD value = 0, size = sizeof(value);
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0xDEADBEEF;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) !=
        ERROR_SUCCESS)
        value = 0xDEADBEEF;
    RegCloseKey(key);
    return value;
}

TEST(Settings, TheSheetShowsTheOptionsApplyIsEnabledByAChangeAndAppliesAtOnce)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    Sheet s;
    ASSERT_TRUE(OpenSettings(app, &s));

    // A first start's options.
    const struct {
        int box;
        int check;
    } expected[] = {{501, BST_CHECKED},   {502, BST_CHECKED}, {503, BST_CHECKED},
                    {504, BST_UNCHECKED}, {505, BST_CHECKED}, {506, BST_CHECKED},
                    {507, BST_UNCHECKED}, {511, BST_CHECKED}, {509, BST_CHECKED}};
    for (const auto& box : expected)
        EXPECT_EQ(static_cast<int>(app.Send(GetDlgItem(s.page, box.box), BM_GETCHECK, 0, 0)), box.check)
            << box.box;
    EXPECT_EQ(WindowText(GetDlgItem(s.page, 511)), "Cop&y the picked color");
    EXPECT_EQ(WindowText(GetDlgItem(s.page, 507)), "Free&ze the screen while grabbing");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(s.sheet, kApplyButton)));

    app.Send(GetDlgItem(s.page, 506), BM_CLICK, 0, 0);  // display hex values off
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(s.sheet, kApplyButton)));
    EXPECT_TRUE(SwatchShowsHex(app));
    PressSheetButton(app, s, kApplyButton);
    EXPECT_FALSE(SwatchShowsHex(app));

    // Cancel after Apply keeps what was applied, and drops the later change.
    app.Send(GetDlgItem(s.page, 506), BM_CLICK, 0, 0);
    PressSheetButton(app, s, IDCANCEL);
    EXPECT_TRUE(SheetClosed(s));
    EXPECT_FALSE(SwatchShowsHex(app));
}

TEST(Settings, TheFreezeBoxGoesThroughTheSheetIntoTheRegistryAndBack)
{
    {
        Tintora app;
        ASSERT_TRUE(app.Start());
        Sheet s;
        ASSERT_TRUE(OpenSettings(app, &s));
        app.Send(GetDlgItem(s.page, 507), BM_CLICK, 0, 0);
        PressSheetButton(app, s, IDOK);
        EXPECT_TRUE(SheetClosed(s));
        ASSERT_TRUE(OpenSettings(app, &s));
        EXPECT_EQ(app.Send(GetDlgItem(s.page, 507), BM_GETCHECK, 0, 0), BST_CHECKED);
        PressSheetButton(app, s, IDCANCEL);
        EXPECT_TRUE(SheetClosed(s));
        PostMessageA(app.Dialog(), WM_CLOSE, 0, 0);
        ExpectCleanExit(app);
    }
    EXPECT_EQ(StoredDword("FreezeGrab") & 0xFF, 1ul);

    Tintora again;
    ASSERT_TRUE(again.Start(false));
    Sheet s;
    ASSERT_TRUE(OpenSettings(again, &s));
    EXPECT_EQ(again.Send(GetDlgItem(s.page, 507), BM_GETCHECK, 0, 0), BST_CHECKED);
    PressSheetButton(again, s, IDCANCEL);
    EXPECT_TRUE(SheetClosed(s));
}

TEST(Settings, OkAppliesTheCaseAndPrefixOptionsCancelChangesNothing)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    SetHex(app, "ABCDEF");

    Sheet s;

    ASSERT_TRUE(OpenSettings(app, &s));
    app.Send(GetDlgItem(s.page, 502), BM_CLICK, 0, 0);  // upper case off
    PressSheetButton(app, s, IDOK);
    EXPECT_TRUE(SheetClosed(s));
    EXPECT_EQ(ControlText(app.Item(kHexEdit)), "abcdef");
    app.Send(app.Item(kCopyHex), BM_CLICK, 0, 0);
    EXPECT_EQ_SOON(ClipboardText(), "#abcdef");

    ASSERT_TRUE(OpenSettings(app, &s));
    app.Send(GetDlgItem(s.page, 503), BM_CLICK, 0, 0);  // prefix off, then thought better of
    PressSheetButton(app, s, IDCANCEL);
    EXPECT_TRUE(SheetClosed(s));
    app.Send(app.Item(kCopyHex), BM_CLICK, 0, 0);
    EXPECT_EQ_SOON(ClipboardText(), "#abcdef");
}

TEST(Settings, OkUntouchedAppliesEveryBoxAgainCancelStillRedrawsTheIconBoxActsAtApply)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    // Undo, behind the program's back, what two of the options' callbacks keep up.
    HWND swatch = app.Item(kCurrentSwatch);
    SetWindowLongA(swatch, GWL_STYLE, GetWindowLongA(swatch, GWL_STYLE) & ~0x1);
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = app.Dialog();
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
    ASSERT_FALSE(SwatchShowsHex(app));
    ASSERT_FALSE(StatusIconPresent(app.Dialog()));

    Sheet s;

    ASSERT_TRUE(OpenSettings(app, &s));
    PressSheetButton(app, s, IDOK);
    EXPECT_TRUE(SheetClosed(s));
    EXPECT_TRUE(SwatchShowsHex(app));
    EXPECT_SOON(StatusIconPresent(app.Dialog()));

    // Text the hex field does not take stays until a redraw writes the colour again.
    SetHex(app, "zz");
    ASSERT_EQ(ControlText(app.Item(kHexEdit)), "zz");
    ASSERT_TRUE(OpenSettings(app, &s));
    PressSheetButton(app, s, IDCANCEL);
    EXPECT_TRUE(SheetClosed(s));
    EXPECT_EQ_SOON(ControlText(app.Item(kHexEdit)), "FFFFFF");

    // The status icon box takes effect at the apply, not at the close.
    ASSERT_TRUE(OpenSettings(app, &s));
    app.Send(GetDlgItem(s.page, 505), BM_CLICK, 0, 0);
    EXPECT_TRUE(StatusIconPresent(app.Dialog()));
    PressSheetButton(app, s, kApplyButton);
    EXPECT_SOON(!StatusIconPresent(app.Dialog()));
    app.Send(GetDlgItem(s.page, 505), BM_CLICK, 0, 0);
    PressSheetButton(app, s, kApplyButton);
    EXPECT_SOON(StatusIconPresent(app.Dialog()));
    PressSheetButton(app, s, IDCANCEL);
    EXPECT_TRUE(SheetClosed(s));
}

TEST(Settings, ACloseAndARestartBringBackColourAxisOptionsPanelAndPlace)
{
    RECT placed;
    {
        Tintora app;
        ASSERT_TRUE(app.Start());
        SetHex(app, "336699");
        // The red swatch's menu item "Use as Background", as the swatch reports it.
        app.SendToDialog(WM_COMMAND, MAKEWPARAM(kRedSwatch, IDM_USE_AS_BACKGROUND),
                         reinterpret_cast<LPARAM>(app.Item(kRedSwatch)));
        app.Send(app.Item(kModeHue), BM_CLICK, 0, 0);
        app.Send(app.Item(kStayOnTop), BM_CLICK, 0, 0);
        app.Send(app.Item(kColors), BM_CLICK, 0, 0);  // collapse the panel
        SetWindowPos(app.Dialog(), nullptr, 50, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        placed = WindowRect(app.Dialog());
        EXPECT_EQ(placed.left, 50L);
        app.SendToDialog(RegisterWindowMessageA(kTitle), 1, 0);
        ExpectCleanExit(app);
    }
    EXPECT_EQ(StoredDword("LastColor"), 0x336699ul);
    EXPECT_EQ(StoredDword("BackgroundColor"), 0x330000ul);
    EXPECT_EQ(StoredDword("SliderMode"), 3ul);
    EXPECT_EQ(StoredDword("MainWindowXPos"), 50ul);

    Tintora again;
    ASSERT_TRUE(again.Start(false));
    EXPECT_EQ(ControlText(again.Item(kHexEdit)), "336699");
    EXPECT_EQ(again.Send(again.Item(kBackgroundSwatch), FCM_GETCOLOR, 0, 0),
              static_cast<LRESULT>(RGB(0x33, 0, 0)));
    EXPECT_EQ(ControlText(again.Item(kContrastRatio)), "3.06:1");
    EXPECT_TRUE(again.IsChecked(kModeHue));
    EXPECT_TRUE(again.IsChecked(kStayOnTop));
    EXPECT_TRUE(GetWindowLongA(again.Dialog(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(again.IsChecked(kColors));
    EXPECT_EQ(WindowRect(again.Dialog()), placed);
}

// A stored background that is no colour (bits past 0xFFFFFF, another type's size) leaves white.
TEST(Settings, AStoredBackgroundThatIsNoColourLeavesWhite)
{
    const DWORD beyond = 0x01FF0000;
    const char text[] = "#000000";
    const struct {
        DWORD type;
        const void* data;
        DWORD size;
    } junk[] = {{REG_DWORD, &beyond, sizeof(beyond)}, {REG_SZ, text, sizeof(text)}};
    for (const auto& value : junk) {
        SCOPED_TRACE(value.type);
        ResetSavedState();
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExA(key, "BackgroundColor", 0, value.type, static_cast<const BYTE*>(value.data),
                                 value.size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
        Tintora app;
        ASSERT_TRUE(app.Start(false));
        EXPECT_EQ(app.Send(app.Item(kBackgroundSwatch), FCM_GETCOLOR, 0, 0),
                  static_cast<LRESULT>(RGB(255, 255, 255)));
        EXPECT_EQ(ControlText(app.Item(kContrastRatio)), "1.00:1");
    }
}

TEST(Settings, TheEndOfTheSessionSavesAsACloseDoes)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    SetHex(app, "0A0B0C");
    app.Send(app.Item(kSavedAdd), BM_CLICK, 0, 0);
    EXPECT_EQ(static_cast<int>(app.SendToDialog(WM_QUERYENDSESSION, 0, 0)), TRUE);
    app.SendToDialog(WM_ENDSESSION, TRUE, 0);
    // After WM_ENDSESSION the system ends the process without any teardown.
    app.Kill();
    EXPECT_EQ(StoredDword("LastColor"), 0x0A0B0Cul);
    EXPECT_EQ(StoredDword("ShowColors") & 0xFF, 1ul);
    char value[16] = "";
    const std::string file = SavedColorsFile();
    EXPECT_EQ(GetPrivateProfileIntA("SavedColors", "nColors", -1, file.c_str()), 1u);
    GetPrivateProfileStringA("SavedColors", "Color0", "", value, sizeof(value), file.c_str());
    EXPECT_EQ(std::string(value), "0A0B0C");
}

// The page's key: the hot-key field and the Windows box; Apply, unless told to press OK.
void SetPickKey(Tintora& app, const Sheet& s, WORD hotKey, bool windowsKey)
{
    app.Send(GetDlgItem(s.page, IDC_PICK_KEY), HKM_SETHOTKEY, hotKey, 0);
    if ((app.Send(GetDlgItem(s.page, IDC_PICK_KEY_WIN), BM_GETCHECK, 0, 0) == BST_CHECKED) != windowsKey)
        app.Send(GetDlgItem(s.page, IDC_PICK_KEY_WIN), BM_CLICK, 0, 0);
}

std::string PickKeyState(const Sheet& s)
{
    return WindowText(GetDlgItem(s.page, IDC_PICK_KEY_STATE));
}

TEST(Settings, AKeyChosenOnThePageWorksAtOnceTheOldOneIsLetGoAndOneTakenIsSaid)
{
    const uint32_t ctrlAltF9 = HOTKEYF_CONTROL << 8 | HOTKEYF_ALT << 8 | VK_F9;
    {
        Tintora app;
        ASSERT_TRUE(app.Start());
        Sheet s;
        ASSERT_TRUE(OpenSettings(app, &s));
        EXPECT_EQ(app.Send(GetDlgItem(s.page, IDC_PICK_KEY), HKM_GETHOTKEY, 0, 0), HOTKEYF_SHIFT << 8 | 'C');
        EXPECT_EQ(PickKeyState(s), "");
        SetPickKey(app, s, static_cast<WORD>(ctrlAltF9), false);
        PressSheetButton(app, s, IDOK);
        ASSERT_TRUE(SheetClosed(s));

        // The old key is free for another program at once, and the new one picks.
        EXPECT_TRUE(RegisterHotKey(nullptr, 1, MOD_WIN | MOD_SHIFT, 'C'));
        UnregisterHotKey(nullptr, 1);
        PressPickKey(ctrlAltF9);
        ASSERT_TRUE(PickRuns(app));
        Key(VK_ESCAPE);
        EXPECT_EQ_SOON(FindPickScreen(app), nullptr);
        PressPickKey(DEFAULT_PICK_KEY);
        ASSERT_TRUE(app.Settle());
        EXPECT_EQ(FindPickScreen(app), nullptr);

        // A key another program holds: the page says so after Apply, and OK keeps the sheet open
        // once so it is seen.
        ASSERT_TRUE(RegisterHotKey(nullptr, 2, MOD_CONTROL | MOD_ALT, VK_F10));
        ASSERT_TRUE(OpenSettings(app, &s));
        SetPickKey(app, s, static_cast<WORD>(ctrlAltF9 + 1), false);
        PressSheetButton(app, s, IDOK);
        EXPECT_EQ_SOON(PickKeyState(s), "Taken by another program");
        ASSERT_TRUE(app.Settle());
        EXPECT_TRUE(IsWindow(s.sheet));
        PressSheetButton(app, s, IDOK);
        ASSERT_TRUE(SheetClosed(s));
        PostMessageA(app.Dialog(), WM_CLOSE, 0, 0);
        ExpectCleanExit(app);
        EXPECT_EQ(StoredDword("PickHotKey"), ctrlAltF9 + 1);
    }
    // Taken at the start: no message, the page says so, and the icon's menu still picks.
    Tintora again;
    ASSERT_TRUE(again.Start(false));
    Sheet s;
    ASSERT_TRUE(OpenSettings(again, &s));
    EXPECT_EQ(PickKeyState(s), "Taken by another program");
    PressSheetButton(again, s, IDCANCEL);
    ASSERT_TRUE(SheetClosed(s));
    UnregisterHotKey(nullptr, 2);
    PostMessageA(again.Dialog(), STATUS_ICON_MESSAGE, 0, WM_CONTEXTMENU);
    ASSERT_SOON(ShownMenu(again.ProcessId()) != nullptr);
    Key('P');
    ASSERT_TRUE(PickRuns(again));
    Key(VK_ESCAPE);
    EXPECT_EQ_SOON(FindPickScreen(again), nullptr);
    ExpectNoMessageBoxes(again);
}

}  // namespace

namespace {

// The sheet's second page, "Formats", brought up; null (failure recorded) when it does not come.
HWND OpenFormatsPage(Tintora& app, const Sheet& s)
{
    app.Send(s.sheet, PSM_SETCURSEL, 1, 0);
    HWND page = nullptr;
    auto found = [&] {
        for (HWND child = GetWindow(s.sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetDlgItem(child, IDC_FORMAT_LIST) && IsWindowVisible(child))
                page = child;
        return page != nullptr;
    };
    return CHECKED_SOON(found()) ? page : nullptr;
}

// Add... pressed and the format's dialog filled in and confirmed; the dialog as it is then
// (closed when it took the format).
HWND AddFormat(Tintora& app, HWND page, const char* name, const char* templ)
{
    PostMessageA(GetDlgItem(page, IDC_FORMAT_ADD), BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    if (!CHECKED_SOON((dialog = FindDialogTitled(app.ProcessId(), "Format")) != nullptr))
        return nullptr;
    app.Send(GetDlgItem(dialog, IDC_FORMAT_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
    app.Send(GetDlgItem(dialog, IDC_FORMAT_TEMPLATE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(templ));
    app.Send(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
             reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    PostMessageA(dialog, WM_NULL, 0, 0);
    return dialog;
}

}  // namespace

TEST(Settings, AFormatAddedOnTheFormatsPageIsWhatTheCopyButtonCopiesAndIsKeptBetweenRuns)
{
    {
        Tintora app;
        ASSERT_TRUE(app.Start());
        SetHex(app, "FF8000");
        Sheet s;
        ASSERT_TRUE(OpenSettings(app, &s));
        HWND page = OpenFormatsPage(app, s);
        ASSERT_TRUE(page);

        // A placeholder that is none is named, and nothing is taken.
        HWND dialog = AddFormat(app, page, "C#", "Color.FromArgb({r}, {g}, {red})");
        ASSERT_TRUE(dialog);
        EXPECT_EQ_SOON(WindowText(GetDlgItem(dialog, IDC_FORMAT_PROBLEM)), "Not a placeholder: {red}");
        EXPECT_TRUE(IsWindow(dialog));
        app.Send(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        ASSERT_SOON(!IsWindow(dialog));
        EXPECT_EQ(app.Send(GetDlgItem(page, IDC_FORMAT_LIST), LB_GETCOUNT, 0, 0), 0);

        dialog = AddFormat(app, page, "C#", "Color.FromArgb({r}, {g}, {b})");
        ASSERT_SOON(!IsWindow(dialog));
        EXPECT_EQ(app.Send(GetDlgItem(page, IDC_FORMAT_LIST), LB_GETCOUNT, 0, 0), 1);

        // Chosen for the copy button: the last of the choices, after hex and the built-in ones.
        HWND combo = GetDlgItem(page, IDC_COPY_FORMAT);
        const LRESULT last = app.Send(combo, CB_GETCOUNT, 0, 0) - 1;
        EXPECT_EQ(last, 15);
        app.Send(combo, CB_SETCURSEL, static_cast<WPARAM>(last), 0);
        app.Send(page, WM_COMMAND, MAKEWPARAM(IDC_COPY_FORMAT, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
        PressSheetButton(app, s, IDOK);
        ASSERT_TRUE(SheetClosed(s));

        app.Click(kCopyHex);
        EXPECT_EQ_SOON(ClipboardText(), "Color.FromArgb(255, 128, 0)");
        PostMessageA(app.Dialog(), WM_CLOSE, 0, 0);
        ExpectCleanExit(app);
    }
    EXPECT_EQ(StoredDword("CopyFormat"), static_cast<DWORD>(IDM_COPY_CUSTOM_FIRST));
    Tintora again;
    ASSERT_TRUE(again.Start(false));
    ASSERT_TRUE(PutClipboardText(nullptr, "stale"));
    again.Click(kCopyHex);
    EXPECT_EQ_SOON(ClipboardText(), "Color.FromArgb(255, 128, 0)");
}

// Formats named and written in other scripts: the page lists them as typed, a copy puts those
// characters on the clipboard (not the bytes of the program's code page read in another), and
// they are stored back unchanged. Kept as the registry's Unicode, set here by the wide call.
TEST(Settings, FormatsInOtherScriptsAreListedCopiedAndKeptAsTheirCharacters)
{
    ResetSavedState();
    const wchar_t formats[] = L"Hue\t{hue}\u00B0\0\u0426\u0432\u0435\u0442\t\u2192 #{RX}{GX}{BX}\0";
    HKEY key;
    ASSERT_EQ(
        RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    RegSetValueExW(key, L"CustomFormats", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(formats),
                   sizeof(formats));
    RegCloseKey(key);
    auto clipboard = [] {
        std::wstring text = L"(none)";
        if (OpenClipboard(nullptr)) {
            if (const auto* data = static_cast<const wchar_t*>(GetClipboardData(CF_UNICODETEXT)))
                text = data;
            CloseClipboard();
        }
        return text;
    };
    {
        Tintora app;
        ASSERT_TRUE(app.Start(false));
        SetHex(app, "FF8000");
        app.Send(app.Item(kCurrentSwatch), WM_COMMAND, IDM_COPY_CUSTOM_FIRST, 0);
        EXPECT_EQ_SOON(clipboard(), std::wstring(L"30\u00B0"));
        app.Send(app.Item(kCurrentSwatch), WM_COMMAND, IDM_COPY_CUSTOM_FIRST + 1, 0);
        EXPECT_EQ_SOON(clipboard(), std::wstring(L"\u2192 #FF8000"));

        Sheet s;
        ASSERT_TRUE(OpenSettings(app, &s));
        HWND page = OpenFormatsPage(app, s);
        ASSERT_TRUE(page);
        wchar_t row[64] = L"";
        DWORD_PTR length = 0;
        SendMessageTimeoutW(GetDlgItem(page, IDC_FORMAT_LIST), LB_GETTEXT, 1, reinterpret_cast<LPARAM>(row),
                            SMTO_NORMAL, kHangGuardMs, &length);
        EXPECT_EQ(std::wstring(row), std::wstring(L"\u0426\u0432\u0435\u0442\t\u2192 #{RX}{GX}{BX}"));
        PressSheetButton(app, s, IDOK);
        ASSERT_TRUE(SheetClosed(s));
        PostMessageA(app.Dialog(), WM_CLOSE, 0, 0);
        ExpectCleanExit(app);
    }
    wchar_t stored[128] = {};
    DWORD size = sizeof(stored) - sizeof(wchar_t);
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    RegQueryValueExW(key, L"CustomFormats", nullptr, nullptr, reinterpret_cast<BYTE*>(stored), &size);
    RegCloseKey(key);
    EXPECT_EQ(std::wstring(stored, size / sizeof(wchar_t)),
              std::wstring(formats, sizeof(formats) / sizeof(wchar_t)));
}

// ---- nothing cut off --------------------------------------------------------------------

namespace {

// Text pixels: the controls draw their text black on a light face.
bool IsInk(uint32_t c)
{
    return ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF) < 3 * 0x70;
}

// The columns from `from` on that hold ink: first and one past the last; {0, 0} for none.
std::pair<int, int> InkColumns(const Pixels& p, int from)
{
    int first = p.width, end = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = from; x < p.width; ++x)
            if (IsInk(p.At(x, y))) {
                first = std::min(first, x);
                end = std::max(end, x + 1);
            }
    return first < end ? std::make_pair(first, end) : std::make_pair(0, 0);
}

// How wide the ink of `text` is, drawn on one line with no bound in the dialogs' font ("MS
// Shell Dlg", 8 points) at `dpi`.
int WholeInkWidth(const std::string& text, int dpi)
{
    DibCanvas canvas(2000, 100);
    HFONT font =
        CreateFontA(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Shell Dlg");
    HGDIOBJ old = SelectObject(canvas.Dc(), font);
    RECT all = {0, 0, 2000, 100};
    FillRect(canvas.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(canvas.Dc(), RGB(0, 0, 0));
    SetBkMode(canvas.Dc(), TRANSPARENT);
    RECT at = {10, 10, 2000, 100};
    DrawTextA(canvas.Dc(), text.c_str(), -1, &at, DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOCLIP);
    GdiFlush();
    SelectObject(canvas.Dc(), old);
    DeleteObject(font);
    Pixels drawn;
    drawn.width = 2000;
    drawn.height = 100;
    drawn.data.assign(canvas.Bits(), canvas.Bits() + 2000 * 100);
    const auto columns = InkColumns(drawn, 0);
    return columns.second - columns.first;
}

// Each static and button of `window` that shows text shows all of it: as much ink across as the
// text drawn whole, none of it in the control's last column (no word wrapped out of sight, no
// letters cut at the edge).
void ExpectWholeTexts(Tintora& app, HWND window, int dpi)
{
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string text = WindowText(child), kind = Lower(ClassName(child));
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (text.empty() || !IsWindowVisible(child) || !IsWindowEnabled(child))
            continue;
        int from = 0;  // where the text may begin: right of a check box's box
        if (kind == "static") {
            const LONG type = style & SS_TYPEMASK;
            if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP)
                continue;
        } else if (kind == "button") {
            const LONG type = style & BS_TYPEMASK;
            const bool box = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                             type == BS_AUTORADIOBUTTON;
            // A pressed-in push-like button shows its text light on dark.
            if (style & BS_PUSHLIKE && app.Send(child, BM_GETCHECK, 0, 0) == BST_CHECKED)
                continue;
            if (box && !(style & BS_PUSHLIKE))
                from = MulDiv(13, dpi, 96) + 1;
            else if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && !(style & BS_PUSHLIKE))
                continue;
        } else {
            continue;
        }
        SCOPED_TRACE(kind + " \"" + text + "\"");
        RECT area = ClientRect(child);
        MapWindowPoints(child, nullptr, reinterpret_cast<POINT*>(&area), 2);
        const Pixels shown = SteadyCapture(app, area, GetAncestor(child, GA_ROOT));
        const auto columns = InkColumns(shown, from);
        EXPECT_GE(columns.second - columns.first, WholeInkWidth(text, dpi) - 1);
        EXPECT_LT(columns.second, shown.width);
    }
}

}  // namespace

class NothingCutOff : public testing::TestWithParam<int> {};

// Common controls 6 draw the boxes and buttons in the visual style, at the dialogs' font and at
// half as many pixels again.
TEST_P(NothingCutOff, TheMainWindowAndTheSettingsPagesShowEveryTextWhole)
{
    const int dpi = GetParam();
    Tintora app;
    app.UseDpi(dpi);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(BringToFront(app.Dialog()));
    MoveTo(POINT{0, 0});
    {
        SCOPED_TRACE("main window");
        ExpectWholeTexts(app, app.Dialog(), dpi);
    }
    Sheet s;
    ASSERT_TRUE(OpenSettings(app, &s));
    // The focus on OK, whose focus rectangle lies inside it: a check box's would frame its text.
    app.Send(s.sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(s.sheet, IDOK)), TRUE);
    {
        SCOPED_TRACE("General page");
        ExpectWholeTexts(app, s.page, dpi);
        ExpectWholeTexts(app, s.sheet, dpi);
    }
    HWND formats = OpenFormatsPage(app, s);
    ASSERT_TRUE(formats);
    app.Send(s.sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(s.sheet, IDOK)), TRUE);
    {
        SCOPED_TRACE("Formats page");
        ExpectWholeTexts(app, formats, dpi);
    }
    PressSheetButton(app, s, IDCANCEL);
    EXPECT_TRUE(SheetClosed(s));
}

INSTANTIATE_TEST_SUITE_P(Screens, NothingCutOff, testing::Values(96, 144),
                         [](const testing::TestParamInfo<int>& info) {
    return "Dpi" + std::to_string(info.param);
});
