// The shell around the main window, driven from outside: the caption's hide button and the
// status icon, tool tips and button icons, and the Help button.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "shell/status_icon.h"
#include "tests/e2e/e2e_board.h"
#include "tests/e2e/e2e_checks.h"
#include "tests/e2e/e2e_input.h"
#include "tests/e2e/e2e_pick.h"
#include "tests/e2e/e2e_program.h"
#include "tests/e2e/e2e_screen.h"
#include "tests/e2e/e2e_state.h"
#include "tests/shared/clipboard_text.h"

using namespace e2e;

namespace {

const char* const kTipClass = "tooltips_class32";
const char* const kHelpTitle = "Ostrel Tintora Help";

// Controls with a tip string: 403-412, 419, 421, 427, 430-435, 437-443.
const LRESULT kToolCount = 26;

// The rows of a window between its top edge and its client area, where its caption is.
RECT CaptionBand(HWND window)
{
    POINT client = {0, 0};
    ClientToScreen(window, &client);
    const RECT frame = WindowRect(window);
    return RECT{frame.left, frame.top, frame.right, client.y};
}

// The caption's own colour: the commonest on row y of its picture.
uint32_t CaptionColour(const Pixels& caption, int y)
{
    std::map<uint32_t, int> counts;
    for (int x = 0; x < caption.width; ++x)
        ++counts[caption.At(x, y)];
    return std::max_element(counts.begin(), counts.end(),
                            [](const auto& a, const auto& b) { return a.second < b.second; })
        ->first;
}

// How far in from the right edge the buttons on row y of a caption's picture reach: past them
// lies plain caption, a stretch wider than the caption is high.
int ButtonsReach(const Pixels& caption, int y)
{
    const uint32_t plainColour = CaptionColour(caption, y);
    int plain = 0, reach = 0;
    for (int x = caption.width - 1; x >= 0 && plain <= caption.height; --x) {
        plain = caption.At(x, y) == plainColour ? plain + 1 : 0;
        if (!plain)
            reach = caption.width - x;
    }
    return reach;
}

// How far in from the right edge the system draws its own caption buttons for a window like
// `like`: measured on a window of ours with the same frame and width, at the foot of the screen.
int SystemButtonsReach(HWND like)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Tintora e2e plain frame";
    RegisterClassA(&windowClass);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(like, GWL_STYLE)) & ~WS_VISIBLE;
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(like, GWL_EXSTYLE)) & ~WS_EX_TOPMOST;
    const RECT band = CaptionBand(like);
    const int height = 2 * (band.bottom - band.top);
    HWND window = CreateWindowExA(exStyle, windowClass.lpszClassName, "", style, band.left,
                                  GetSystemMetrics(SM_CYSCREEN) - height, band.right - band.left, height,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window) {
        ADD_FAILURE() << "cannot make a window like the program's";
        return 0;
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);
    const RECT plainBand = CaptionBand(window);
    const int middle = (plainBand.bottom - plainBand.top) / 2;
    // Shown once two looks, with its messages handled before each, agree and find buttons.
    Pixels last;
    WaitUntil(kHangGuardMs, [&] {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Pixels now = CaptureScreen(plainBand);
        const bool same = now.data == last.data && ButtonsReach(now, middle) > now.height;
        last = std::move(now);
        return same;
    });
    DestroyWindow(window);
    return ButtonsReach(last, middle);
}

