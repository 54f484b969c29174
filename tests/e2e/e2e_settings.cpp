// What the user sets survives: the settings sheet, a close and restart, the end of a session.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "tests/e2e/e2e_support.h"
#include "tests/shared/clipboard_text.h"

using namespace e2e;

namespace {

const int kApplyButton = 0x3021;  // the property sheet's Apply

// The open settings sheet and its page.
struct Sheet {
    HWND sheet = nullptr;
    HWND page = nullptr;
};

Sheet OpenSettings(Tintora& app)
{
    Sheet s;
    s.sheet = OpenModalDialog(app, kSettings, "Settings");
    if (!s.sheet)
        return s;
    WaitUntil(kHangGuardMs, [&] {
        for (HWND child = GetWindow(s.sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetDlgItem(child, 501))
                s.page = child;
        return s.page != nullptr;
    });
    return s;
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

E2E_CASE("settings", "the sheet shows the options, Apply is enabled by a change and applies at once")
{
    Tintora app;
    REQUIRE(app.Start());
    Sheet s = OpenSettings(app);
    REQUIRE(s.sheet && s.page);

    // A first start's options.
    const int expected[6] = {BST_CHECKED, BST_CHECKED, BST_CHECKED, BST_UNCHECKED, BST_CHECKED, BST_CHECKED};
    for (int i = 0; i < 6; ++i)
        CHECK_EQ(static_cast<int>(app.Send(GetDlgItem(s.page, 501 + i), BM_GETCHECK, 0, 0)), expected[i]);
    CHECK(!IsWindowEnabled(GetDlgItem(s.sheet, kApplyButton)));

    app.Send(GetDlgItem(s.page, 506), BM_CLICK, 0, 0);  // display hex values off
    CHECK(IsWindowEnabled(GetDlgItem(s.sheet, kApplyButton)));
    CHECK(SwatchShowsHex(app));
    PressSheetButton(app, s, kApplyButton);
    CHECK(!SwatchShowsHex(app));

    // Cancel after Apply keeps what was applied, and drops the later change.
    app.Send(GetDlgItem(s.page, 506), BM_CLICK, 0, 0);
    PressSheetButton(app, s, IDCANCEL);
    CHECK(SheetClosed(s));
    CHECK(!SwatchShowsHex(app));
}

E2E_CASE("settings", "OK applies the case and prefix options, Cancel changes nothing")
{
    Tintora app;
    REQUIRE(app.Start());
    SetHex(app, "ABCDEF");

    Sheet s = OpenSettings(app);
    REQUIRE(s.sheet && s.page);
    app.Send(GetDlgItem(s.page, 502), BM_CLICK, 0, 0);  // upper case off
    PressSheetButton(app, s, IDOK);
    CHECK(SheetClosed(s));
    CHECK_EQ(ControlText(app.Item(kHexEdit)), std::string("abcdef"));
    app.Send(app.Item(kCopyHex), BM_CLICK, 0, 0);
    CHECK_EQ_SOON(ClipboardText(), std::string("#abcdef"));

    s = OpenSettings(app);
    REQUIRE(s.sheet && s.page);
    app.Send(GetDlgItem(s.page, 503), BM_CLICK, 0, 0);  // prefix off, then thought better of
    PressSheetButton(app, s, IDCANCEL);
    CHECK(SheetClosed(s));
    app.Send(app.Item(kCopyHex), BM_CLICK, 0, 0);
    CHECK_EQ_SOON(ClipboardText(), std::string("#abcdef"));
}

E2E_CASE("settings", "OK untouched applies every box again; Cancel still redraws; the icon box acts at Apply")
{
    Tintora app;
    REQUIRE(app.Start());
    // Undo, behind the program's back, what two of the options' callbacks keep up.
    HWND swatch = app.Item(kCurrentSwatch);
    SetWindowLongA(swatch, GWL_STYLE, GetWindowLongA(swatch, GWL_STYLE) & ~0x1);
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = app.Dialog();
    REQUIRE(Shell_NotifyIconA(NIM_DELETE, &icon));
    REQUIRE(!SwatchShowsHex(app));
    REQUIRE(!StatusIconPresent(app.Dialog()));

    Sheet s = OpenSettings(app);
    REQUIRE(s.sheet && s.page);
    PressSheetButton(app, s, IDOK);
    CHECK(SheetClosed(s));
    CHECK(SwatchShowsHex(app));
    CHECK_SOON(StatusIconPresent(app.Dialog()));

    // Text the hex field does not take stays until a redraw writes the colour again.
    SetHex(app, "zz");
    REQUIRE(ControlText(app.Item(kHexEdit)) == "zz");
    s = OpenSettings(app);
    REQUIRE(s.sheet && s.page);
    PressSheetButton(app, s, IDCANCEL);
    CHECK(SheetClosed(s));
    CHECK_EQ_SOON(ControlText(app.Item(kHexEdit)), std::string("FFFFFF"));

    // The status icon box takes effect at the apply, not at the close.
    s = OpenSettings(app);
    REQUIRE(s.sheet && s.page);
    app.Send(GetDlgItem(s.page, 505), BM_CLICK, 0, 0);
    CHECK(StatusIconPresent(app.Dialog()));
    PressSheetButton(app, s, kApplyButton);
    CHECK_SOON(!StatusIconPresent(app.Dialog()));
    app.Send(GetDlgItem(s.page, 505), BM_CLICK, 0, 0);
    PressSheetButton(app, s, kApplyButton);
    CHECK_SOON(StatusIconPresent(app.Dialog()));
    PressSheetButton(app, s, IDCANCEL);
    CHECK(SheetClosed(s));
}

E2E_CASE("settings", "a close and a restart bring back colour, axis, options, panel and place")
{
    RECT placed;
    {
        Tintora app;
        REQUIRE(app.Start());
        SetHex(app, "336699");
        app.Send(app.Item(kModeHue), BM_CLICK, 0, 0);
        app.Send(app.Item(kStayOnTop), BM_CLICK, 0, 0);
        app.Send(app.Item(kColors), BM_CLICK, 0, 0);  // collapse the panel
        SetWindowPos(app.Dialog(), nullptr, 50, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        placed = WindowRect(app.Dialog());
        CHECK_EQ(placed.left, 50L);
        app.SendToDialog(RegisterWindowMessageA(kTitle), 1, 0);
        ExpectCleanExit(app);
    }
    CHECK_EQ(StoredDword("LastColor"), 0x336699ul);
    CHECK_EQ(StoredDword("SliderMode"), 3ul);
    CHECK_EQ(StoredDword("MainWindowXPos"), 50ul);

    Tintora again;
    REQUIRE(again.Start(false));
    CHECK_EQ(ControlText(again.Item(kHexEdit)), std::string("336699"));
    CHECK(again.IsChecked(kModeHue));
    CHECK(again.IsChecked(kStayOnTop));
    CHECK(GetWindowLongA(again.Dialog(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    CHECK(!again.IsChecked(kColors));
    CHECK_EQ(WindowRect(again.Dialog()), placed);
}

E2E_CASE("settings", "the end of the session saves as a close does")
{
    Tintora app;
    REQUIRE(app.Start());
    SetHex(app, "0A0B0C");
    app.Send(app.Item(kSavedAdd), BM_CLICK, 0, 0);
    CHECK_EQ(static_cast<int>(app.SendToDialog(WM_QUERYENDSESSION, 0, 0)), TRUE);
    app.SendToDialog(WM_ENDSESSION, TRUE, 0);
    // After WM_ENDSESSION the system ends the process without any teardown.
    app.Kill();
    CHECK_EQ(StoredDword("LastColor"), 0x0A0B0Cul);
    CHECK_EQ(StoredDword("ShowColors") & 0xFF, 1ul);
    char value[16] = "";
    const std::string file = SavedColorsFile();
    CHECK_EQ(GetPrivateProfileIntA("SavedColors", "nColors", -1, file.c_str()), 1u);
    GetPrivateProfileStringA("SavedColors", "Color0", "", value, sizeof(value), file.c_str());
    CHECK_EQ(std::string(value), std::string("0A0B0C"));
}

}  // namespace
