// The shell around the main window, driven from outside: the caption's hide button and the
// status icon, tool tips and button icons, and the Help button.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"

using namespace e2e;

namespace {

const UINT kStatusIconMessage = WM_USER + 1;

const char* const kTipClass = "tooltips_class32";
const char* const kHelpTitle = "Ostrel Tintora Help";

// Controls with a tip string: 403-412, 419, 421, 427, 430-435, 437-440.
const LRESULT kToolCount = 23;

// Where the program draws its hide button: the fourth caption-button slot from the right.
RECT HideButtonRect(HWND dialog)
{
    RECT frame = WindowRect(dialog);
    RECT r;
    r.left = frame.right - GetSystemMetrics(SM_CXDLGFRAME) - 4 * GetSystemMetrics(SM_CXSIZE);
    r.top = frame.top + GetSystemMetrics(SM_CYDLGFRAME);
    r.right = r.left + GetSystemMetrics(SM_CXSIZE);
    r.bottom = r.top + GetSystemMetrics(SM_CYSIZE);
    InflateRect(&r, -1, -2);
    return r;
}

// A first start, except that "Always show status icon" is stored as given.
bool StartWithStatusIconOption(Tintora& app, bool on)
{
    ResetSavedState();
    WriteBinaryOption("AlwaysShowStatusIcon", on ? 1 : 0);
    return app.Start(false);
}

bool IsShown(HWND dialog)
{
    return IsWindowVisible(dialog) != FALSE;
}

// Presses the hide button, leaves it and comes back with the button held, then releases.
// Checks on the way that the button is drawn pressed only while the pointer is on it.
void PressHideButton(Tintora& app, bool releaseOnButton)
{
    HWND dialog = app.Dialog();
    const RECT button = HideButtonRect(dialog);
    const POINT on = Centre(button);
    const POINT off = {button.left - 3 * (button.right - button.left), on.y};
    // The button as the screen shows it: frame and glyph change when it is pressed.
    const RECT& look = button;

    // Arrive from elsewhere, as a hand does.
    if (!MoveTo(POINT{on.x, on.y + 60}) || !MoveTo(on))
        return;
    const Pixels raised = SteadyCapture(app, look);
    FreshLeftDown();
    Pixels pressed;
    CHECK(WaitUntil(kHangGuardMs, [&] {
        pressed = CaptureScreen(look);
        return pressed.data != raised.data;
    }));
    if (!MoveTo(off))
        return LeftUp();
    CHECK_SOON(CaptureScreen(look).data == raised.data);
    CHECK(IsShown(dialog));
    if (releaseOnButton) {
        if (!MoveTo(on))
            return LeftUp();
        CHECK_SOON(CaptureScreen(look).data == pressed.data);
    }
    LeftUp();
}

// The program's tool-tip window: the tip popup that its dialog owns.
HWND FindToolTip(const Tintora& app)
{
    return FindTopLevel(app.ProcessId(), [&](HWND window) {
        return ClassName(window) == kTipClass && GetWindow(window, GW_OWNER) == app.Dialog();
    });
}

HWND FindHelpWindow(const Tintora& app)
{
    return FindTopLevel(app.ProcessId(), [](HWND window) {
        return WindowText(window) == kHelpTitle && IsWindowVisible(window);
    });
}

HWND FindDescendant(HWND parent, const char* windowClass)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (lstrcmpiA(ClassName(child).c_str(), windowClass) == 0 && IsWindowVisible(child))
            return child;
        if (HWND found = FindDescendant(child, windowClass))
            return found;
    }
    return nullptr;
}

// Wine's per-program DLL override, in the test prefix's registry: an empty value disables the
// module for that program alone. Wine keeps WINEDLLOVERRIDES out of the environment that its
// programs hand down, so the registry is the way to reach a program started from here.
class DisabledModule {
public:
    explicit DisabledModule(const char* module) : module_(module)
    {
        const std::string& path = ProgramPath();
        program_ = "Software\\Wine\\AppDefaults\\" + path.substr(path.find_last_of("\\/") + 1);
        const std::string overrides = program_ + "\\DllOverrides";
        HKEY key;
        DWORD disposition = 0;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, overrides.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            &disposition) != ERROR_SUCCESS) {
            FAIL("cannot create HKCU\\" + overrides);
            return;
        }
        created_ = disposition == REG_CREATED_NEW_KEY;
        ok_ = RegSetValueExA(key, module, 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    ~DisabledModule()
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, (program_ + "\\DllOverrides").c_str(), 0, KEY_WRITE, &key) ==
            ERROR_SUCCESS) {
            RegDeleteValueA(key, module_.c_str());
            RegCloseKey(key);
        }
        if (created_) {
            RegDeleteKeyA(HKEY_CURRENT_USER, (program_ + "\\DllOverrides").c_str());
            RegDeleteKeyA(HKEY_CURRENT_USER, program_.c_str());
        }
    }
    DisabledModule(const DisabledModule&) = delete;
    DisabledModule& operator=(const DisabledModule&) = delete;
    bool Ok() const { return ok_; }