// The program's own button in its caption, as the screen shows it: the first box left of the
// buttons the system draws for any window of this frame. False (failure recorded) when the
// caption shows none there.
bool FindHideButton(Tintora& app, RECT* button)
{
    const int reach = SystemButtonsReach(app.Dialog());
    const RECT band = CaptionBand(app.Dialog());
    const Pixels caption = SteadyCapture(app, band);
    const int middle = caption.height / 2;
    const uint32_t plain = CaptionColour(caption, middle);
    int x = caption.width - 1 - reach;
    while (x >= 0 && caption.At(x, middle) == plain)
        --x;
    const int right = x;
    while (x >= 0 && caption.At(x, middle) != plain)
        --x;
    const int left = x + 1, centre = (left + right) / 2;
    int top = middle, bottom = middle;
    while (top > 0 && caption.At(centre, top - 1) != plain)
        --top;
    while (bottom + 1 < caption.height && caption.At(centre, bottom + 1) != plain)
        ++bottom;
    *button = RECT{band.left + left, band.top + top, band.left + right + 1, band.top + bottom + 1};
    if (reach > caption.height && right - left > 4 && bottom - top > 4)
        return true;
    ADD_FAILURE() << "the caption shows no button left of the system's own, which reach " << reach
                  << " pixels in; found " << testing::PrintToString(*button);
    return false;
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
    // The button as the screen shows it: frame and glyph change when it is pressed.
    RECT look;
    if (!FindHideButton(app, &look))
        return;
    const POINT on = Centre(look);
    const POINT off = {look.left - 3 * (look.right - look.left), on.y};

    // Arrive from elsewhere, as a hand does.
    if (!MoveTo(POINT{on.x, on.y + 60}) || !MoveTo(on))
        return;
    const Pixels raised = SteadyCapture(app, look);
    FreshLeftDown();
    Pixels pressed;
    EXPECT_TRUE(WaitUntil(kHangGuardMs, [&] {
        pressed = CaptureScreen(look);
        return pressed.data != raised.data;
    }));
    if (!MoveTo(off))
        return LeftUp();
    EXPECT_EQ_SOON(CaptureScreen(look).data, raised.data);
    EXPECT_TRUE(IsShown(dialog));
    if (releaseOnButton) {
        if (!MoveTo(on))
            return LeftUp();
        EXPECT_EQ_SOON(CaptureScreen(look).data, pressed.data);
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
            ADD_FAILURE() << "cannot create HKCU\\" << overrides;
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

TEST(StatusIcon, WithTheOptionClearTheHideButtonHidesTheWindowToTheIconAndALeftClickBringsItBack)
{
    Tintora app;
    ASSERT_TRUE(StartWithStatusIconOption(app, false));
    HWND dialog = app.Dialog();
    ASSERT_FALSE(StatusIconPresent(dialog));
    const RECT shown = WindowRect(dialog);

    // Released off the button: only redrawn raised.
    {
        SCOPED_TRACE("released off the button");
        PressHideButton(app, false);
        ExpectStillOpen(app);
        EXPECT_FALSE(StatusIconPresent(dialog));
    }

    PressHideButton(app, true);
    EXPECT_SOON(!IsShown(dialog));
    EXPECT_SOON(StatusIconPresent(dialog));

    // Only a left-button release over the icon shows the window (the right button's release may
    // open the icon's menu, and is left out).
    for (UINT mouse :
         {WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONDBLCLK, WM_MBUTTONUP}) {
        SCOPED_TRACE("icon event " + std::to_string(mouse));
        app.SendToDialog(STATUS_ICON_MESSAGE, 0, mouse);
        EXPECT_FALSE(IsShown(dialog));
        EXPECT_TRUE(StatusIconPresent(dialog));
    }

    app.SendToDialog(STATUS_ICON_MESSAGE, 0, WM_LBUTTONUP);
    EXPECT_TRUE(IsShown(dialog));
    EXPECT_FALSE(StatusIconPresent(dialog));
    EXPECT_EQ(WindowRect(dialog), shown);
    EXPECT_TRUE(app.Running());
}

// The icon's menu, asked for as the shell asks; true once it is on the screen.
bool OpenStatusMenu(Tintora& app, LPARAM how)
{
    PostMessageA(app.Dialog(), STATUS_ICON_MESSAGE, 0, how);
    return CHECKED_SOON(ShownMenu(app.ProcessId()) != nullptr);
}

TEST(StatusIcon, ItsMenuPicksWithTheWindowHiddenWhichStaysHiddenShowsTheWindowAndExits)
{
    Tintora app;
    ASSERT_TRUE(StartWithStatusIconOption(app, true));
    HWND dialog = app.Dialog();
    Board board(POINT{130, 130});
    ASSERT_TRUE(board.Ready());
    ASSERT_SOON(board.Shown());
    PressHideButton(app, true);
    ASSERT_SOON(!IsShown(dialog));
    ASSERT_TRUE(MoveTo(board.At(60, 90)));

    // From the keyboard on the icon; each item by its underlined letter.
    ASSERT_TRUE(OpenStatusMenu(app, NIN_KEYSELECT));
    Key('P');
    ASSERT_TRUE(PickRuns(app));
    Key(VK_RETURN);
    EXPECT_EQ_SOON(FindPickScreen(app), nullptr);
    EXPECT_EQ_SOON(ClipboardText(), "#" + HexText(BoardColor(60, 90)));
    EXPECT_EQ(app.Text(kHexEdit), HexText(BoardColor(60, 90)));
    ASSERT_TRUE(app.Settle());
    EXPECT_FALSE(IsShown(dialog));

    ASSERT_TRUE(OpenStatusMenu(app, WM_CONTEXTMENU));
    Key('S');
    EXPECT_SOON(IsShown(dialog));
    EXPECT_EQ_SOON(GetForegroundWindow(), dialog);

    // A minimised window stays minimised through a pick. From the menu: a chord pressed while
    // Wine is still moving the focus away from the window may lose its Shift to the key state
    // the new focus brings (the key itself is driven over another program's window elsewhere).
    ShowWindow(dialog, SW_MINIMIZE);
    ASSERT_SOON(IsIconic(dialog));
    ASSERT_TRUE(OpenStatusMenu(app, WM_CONTEXTMENU));
    Key('P');
    ASSERT_TRUE(PickRuns(app));
    Key(VK_ESCAPE);
    EXPECT_EQ_SOON(FindPickScreen(app), nullptr);
    ASSERT_TRUE(app.Settle());
    EXPECT_TRUE(IsIconic(dialog));

    ASSERT_TRUE(OpenStatusMenu(app, WM_CONTEXTMENU));
    Key('X');
    ExpectCleanExit(app);
}

// At 120 and 144 DPI the caption and its buttons are larger. The program's is the leftmost
// box of the caption's buttons: inside the caption, one box (not run into the system's), grown
// with them (14 pixels high at 96 DPI), and a click on it hides the window.
class HideButtonAtDpi : public testing::TestWithParam<int> {};

TEST_P(HideButtonAtDpi, SitsInTheCaptionBesideTheSystemsButtonsAndHidesTheWindow)
{
    Tintora app;
    app.UseDpi(GetParam());
    ASSERT_TRUE(StartWithStatusIconOption(app, false));
    const RECT band = CaptionBand(app.Dialog());
    const Pixels caption = SteadyCapture(app, band);
    const int middle = caption.height / 2;
    const uint32_t plain = CaptionColour(caption, middle);
    int left = caption.width - ButtonsReach(caption, middle), right = left, top = middle, bottom = middle;
    while (right + 1 < caption.width && caption.At(right + 1, middle) != plain)
        ++right;
    const int centre = (left + right) / 2;
    while (top > 0 && caption.At(centre, top - 1) != plain)
        --top;
    while (bottom + 1 < caption.height && caption.At(centre, bottom + 1) != plain)
        ++bottom;
    EXPECT_GT(top, 0);
    EXPECT_LT(bottom, caption.height - 1);
    EXPECT_GE(bottom - top + 1, 14 * GetParam() / 96 - 2);
    EXPECT_LE(right - left, (bottom - top) * 3 / 2) << "one box, from " << left << " to " << right;

    ASSERT_TRUE(MoveTo(POINT{band.left + centre, band.top + (top + bottom) / 2}));
    FreshLeftDown();
    LeftUp();
    EXPECT_SOON(!IsShown(app.Dialog()));
    app.SendToDialog(STATUS_ICON_MESSAGE, 0, WM_LBUTTONUP);
    MoveTo(POINT{0, 0});
}

INSTANTIATE_TEST_SUITE_P(Screens, HideButtonAtDpi, testing::Values(120, 144),
                         [](const testing::TestParamInfo<int>& info) {
    return "Dpi" + std::to_string(info.param);
});

TEST(StatusIcon, WithTheOptionSetTheIconStaysThroughHidingAndShowing)
{
    Tintora app;
    ASSERT_TRUE(StartWithStatusIconOption(app, true));
    HWND dialog = app.Dialog();
    EXPECT_TRUE(StatusIconPresent(dialog));

    PressHideButton(app, true);
    EXPECT_SOON(!IsShown(dialog));
    EXPECT_TRUE(StatusIconPresent(dialog));

    // A double click ends in a release, and acts like a single click.
    for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        app.SendToDialog(STATUS_ICON_MESSAGE, 0, mouse);
    EXPECT_TRUE(IsShown(dialog));
    EXPECT_TRUE(StatusIconPresent(dialog));
}

TEST(StatusIcon, HidingWithAnOutOfRangeValueShowsNoMessageAndTheFieldShowsTheCurrentValueAgain)
{
    Tintora app;
    ASSERT_TRUE(StartWithStatusIconOption(app, false));
    HWND dialog = app.Dialog();
    ASSERT_TRUE(SetColor(app, 0x1E2040));
    ASSERT_TRUE(BringToFront(dialog));
    HWND red = app.Item(kRedEdit);
    app.SendToDialog(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(red), TRUE);
    ASSERT_EQ_SOON(app.Focus(), red);
    app.Send(red, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("300"));
    EXPECT_EQ(app.Text(kRedEdit), "300");

    PressHideButton(app, true);
    ASSERT_SOON(!IsShown(dialog));
    EXPECT_EQ_SOON(app.Text(kRedEdit), "30");

    // Shown again, so that it can settle: no box came meanwhile, and none comes now.
    app.SendToDialog(STATUS_ICON_MESSAGE, 0, WM_LBUTTONUP);
    EXPECT_TRUE(IsShown(dialog));
    ExpectNoMessageBoxes(app);
    EXPECT_EQ(app.Text(kRedEdit), "30");
    EXPECT_EQ(app.Text(kHexEdit), "1E2040");
}

TEST(StatusIcon, ASecondStartShowsAWindowHiddenToTheStatusAreaTheIconStaysUntilClicked)
{
    Tintora first;
    ASSERT_TRUE(StartWithStatusIconOption(first, false));
    HWND dialog = first.Dialog();

    PressHideButton(first, true);
    ASSERT_SOON(!IsShown(dialog));
    EXPECT_SOON(StatusIconPresent(dialog));
    ASSERT_TRUE(SecondStartEnds());
    EXPECT_SOON(IsShown(dialog));
    EXPECT_EQ(FindMainDialogs(0).size(), 1u);
    EXPECT_TRUE(StatusIconPresent(dialog));

    first.SendToDialog(STATUS_ICON_MESSAGE, 0, WM_LBUTTONUP);
    EXPECT_FALSE(StatusIconPresent(dialog));
    EXPECT_TRUE(IsShown(dialog));
}

// ---- tool tips and icons ---------------------------------------------------------------

TEST(Decoration, TheDialogsToolTipWindowHoldsOneToolPerTipStringAndShowsTheTipUnderTheMouse)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    HWND tip = FindToolTip(app);
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(GetWindowLongA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(app.Send(tip, TTM_GETTOOLCOUNT, 0, 0), kToolCount);

    ASSERT_TRUE(BringToFront(app.Dialog()));
    const POINT copy = Centre(WindowRect(app.Item(kCopyHex)));
    ASSERT_TRUE(MoveTo(POINT{copy.x - 40, copy.y - 40}));
    ASSERT_TRUE(MoveTo(copy));
    EXPECT_SOON(IsWindowVisible(tip));
    EXPECT_NE(app.Send(tip, TTM_GETCURRENTTOOLA, 0, 0), 0);
    EXPECT_EQ(ControlText(tip), "Copy hex color to clipboard");
    const RECT shownAt = WindowRect(tip);
    EXPECT_NEAR(shownAt.left, copy.x, 64);
    EXPECT_NEAR(shownAt.top, copy.y, 64);

    // The Help button has no tip: moving there takes the tip away and brings none. A tip shows
    // once the pointer has rested on a tool for the tip's delay; resting twice that long is the
    // input that would call one up.
    ASSERT_TRUE(MoveTo(Centre(WindowRect(app.Item(kHelp)))));
    EXPECT_SOON(!IsWindowVisible(tip));
    app.Settle();
    const DWORD delay = static_cast<DWORD>(app.Send(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    const DWORD rest = GetTickCount();
    const bool shownWhileResting =
        WaitUntil(2 * delay, [&] { return GetTickCount() - rest < 2 * delay && IsWindowVisible(tip); });
    EXPECT_FALSE(shownWhileResting);
    MoveTo(POINT{0, 0});
}

// On a screen of 96, 120 and 144 DPI: the pictures drawn for that size (a quarter and a half
// larger), not smaller ones stretched.
class DecorationAtDpi : public testing::TestWithParam<int> {};

TEST_P(DecorationAtDpi, TheIconButtonsAndTheGrabControlShowTheirIcons)
{
    const int dpi = GetParam();
    Tintora app;
    app.UseDpi(dpi);
    ASSERT_TRUE(app.Start());
    // The panel's buttons are in sight only with the panel shown.
    if (!app.IsChecked(kColors))
        app.Click(kColors);
    MoveTo(POINT{0, 0});

    // The sizes at 96, 120 and 144 DPI.
    const struct {
        int id;
        SIZE at[3];
    } icons[] = {{kCopyHex, {{16, 16}, {20, 20}, {24, 24}}},
                 {kSavedAdd, {{13, 13}, {16, 16}, {20, 20}}},
                 {kNamedFind, {{15, 13}, {19, 16}, {23, 20}}},
                 {kGrabIcon, {{16, 16}, {20, 20}, {24, 24}}}};
    for (const auto& expected : icons) {
        SCOPED_TRACE("control " + std::to_string(expected.id));
        const SIZE size = expected.at[(dpi - 96) / 24];
        HICON icon = LoadProgramIcon(expected.id, size.cx, size.cy);
        ASSERT_NE(icon, nullptr);
        const RECT area = WindowRect(app.Item(expected.id));
        EXPECT_SOON(ControlShowsIcon(area, icon, size.cx, size.cy));
        DestroyIcon(icon);
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, DecorationAtDpi, testing::Values(96, 120, 144),
                         [](const testing::TestParamInfo<int>& info) {
    return "Dpi" + std::to_string(info.param);
});

// ---- help ------------------------------------------------------------------------------

TEST(Help, OpensTheGuidesContentsInTheHtmlHelpViewerFromAnyCurrentFolder)
{
    // The help file is beside the program, not in the folder it was started from.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    ASSERT_EQ(GetFileAttributesA((std::string(temp) + "tintora.chm").c_str()), INVALID_FILE_ATTRIBUTES);
    Tintora app;
    app.UseWorkingFolder(temp);
    ASSERT_TRUE(app.Start());
    app.Click(kHelp);
    HWND viewer = nullptr;
    EXPECT_SOON((viewer = FindHelpWindow(app)) != nullptr);
    ASSERT_NE(viewer, nullptr);

    HWND tree = nullptr;
    EXPECT_SOON((tree = FindDescendant(viewer, WC_TREEVIEWA)) != nullptr);
    if (tree) {
        EXPECT_SOON(app.Send(tree, TVM_GETCOUNT, 0, 0) >= 10);
    }
    ExpectNoMessageBoxes(app);

    PostMessageA(viewer, WM_CLOSE, 0, 0);
    EXPECT_SOON(!IsWindow(viewer));
    EXPECT_TRUE(IsShown(app.Dialog()));
}

TEST(Help, WithoutTheHelpFileBesideTheProgramHelpShowsNothingAndNoMessageHoweverOften)
{
    const std::string copy = StageProgramCopy("tintora-no-help");
    ASSERT_FALSE(copy.empty());
    Tintora app;
    app.UseCopy(copy, {});
    ASSERT_TRUE(app.Start());
    const size_t shown = VisibleTopLevelWindows(app.ProcessId()).size();
    for (int press = 0; press < 3; ++press) {
        SCOPED_TRACE("press " + std::to_string(press + 1));
        // The press is sent: once it returns, what it opens is open; and what it posted is
        // handled once the program has settled.
        app.Click(kHelp);
        ExpectNoMessageBoxes(app);
        EXPECT_EQ(VisibleTopLevelWindows(app.ProcessId()).size(), shown);
    }
    ExpectStillOpen(app);
}

// The user's application-data folder moved for the test, through the shell's own record of it,
// and put back.
class AppDataFolderMoved {
public:
    explicit AppDataFolderMoved(const std::wstring& folder)
    {
        const wchar_t* const key =
            L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
        if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ | KEY_WRITE, &key_) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        DWORD size = sizeof(old_);
        had_ = RegQueryValueExW(key_, L"AppData", nullptr, &type_, reinterpret_cast<BYTE*>(old_), &size) ==
               ERROR_SUCCESS;
        oldSize_ = size;
        moved_ =
            RegSetValueExW(key_, L"AppData", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                           static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    ~AppDataFolderMoved()
    {
        if (!key_)
            return;
        if (had_)
            RegSetValueExW(key_, L"AppData", 0, type_, reinterpret_cast<const BYTE*>(old_), oldSize_);
        else
            RegDeleteValueW(key_, L"AppData");
        RegCloseKey(key_);
    }
    bool Moved() const { return moved_; }

private:
    HKEY key_ = nullptr;
    DWORD type_ = REG_EXPAND_SZ, oldSize_ = 0;
    wchar_t old_[1024] = L"";
    bool had_ = false, moved_ = false;
};

// Cyrillic and Chinese: outside the prefix's Western code page, so only the program's own
// (UTF-8, by its manifest) reaches these folders through its ANSI calls.
TEST(Help, FromAFolderNamedInOtherScriptsTheProgramFindsItsHelpAndKeepsItsColoursInSuchAFolder)
{
    const std::string name = "Tintora \xD0\xA6\xD0\xB2\xD0\xB5\xD1\x82 \xE8\x89\xB2";  // "Tintora Цвет 色"
    BOOL lost = FALSE;
    WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, Wide(name).c_str(), -1, nullptr, 0, nullptr, &lost);
    ASSERT_TRUE(lost) << "the name must not fit code page 1252";
    ASSERT_EQ(GetACP(), 1252u) << "the prefix's own code page";
    const std::string copy = StageProgramCopy(name, true);
    ASSERT_FALSE(copy.empty());
    ResetSavedState();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::wstring appData = Wide(std::string(temp) + name + " data");
    const std::wstring colours = appData + L"\\Ostrel\\Tintora\\Tintora.ini";
    DeleteFileW(colours.c_str());
    CreateDirectoryW(appData.c_str(), nullptr);  // a user's always exists
    AppDataFolderMoved moved(appData);
    ASSERT_TRUE(moved.Moved());
    {
        Tintora app;
        app.UseCopy(copy, {});
        ASSERT_TRUE(app.Start(false));
        app.Click(kHelp);
        HWND viewer = nullptr;
        EXPECT_SOON((viewer = FindHelpWindow(app)) != nullptr);
        if (viewer) {
            PostMessageA(viewer, WM_CLOSE, 0, 0);
            EXPECT_SOON(!IsWindow(viewer));
        }
        ASSERT_TRUE(SetColor(app, 0x3366CC));
        app.Click(kSavedAdd);
        EXPECT_EQ(app.Send(app.Item(kSavedList), LB_GETCOUNT, 0, 0), 1);
        ExpectNoMessageBoxes(app);
        app.SendToDialog(RegisterWindowMessageA(kTitle), 1, 0);
        ExpectCleanExit(app);
    }
    wchar_t stored[16] = L"";
    GetPrivateProfileStringW(L"SavedColors", L"Color0", L"", stored, 16, colours.c_str());
    EXPECT_EQ(std::wstring(stored), L"3366CC");

    Tintora again;
    again.UseCopy(copy, {});
    ASSERT_TRUE(again.Start(false));
    EXPECT_EQ(again.Send(again.Item(kSavedList), LB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(HexText(static_cast<uint32_t>(again.Send(again.Item(kSavedList), LB_GETITEMDATA, 0, 0))),
              "3366CC");
}

TEST(Help, WithTheHtmlHelpControlMissingHelpShowsNothingAndNoMessageHoweverOften)
{
    // Disabled for the program, the control cannot be loaded, neither from the path registered
    // for it nor by its name; the help file itself is in place, so only that keeps help away.
    DisabledModule disabled("hhctrl.ocx");
    ASSERT_TRUE(disabled.Ok());
    Tintora app;
    ASSERT_TRUE(app.Start());
    for (int press = 0; press < 3; ++press) {
        SCOPED_TRACE("press " + std::to_string(press + 1));
        app.Click(kHelp);
        ExpectNoMessageBoxes(app);
        EXPECT_EQ(FindHelpWindow(app), nullptr);
    }
    // Still answering, and still there.
    ExpectStillOpen(app);
}
