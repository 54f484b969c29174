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

const DWORD kWaitMs = 3000;
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
void PressHideButton(HWND dialog, bool releaseOnButton)
{
    const RECT button = HideButtonRect(dialog);
    const POINT on = Centre(button);
    const POINT off = {button.left - 3 * (button.right - button.left), on.y};
    // The button as the screen shows it: frame and glyph change when it is pressed.
    const RECT& look = button;

    // Arrive from elsewhere and rest a moment, as a hand does: a press in the very instant of
    // the move can reach Wine before the window has taken the pointer in.
    if (!MoveTo(POINT{on.x, on.y + 60}) || !MoveTo(on))
        return;
    Sleep(200);
    Pixels raised = CaptureScreen(look);
    LeftDown();
    Pixels pressed;
    CHECK(WaitUntil(kWaitMs, [&] {
        pressed = CaptureScreen(look);
        return pressed.data != raised.data;
    }));
    if (!MoveTo(off))
        return LeftUp();
    CHECK(WaitUntil(kWaitMs, [&] { return CaptureScreen(look).data == raised.data; }));
    CHECK(IsShown(dialog));
    if (releaseOnButton) {
        if (!MoveTo(on))
            return LeftUp();
        CHECK(WaitUntil(kWaitMs, [&] { return CaptureScreen(look).data == pressed.data; }));
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

// Looks for the icon's picture inside the control. The control may clip a pixel or two of it at
// its edges, so nine in ten of the icon's opaque pixels must be found in place; even the slim
// eyedropper has far more than 24 of them.
bool ControlShowsIcon(const RECT& area, HICON icon, int width, int height)
{
    return ScreenShowsIcon(area, icon, width, height, 2, 90, 24);
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
        PressHideButton(dialog, false);
        CHECK(app.StaysRunning(300));
        CHECK(IsShown(dialog));
        CHECK(!StatusIconPresent(dialog));
    }

    PressHideButton(dialog, true);
    CHECK(WaitUntil(kWaitMs, [&] { return !IsShown(dialog); }));
    CHECK(StatusIconPresent(dialog));

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

    PressHideButton(dialog, true);
    CHECK(WaitUntil(kWaitMs, [&] { return !IsShown(dialog); }));
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
    REQUIRE(CHECK_EQ_WITHIN(kWaitMs, app.Focus(), red));
    app.Send(red, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("300"));
    CHECK_EQ(app.Text(kRedEdit), std::string("300"));

    PressHideButton(dialog, true);
    REQUIRE(WaitUntil(kWaitMs, [&] { return !IsShown(dialog); }));
    CHECK(app.StaysRunning(500));
    CHECK_EQ(app.TakeMessageBoxes().size(), 0u);
    CHECK_EQ(app.Text(kRedEdit), std::string("30"));

    app.SendToDialog(kStatusIconMessage, 0, WM_LBUTTONUP);
    CHECK(IsShown(dialog));
    CHECK_EQ(app.Text(kRedEdit), std::string("30"));
    CHECK_EQ(app.Text(kHexEdit), std::string("1E2040"));
    CHECK_EQ(app.TakeMessageBoxes().size(), 0u);
}

E2E_CASE("status icon",
         "a second start shows a window hidden to the status area; the icon stays until clicked")
{
    Tintora first;
    REQUIRE(StartWithStatusIconOption(first, false));
    HWND dialog = first.Dialog();

    PressHideButton(dialog, true);
    REQUIRE(WaitUntil(kWaitMs, [&] { return !IsShown(dialog); }));
    CHECK(StatusIconPresent(dialog));
    REQUIRE(SecondStartEnds());
    CHECK(IsShown(dialog));
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

    SetForegroundWindow(app.Dialog());
    const POINT copy = Centre(WindowRect(app.Item(kCopyHex)));
    REQUIRE(MoveTo(POINT{copy.x - 40, copy.y - 40}));
    REQUIRE(MoveTo(copy));
    CHECK(WaitUntil(kWaitMs, [&] { return IsWindowVisible(tip) != FALSE; }));
    CHECK(app.Send(tip, TTM_GETCURRENTTOOLA, 0, 0) != 0);
    CHECK_EQ(ControlText(tip), std::string("Copy hex color to clipboard"));
    const RECT shownAt = WindowRect(tip);
    CHECK_NEAR(shownAt.left, copy.x, 64);
    CHECK_NEAR(shownAt.top, copy.y, 64);

    // The Help button has no tip: moving there takes the tip away and brings none.
    REQUIRE(MoveTo(Centre(WindowRect(app.Item(kHelp)))));
    CHECK(WaitUntil(kWaitMs, [&] { return !IsWindowVisible(tip); }));
    Sleep(1500);
    CHECK(!IsWindowVisible(tip));
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
        CHECK(WaitUntil(2000, [&] { return ControlShowsIcon(area, icon, expected.width, expected.height); }));
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
    CHECK(WaitUntil(5000, [&] { return (viewer = FindHelpWindow(app)) != nullptr; }));
    REQUIRE(viewer != nullptr);

    HWND tree = nullptr;
    CHECK(WaitUntil(kWaitMs, [&] { return (tree = FindDescendant(viewer, WC_TREEVIEWA)) != nullptr; }));
    if (tree)
        CHECK(app.Send(tree, TVM_GETCOUNT, 0, 0) >= 10);
    CHECK(app.TakeMessageBoxes().empty());

    PostMessageA(viewer, WM_CLOSE, 0, 0);
    CHECK(WaitUntil(kWaitMs, [&] { return !IsWindow(viewer); }));
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
        app.Click(kHelp);
        Sleep(700);
        CHECK_EQ(VisibleTopLevelWindows(app.ProcessId()).size(), shown);
        CHECK(app.TakeMessageBoxes().empty());
    }
    CHECK_EQ(app.SendToDialog(WM_NULL, 0, 0), 0);
    CHECK(IsShown(app.Dialog()));
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
        Sleep(700);
        CHECK(FindHelpWindow(app) == nullptr);
        CHECK(app.TakeMessageBoxes().empty());
    }
    // Still answering, and still there.
    CHECK(app.StaysRunning(200));
    CHECK_EQ(app.SendToDialog(WM_NULL, 0, 0), 0);
    CHECK(IsShown(app.Dialog()));
}