private:
    std::string module_;
    std::string program_;
    bool created_ = false;
    bool ok_ = false;
};

}  // namespace

// ---- hide button and status icon -------------------------------------------------------

E2E_CASE(
    "status icon",
    "with the option clear, the hide button hides the window to the icon and a left click brings it back")
{
    Tintora app;
    REQUIRE(StartWithStatusIconOption(app, false));
    HWND dialog = app.Dialog();
    REQUIRE(!StatusIconPresent(dialog));
    const RECT shown = WindowRect(dialog);

    // Released off the button: only redrawn raised.
    {
        Context context("released off the button");
        PressHideButton(app, false);
        ExpectStillOpen(app);
        CHECK(!StatusIconPresent(dialog));
    }

    PressHideButton(app, true);
    CHECK_SOON(!IsShown(dialog));
    CHECK_SOON(StatusIconPresent(dialog));

    // Only a left-button release over the icon acts.
    for (UINT mouse : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_LBUTTONDOWN, WM_MOUSEMOVE,
                       WM_LBUTTONDBLCLK, WM_MBUTTONUP}) {
        Context context("icon event " + std::to_string(mouse));
        app.SendToDialog(kStatusIconMessage, 0, mouse);
        CHECK(!IsShown(dialog));
        CHECK(StatusIconPresent(dialog));
    }

    app.SendToDialog(kStatusIconMessage, 0, WM_LBUTTONUP);
    CHECK(IsShown(dialog));
    CHECK(!StatusIconPresent(dialog));
    CHECK_EQ(WindowRect(dialog), shown);
    CHECK(app.Running());
}

E2E_CASE("status icon", "with the option set, the icon stays through hiding and showing")
{
    Tintora app;
    REQUIRE(StartWithStatusIconOption(app, true));
    HWND dialog = app.Dialog();
    CHECK(StatusIconPresent(dialog));

    PressHideButton(app, true);
    CHECK_SOON(!IsShown(dialog));
    CHECK(StatusIconPresent(dialog));

    // A double click ends in a release, and acts like a single click.
    for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        app.SendToDialog(kStatusIconMessage, 0, mouse);
    CHECK(IsShown(dialog));
    CHECK(StatusIconPresent(dialog));
}

E2E_CASE("status icon",
         "hiding with an out-of-range value shows no message and the field shows the current value again")
{
    Tintora app;
    REQUIRE(StartWithStatusIconOption(app, false));
    HWND dialog = app.Dialog();
    REQUIRE(SetColor(app, 0x1E2040));
    REQUIRE(BringToFront(dialog));
    HWND red = app.Item(kRedEdit);
    app.SendToDialog(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(red), TRUE);
    REQUIRE(CHECK_EQ_SOON(app.Focus(), red));
    app.Send(red, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("300"));
    CHECK_EQ(app.Text(kRedEdit), std::string("300"));

    PressHideButton(app, true);
    REQUIRE(CHECK_SOON(!IsShown(dialog)));
    CHECK_EQ_SOON(app.Text(kRedEdit), std::string("30"));

    // Shown again, so that it can settle: no box came meanwhile, and none comes now.
    app.SendToDialog(kStatusIconMessage, 0, WM_LBUTTONUP);
    CHECK(IsShown(dialog));
    ExpectNoMessageBoxes(app);
    CHECK_EQ(app.Text(kRedEdit), std::string("30"));
    CHECK_EQ(app.Text(kHexEdit), std::string("1E2040"));
}

E2E_CASE("status icon",
         "a second start shows a window hidden to the status area; the icon stays until clicked")
{
    Tintora first;
    REQUIRE(StartWithStatusIconOption(first, false));
    HWND dialog = first.Dialog();

    PressHideButton(first, true);
    REQUIRE(CHECK_SOON(!IsShown(dialog)));
    CHECK_SOON(StatusIconPresent(dialog));
    REQUIRE(SecondStartEnds());
    CHECK_SOON(IsShown(dialog));
    CHECK_EQ(FindMainDialogs(0).size(), 1u);
    CHECK(StatusIconPresent(dialog));

    first.SendToDialog(kStatusIconMessage, 0, WM_LBUTTONUP);
    CHECK(!StatusIconPresent(dialog));
    CHECK(IsShown(dialog));
}

// ---- tool tips and icons ---------------------------------------------------------------

E2E_CASE("decoration",
         "the dialog's tool-tip window holds one tool per tip string and shows the tip under the mouse")
{
    Tintora app;
    REQUIRE(app.Start());
    HWND tip = FindToolTip(app);
    REQUIRE(tip != nullptr);
    CHECK(GetWindowLongA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
    CHECK_EQ(app.Send(tip, TTM_GETTOOLCOUNT, 0, 0), kToolCount);

    REQUIRE(BringToFront(app.Dialog()));
    const POINT copy = Centre(WindowRect(app.Item(kCopyHex)));
    REQUIRE(MoveTo(POINT{copy.x - 40, copy.y - 40}));
    REQUIRE(MoveTo(copy));
    CHECK_SOON(IsWindowVisible(tip));
    CHECK(app.Send(tip, TTM_GETCURRENTTOOLA, 0, 0) != 0);
    CHECK_EQ(ControlText(tip), std::string("Copy hex color to clipboard"));
    const RECT shownAt = WindowRect(tip);
    CHECK_NEAR(shownAt.left, copy.x, 64);
    CHECK_NEAR(shownAt.top, copy.y, 64);

    // The Help button has no tip: moving there takes the tip away and brings none. A tip shows
    // once the pointer has rested on a tool for the tip's delay; resting twice that long is the
    // input that would call one up.
    REQUIRE(MoveTo(Centre(WindowRect(app.Item(kHelp)))));
    CHECK_SOON(!IsWindowVisible(tip));
    CHECK(app.Settle());
    const DWORD delay = static_cast<DWORD>(app.Send(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    const DWORD rest = GetTickCount();
    const bool shownWhileResting =
        WaitUntil(2 * delay, [&] { return GetTickCount() - rest < 2 * delay && IsWindowVisible(tip); });
    CHECK(!shownWhileResting);
    MoveTo(POINT{0, 0});
}

E2E_CASE("decoration", "the icon buttons and the grab control show their icons")
{
    Tintora app;
    REQUIRE(app.Start());
    // The panel's buttons are in sight only with the panel shown.
    if (!app.IsChecked(kColors))
        app.Click(kColors);
    MoveTo(POINT{0, 0});

    const struct {
        int id;
        int width;
        int height;
    } icons[] = {{kCopyHex, 16, 16}, {kSavedAdd, 13, 13}, {kNamedFind, 15, 13}, {kGrabIcon, 16, 16}};
    for (const auto& expected : icons) {
        Context context("control " + std::to_string(expected.id));
        HICON icon = LoadProgramIcon(expected.id, 0);
        REQUIRE(icon != nullptr);
        const RECT area = WindowRect(app.Item(expected.id));
        CHECK_SOON(ControlShowsIcon(area, icon, expected.width, expected.height));
        DestroyIcon(icon);
    }
}

// ---- help ------------------------------------------------------------------------------

E2E_CASE("help", "Help opens the guide's contents in the HTML Help viewer, from any current folder")
{
    // The help file is beside the program, not in the folder it was started from.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    REQUIRE(GetFileAttributesA((std::string(temp) + "tintora.chm").c_str()) == INVALID_FILE_ATTRIBUTES);
    Tintora app;
    app.UseWorkingFolder(temp);
    REQUIRE(app.Start());
    app.Click(kHelp);
    HWND viewer = nullptr;
    CHECK_SOON((viewer = FindHelpWindow(app)) != nullptr);
    REQUIRE(viewer != nullptr);

    HWND tree = nullptr;
    CHECK_SOON((tree = FindDescendant(viewer, WC_TREEVIEWA)) != nullptr);
    if (tree)
        CHECK_SOON(app.Send(tree, TVM_GETCOUNT, 0, 0) >= 10);
    ExpectNoMessageBoxes(app);

    PostMessageA(viewer, WM_CLOSE, 0, 0);
    CHECK_SOON(!IsWindow(viewer));
    CHECK(IsShown(app.Dialog()));
}

E2E_CASE("help", "without the help file beside the program, Help shows nothing and no message, however often")
{
    const std::string copy = StageProgramCopy("tintora-no-help");
    REQUIRE(!copy.empty());
    Tintora app;
    app.UseCopy(copy, {});
    REQUIRE(app.Start());
    const size_t shown = VisibleTopLevelWindows(app.ProcessId()).size();
    for (int press = 0; press < 3; ++press) {
        Context context("press " + std::to_string(press + 1));
        // The press is sent: once it returns, what it opens is open; and what it posted is
        // handled once the program has settled.
        app.Click(kHelp);
        ExpectNoMessageBoxes(app);
        CHECK_EQ(VisibleTopLevelWindows(app.ProcessId()).size(), shown);
    }
    ExpectStillOpen(app);
}

E2E_CASE("help", "with the HTML Help control missing, Help shows nothing and no message, however often")
{
    // Disabled for the program, the control cannot be loaded, neither from the path registered
    // for it nor by its name; the help file itself is in place, so only that keeps help away.
    DisabledModule disabled("hhctrl.ocx");
    REQUIRE(disabled.Ok());
    Tintora app;
    REQUIRE(app.Start());
    for (int press = 0; press < 3; ++press) {
        Context context("press " + std::to_string(press + 1));
        app.Click(kHelp);
        ExpectNoMessageBoxes(app);
        CHECK(FindHelpWindow(app) == nullptr);
    }
    // Still answering, and still there.
    ExpectStillOpen(app);
}
