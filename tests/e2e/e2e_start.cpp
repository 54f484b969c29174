// Start-up, the single running copy, and the main dialog's window: its layout, the colour-list
// panel, stay on top, the keys it ignores, and the ways it closes.
#include <windows.h>
#include <tlhelp32.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/e2e_checks.h"
#include "tests/e2e/e2e_dialog_units.h"
#include "tests/e2e/e2e_input.h"
#include "tests/e2e/e2e_pick.h"
#include "tests/e2e/e2e_program.h"
#include "tests/e2e/e2e_screen.h"
#include "tests/e2e/e2e_state.h"
#include "tests/shared/clipboard_text.h"
#include "tests/shared/dialog_layout.h"

using namespace e2e;
using layout::Beside;
using layout::Children;
using layout::Describe;
using layout::Inside;
using layout::SameRow;
using layout::Side;

namespace {

// The template is laid out collapsed; "Colors >>" adds this much width.
const int kDialogWidthUnits = 322;
const int kDialogHeightUnits = 245;
const int kPanelWidthUnits = 73;

const int kWebSafeMark = 402;
const int kAbout = 422;

// Every control with an id: the program, its tool tips and other programs find them by it.
const int kNamedControls[] = {401, 402, 403, 404, 405, 406, 407, 408, 409, 410, 411, 412, 413, 414,
                              415, 416, 417, 418, 419, 421, 422, 424, 425, 426, 427, 429, 430, 431,
                              432, 433, 434, 435, 436, 437, 438, 439, 440, 441, 442, 443};
// The colour-list panel, which only "Colors >>" brings into view.
const int kPanelControls[] = {kSavedLoad, kSavedAdd,  kSavedDelete, kSavedOverwrite, kSavedList,
                              kNamedLoad, kNamedFind, kNamedCopy,   kNamedList};

LONG Width(const RECT& r)
{
    return r.right - r.left;
}
LONG Height(const RECT& r)
{
    return r.bottom - r.top;
}

bool InPanel(int id)
{
    for (int panelId : kPanelControls)
        if (panelId == id)
            return true;
    return false;
}

// The caption's colour just right of the icon and title start is nearer the active caption's
// colour than the inactive one's (Wine draws both as gradients from that end).
bool CaptionLooksActive(HWND window)
{
    const RECT frame = WindowRect(window);
    const LONG x = frame.left + 60, y = frame.top + GetSystemMetrics(SM_CYFRAME) + 2;
    const uint32_t pixel = CaptureScreen(RECT{x, y, x + 1, y + 1}).At(0, 0);
    auto rgb = [](COLORREF c) {
        return static_cast<uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
    };
    auto distance = [](uint32_t a, uint32_t b) {
        int d = 0;
        for (int shift = 0; shift < 24; shift += 8)
            d += abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        return d;
    };
    return distance(pixel, rgb(GetSysColor(COLOR_ACTIVECAPTION))) <
           distance(pixel, rgb(GetSysColor(COLOR_INACTIVECAPTION)));
}

std::string Label(const std::string& text)
{
    return "static \"" + text + "\"";
}

// The controls share one row and run from left to right in this order.
void CheckRowLeftToRight(Tintora& app, const std::vector<int>& ids)
{
    for (size_t i = 1; i < ids.size(); ++i) {
        SCOPED_TRACE("controls " + std::to_string(ids[i - 1]) + " and " + std::to_string(ids[i]));
        const RECT left = ChildRect(app.Item(ids[i - 1])), right = ChildRect(app.Item(ids[i]));
        EXPECT_TRUE(SameRow(left, right));
        EXPECT_LE(left.right, right.left);
    }
}

// Looks for the program's small icon in the top-left corner of the window, where the caption
// shows it: every one of the icon's opaque pixels in place.
bool CaptionShowsIcon(HWND window, HICON icon, int size)
{
    RECT frame = WindowRect(window);
    RECT corner = {frame.left, frame.top, frame.left + 4 * size,
                   frame.top + GetSystemMetrics(SM_CYCAPTION) + 4 * GetSystemMetrics(SM_CYFRAME)};
    return ScreenShowsIcon(corner, icon, size, size, 0, 100, static_cast<size_t>(size * size / 4));
}

UINT InstanceMessage()
{
    return RegisterWindowMessageA(kTitle);
}

std::string Hex(DWORD value)
{
    char text[16];
    snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(value));
    return text;
}

// What pressing any of the dialog's buttons would change: the checks, the windows the program
// shows, the lists, the clipboard. (A button with nothing to select says so in a message box.)
std::string WhatButtonsChange(Tintora& app)
{
    std::string state = ModeChecks(app) + (app.IsChecked(kColors) ? " colors" : "") +
                        (app.IsChecked(kStayOnTop) ? " on top" : "") + ", clipboard \"" + ClipboardText() +
                        "\"";
    state += ", saved rows " + std::to_string(app.Send(app.Item(kSavedList), LB_GETCOUNT, 0, 0));
    state += ", named row " + std::to_string(app.Send(app.Item(kNamedList), LB_GETCURSEL, 0, 0));
    const auto windows = TopLevelWindows(app.ProcessId(), [](HWND window) {
        return IsWindowVisible(window) && ClassName(window) != "tooltips_class32";
    });
    return state + ", windows " + std::to_string(windows.size());
}

// EnumResourceNames callback: counts into the int at `count`.
BOOL CALLBACK CountResource(HMODULE, LPCSTR, LPSTR, LONG_PTR count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Key down and up as the system posts them to the focused window.
void PostKey(HWND window, UINT key)
{
    LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(key, 0)) << 16;
    PostMessageA(window, WM_KEYDOWN, key, scan | 1);
    PostMessageA(window, WM_KEYUP, key, scan | 1 | 0xC0000000);
}

}  // namespace

// ---- start -----------------------------------------------------------------------------

TEST(Start, TheWindowAppearsCentredSizedFromTheTemplateNotTopmostWithIcons)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    HWND dialog = app.Dialog();

    EXPECT_EQ(WindowText(dialog), "Ostrel Tintora");
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_FALSE(IsIconic(dialog));

    // Caption, system menu and minimise box; no maximise box, no sizing border.
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;
    EXPECT_EQ(Hex(GetWindowLongA(dialog, GWL_STYLE) & frame),
              Hex(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));

    // The window may start with the panel shown; its width then includes the panel.
    bool expanded = app.IsChecked(kColors);
    int panel = expanded ? DialogUnitsToPixelsX(kPanelWidthUnits) : 0;
    RECT units = DialogUnitsToPixels(0, 0, kDialogWidthUnits, kDialogHeightUnits);
    RECT client = ClientRect(dialog);
    EXPECT_EQ(Width(client), Width(units) + panel);
    EXPECT_EQ(Height(client), Height(units));

    // Centred as created, that is collapsed; widening keeps the top-left corner.
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT window = WindowRect(dialog);
    LONG collapsedWidth = Width(window) - panel;
    EXPECT_NEAR(window.left, work.left + (Width(work) - collapsedWidth) / 2, 1);
    EXPECT_NEAR(window.top, work.top + (Height(work) - Height(window)) / 2, 1);

    EXPECT_FALSE(IsTopmost(dialog));
    EXPECT_FALSE(app.IsChecked(kStayOnTop));

    // Wine does not carry WM_GETICON between processes; where it does, both icons must be set.
    DWORD_PTR big = 0, small = 0;
    if (SendMessageTimeoutA(dialog, WM_GETICON, ICON_BIG, 0, SMTO_NORMAL, 5000, &big) &&
        SendMessageTimeoutA(dialog, WM_GETICON, ICON_SMALL, 0, SMTO_NORMAL, 5000, &small)) {
        EXPECT_NE(big, 0);
        EXPECT_NE(small, 0);
        EXPECT_NE(big, small);
    }
    // What the user sees: the program's own icon, at the small size, in the caption.
    const int smallSize = GetSystemMetrics(SM_CXSMICON);
    HICON programIcon = LoadProgramIcon(100, smallSize);
    EXPECT_NE(programIcon, nullptr);
    if (programIcon) {
        // The caption may not be painted the instant the window shows.
        EXPECT_SOON(CaptionShowsIcon(dialog, programIcon, smallSize));
        DestroyIcon(programIcon);
    }

    EXPECT_EQ_SOON(app.Focus(), app.Item(kRedEdit));
}

// On a screen of 96, 120 and 144 DPI: dialog units grow with the system font, so nothing may
// end up on top of another at any of them.
class StartAtDpi : public testing::TestWithParam<int> {};

TEST_P(StartAtDpi, EveryControlIsShownInsideTheWindowAndOnNoOtherTheColourListsLiePastTheCollapsedEdge)
{
    Tintora app;
    app.UseDpi(GetParam());
    ASSERT_TRUE(app.Start());
    HWND dialog = app.Dialog();
    for (int id : kNamedControls) {
        SCOPED_TRACE("control " + std::to_string(id));
        EXPECT_NE(app.Item(id), nullptr);
    }

    // A first start shows the panel; "Colors >>" takes it away, cutting it off at the right.
    EXPECT_TRUE(app.IsChecked(kColors));
    RECT expanded = {}, collapsed = {};
    for (int click = 0; click < 2; ++click) {
        (app.IsChecked(kColors) ? expanded : collapsed) = ClientRect(dialog);
        app.Click(kColors);
    }
    ASSERT_GT(Width(expanded), Width(collapsed));

    const std::vector<HWND> children = Children(dialog);
    for (HWND child : children) {
        SCOPED_TRACE(Describe(child));
        EXPECT_TRUE(IsWindowVisible(child));
        const RECT r = ChildRect(child);
        EXPECT_TRUE(Inside(r, expanded));
        if (InPanel(GetDlgCtrlID(child))) {
            EXPECT_GE(r.left, collapsed.right);
        } else {
            EXPECT_TRUE(Inside(r, collapsed));
        }
    }

    for (size_t i = 0; i < children.size(); ++i) {
        for (size_t j = i + 1; j < children.size(); ++j) {
            SCOPED_TRACE(Describe(children[i]) + " and " + Describe(children[j]));
            const RECT a = ChildRect(children[i]), b = ChildRect(children[j]);
            RECT common;
            EXPECT_FALSE(IntersectRect(&common, &a, &b));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, StartAtDpi, testing::Values(96, 120, 144),
                         [](const testing::TestParamInfo<int>& info) {
    return "Dpi" + std::to_string(info.param);
});

// Declared DPI aware in the program's one manifest (RT_MANIFEST 1), else Windows would stretch
// the window on a screen of more DPI, and blur it.
TEST(Start, TheProgramsOneManifestDeclaresControls6AsInvokerTheSystemsItKnowsDpiAndUtf8)
{
    HMODULE program = LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    int manifests = 0;
    EnumResourceNamesA(program, RT_MANIFEST, CountResource, reinterpret_cast<LONG_PTR>(&manifests));
    EXPECT_EQ(manifests, 1);
    HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), RT_MANIFEST);
    const std::string manifest(found ? static_cast<const char*>(LockResource(LoadResource(program, found)))
                                     : "",
                               found ? SizeofResource(program, found) : 0);
    FreeLibrary(program);
    EXPECT_NE(manifest.find("<dpiAware>true</dpiAware>"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\""), std::string::npos);
    // Vista, 7, 8, 8.1 and 10 (which 11 shares), as Microsoft publishes their ids: each then
    // reports its own version.
    for (const char* id : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos) << id;
    // Common controls 6 for the system's visual style, the one assembly with this name and key.
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(manifest.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);
    // Runs as the user who started it: no virtualised writes, no elevation.
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"),
              std::string::npos);
    EXPECT_NE(manifest.find("http://schemas.microsoft.com/SMI/2019/WindowsSettings\">UTF-8</activeCodePage>"),
              std::string::npos);
}

// What the manifest asks for is what the running program has: common controls 6 from the
// system's side-by-side store, not the first version from the system folder. (Wine's files of
// both versions carry the same version resource; the store's folder names the version.)
TEST(Start, TheRunningProgramHasCommonControls6)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    HANDLE modules = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, app.ProcessId());
    ASSERT_NE(modules, INVALID_HANDLE_VALUE);
    MODULEENTRY32 module = {};
    module.dwSize = sizeof(module);
    std::vector<std::string> loaded;
    for (BOOL more = Module32First(modules, &module); more; more = Module32Next(modules, &module))
        if (lstrcmpiA(module.szModule, "comctl32.dll") == 0)
            loaded.push_back(Lower(module.szExePath));
    CloseHandle(modules);
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_NE(loaded[0].find("_microsoft.windows.common-controls_6595b64144ccf1df_6.0."), std::string::npos)
        << loaded[0];
}

// With the colour lists stored as shown (true) or hidden.
class StartWithColourLists : public testing::TestWithParam<bool> {};

TEST_P(StartWithColourLists, TheWindowComesUpActive)
{
    ResetSavedState();
    WriteBinaryOption("ShowColors", GetParam() ? 1 : 0);
    Tintora app;
    ASSERT_TRUE(app.Start(false));
    EXPECT_EQ(app.IsChecked(kColors), GetParam());
    // Its caption drawn as the active window's, as the user sees it.
    EXPECT_SOON(CaptionLooksActive(app.Dialog()));
    EXPECT_EQ_SOON(GetForegroundWindow(), app.Dialog());
    EXPECT_EQ_SOON(app.Focus(), app.Item(kRedEdit));
}

INSTANTIATE_TEST_SUITE_P(Stored, StartWithColourLists, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
    return info.param ? "Shown" : "Hidden";
});

TEST(Start, LabelsSitBesideWhatTheyLabelAndRowsAndColumnsReadInOrder)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    HWND dialog = app.Dialog();

    // Each mode button left of its value field; the rows top to bottom in the modes' order.
    const char* const modes[] = {"R", "G", "B", "H", "S", "B"};
    // To the right: the red, green and blue swatches, then the units of hue, saturation and brightness.
    const std::string companions[] = {Describe(app.Item(kRedSwatch)),
                                      Describe(app.Item(kGreenSwatch)),
                                      Describe(app.Item(kBlueSwatch)),
                                      Label("\xB0"),
                                      Label("%"),
                                      Label("%")};
    for (int i = 0; i < 6; ++i) {
        const int field = kRedEdit + i;
        SCOPED_TRACE("value field " + std::to_string(field));
        HWND mode = app.Item(kModeRed + i);
        EXPECT_EQ(Describe(Beside(dialog, app.Item(field), Side::Left)), Describe(mode));
        EXPECT_EQ(WindowText(mode), std::string(modes[i]));
        EXPECT_EQ(Describe(Beside(dialog, app.Item(field), Side::Right)), companions[i]);
        if (i > 0) {
            EXPECT_LE(ChildRect(app.Item(field - 1)).bottom, ChildRect(app.Item(field)).top);
        }
    }

    // The hex row under them: "#", the field, its copy button.
    HWND hex = app.Item(kHexEdit);
    EXPECT_LE(ChildRect(app.Item(kBrightnessEdit)).bottom, ChildRect(hex).top);
    EXPECT_EQ(Describe(Beside(dialog, hex, Side::Left)), Label("#"));
    EXPECT_EQ(Describe(Beside(dialog, hex, Side::Right)), Describe(app.Item(kCopyHex)));

    EXPECT_EQ(Describe(Beside(dialog, app.Item(kWebSafeSwatch), Side::Right)),
              Describe(app.Item(kWebSafeMark)));

    // Left to right: the colour field, the slider, then the swatches.
    const RECT field = ChildRect(app.Item(kField));
    const RECT slider = ChildRect(app.Item(kSlider));
    EXPECT_LE(field.right, slider.left);
    for (int id : {kCurrentSwatch, kWebSafeSwatch, kRedSwatch, kGreenSwatch, kBlueSwatch}) {
        SCOPED_TRACE("swatch " + std::to_string(id));
        EXPECT_LE(slider.right, ChildRect(app.Item(id)).left);
    }

    // One row of buttons under the colour field.
    const std::vector<int> buttons = {kSettings, kHelp, kAbout, kColors};
    const char* const captions[] = {"Settings", "Help", "About", "Colors >>"};
    CheckRowLeftToRight(app, buttons);
    for (size_t i = 0; i < buttons.size(); ++i) {
        SCOPED_TRACE("button " + std::to_string(buttons[i]));
        EXPECT_EQ(WindowText(app.Item(buttons[i])), std::string(captions[i]));
        EXPECT_LE(field.bottom, ChildRect(app.Item(buttons[i])).top);
    }
    EXPECT_EQ(WindowText(app.Item(kStayOnTop)), "Stay on &Top");

    // Between the field and the buttons the contrast row: its label, the background, the
    // ratio, the grade.
    const RECT background = ChildRect(app.Item(kBackgroundSwatch));
    EXPECT_EQ(Describe(Beside(dialog, app.Item(kBackgroundSwatch), Side::Left)), Label("Contrast &on"));
    CheckRowLeftToRight(app, {kBackgroundSwatch, kContrastRatio, kContrastGrade});
    EXPECT_LE(field.bottom, background.top);
    EXPECT_LE(ChildRect(app.Item(kHexEdit)).bottom, background.top);
    EXPECT_LE(background.bottom, ChildRect(app.Item(kSettings)).top);

    // In the panel each list has its buttons in a row above it, saved colours over named ones.
    CheckRowLeftToRight(app, {kSavedLoad, kSavedAdd, kSavedDelete, kSavedOverwrite});
    CheckRowLeftToRight(app, {kNamedLoad, kNamedFind, kNamedCopy});
    EXPECT_LE(ChildRect(app.Item(kSavedLoad)).bottom, ChildRect(app.Item(kSavedList)).top);
    EXPECT_LE(ChildRect(app.Item(kSavedList)).bottom, ChildRect(app.Item(kNamedLoad)).top);
    EXPECT_LE(ChildRect(app.Item(kNamedLoad)).bottom, ChildRect(app.Item(kNamedList)).top);
}

TEST(Start, TabGoesFromTheValueFieldsThroughTheContrastAndBottomRowsTheFieldThePanelsButtonsTheSliderAndBack)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(BringToFront(app.Dialog()));
    ASSERT_EQ_SOON(app.Focus(), app.Item(kRedEdit));

    // The mode buttons are one stop: the checked one, red on a first start. The colour field is
    // the first stop of the template, the slider the one before the mode buttons.
    const int stops[] = {kGreenEdit, kBlueEdit,    kHueEdit,          kSaturationEdit, kBrightnessEdit,
                         kHexEdit,   kCopyHex,     kBackgroundSwatch, kStayOnTop,      kSettings,
                         kHelp,      kAbout,       kColors,           kField,          kSavedLoad,
                         kSavedAdd,  kSavedDelete, kSavedOverwrite,   kNamedLoad,      kNamedFind,
                         kNamedCopy, kSlider,      kModeRed,          kRedEdit};
    std::string expected, visited;
    for (int id : stops) {
        expected += std::to_string(id) + " ";
        HWND before = app.Focus();
        Key(VK_TAB);
        WaitUntil(kHangGuardMs, [&] { return app.Focus() != before; });
        visited += std::to_string(GetDlgCtrlID(app.Focus())) + " ";
    }
    EXPECT_EQ(visited, expected);

    // Shift+Tab the same way back, from the red field round to it.
    expected.clear();
    visited.clear();
    const int count = static_cast<int>(sizeof(stops) / sizeof(stops[0]));
    for (int i = count - 2; i >= -1; --i) {
        expected += std::to_string(i >= 0 ? stops[i] : kRedEdit) + " ";
        HWND before = app.Focus();
        ShiftKey(VK_TAB);
        WaitUntil(kHangGuardMs, [&] { return app.Focus() != before; });
        visited += std::to_string(GetDlgCtrlID(app.Focus())) + " ";
    }
    EXPECT_EQ(visited, expected);
}

TEST(Start, TheNumberFieldsRefuseALetterTypedInThemTheHexFieldTakesIt)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    // Typed over the selected text: a refused letter leaves the digit after it alone.
    for (int id : {kRedEdit, kGreenEdit, kBlueEdit, kHueEdit, kSaturationEdit, kBrightnessEdit}) {
        SCOPED_TRACE("field " + std::to_string(id));
        ASSERT_TRUE(FocusOn(app, id));
        Type("a7");
        EXPECT_EQ_SOON(app.Text(id), "7");
    }
    ASSERT_TRUE(FocusOn(app, kHexEdit));
    Type("a7");
    EXPECT_EQ_SOON(app.Text(kHexEdit), "a7");
    EXPECT_EQ_SOON(app.Text(kBlueEdit), "167");
    ExpectNoMessageBoxes(app);
}

TEST(Start, TheSwatchesAreTheProgramsOwnControlUnderItsClassName)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    for (int id : {kCurrentSwatch, kWebSafeSwatch, kRedSwatch, kGreenSwatch, kBlueSwatch}) {
        SCOPED_TRACE("swatch " + std::to_string(id));
        EXPECT_EQ(ClassName(app.Item(id)), "Ostrel FlatColor Control");
    }
}

TEST(Start, TheModeButtonsCheckThemselvesAndTheArrowKeysGoRoundThem)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(FocusOn(app, kModeRed));
    ASSERT_EQ(ModeChecks(app), "x-----");
    const char* const round[] = {"-x----", "--x---", "---x--", "----x-", "-----x", "x-----"};
    for (int step = 0; step < 6; ++step) {
        SCOPED_TRACE("down " + std::to_string(step + 1));
        Key(VK_DOWN);
        EXPECT_EQ_SOON(ModeChecks(app), round[step]);
        EXPECT_EQ_SOON(app.Focus(), app.Item(kModeRed + (step + 1) % 6));
    }
    Key(VK_UP);
    EXPECT_EQ_SOON(ModeChecks(app), "-----x");
    app.Click(kModeHue);
    EXPECT_EQ(ModeChecks(app), "---x--");
}

// ---- single instance -------------------------------------------------------------------

TEST(SingleInstance, ASecondStartExitsWith0AndLeavesTheOneWindow)
{
    Tintora first;
    ASSERT_TRUE(first.Start());

    ASSERT_TRUE(SecondStartEnds());

    std::vector<HWND> dialogs = FindMainDialogs(0);
    EXPECT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(IsWindow(first.Dialog()));
    EXPECT_TRUE(IsWindowVisible(first.Dialog()));
}

TEST(SingleInstance, ASecondStartRestoresAMinimisedFirstCopyAndShowsAHiddenOne)
{
    Tintora first;
    ASSERT_TRUE(first.Start());
    HWND dialog = first.Dialog();
    RECT shown = WindowRect(dialog);

    ShowWindow(dialog, SW_MINIMIZE);
    ASSERT_SOON(IsIconic(dialog));
    ASSERT_TRUE(SecondStartEnds());
    EXPECT_SOON(!IsIconic(dialog));
    EXPECT_SOON(IsWindowVisible(dialog));
    EXPECT_EQ_SOON(WindowRect(dialog), shown);
    EXPECT_EQ_SOON(GetForegroundWindow(), dialog);

    ShowWindow(dialog, SW_HIDE);
    ASSERT_SOON(!IsWindowVisible(dialog));
    ASSERT_TRUE(SecondStartEnds());
    EXPECT_SOON(IsWindowVisible(dialog));
    EXPECT_EQ(FindMainDialogs(0).size(), 1u);
}

// A top-level window on the desktop whose thread has stopped reading its messages, as a hung
// program's would; it goes when this ends.
class HungWindow {
public:
    HungWindow()
    {
        release_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this] {
            window_ = CreateWindowExA(0, "Static", "hung window", WS_POPUP | WS_VISIBLE, 10, 10, 60, 40,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
            created_ = true;
            // No message loop from here on.
            WaitForSingleObject(release_, INFINITE);
            if (window_)
                DestroyWindow(window_);
        });
        WaitUntil(kHangGuardMs, [&] { return created_.load(); });
    }
    ~HungWindow()
    {
        SetEvent(release_);
        thread_.join();
        CloseHandle(release_);
    }
    HungWindow(const HungWindow&) = delete;
    HungWindow& operator=(const HungWindow&) = delete;
    HWND Window() const { return window_; }

private:
    HANDLE release_;
    std::atomic<bool> created_{false};
    HWND window_ = nullptr;
    std::thread thread_;
};

TEST(SingleInstance, PickAskedOfARunningCopyPicksThereAndEndsAskedOfNoneStartsAndPicks)
{
    {
        Tintora first;
        ASSERT_TRUE(first.Start());
        Tintora second;
        second.UseArguments("/pick");
        ASSERT_TRUE(second.Launch());
        ExpectCleanExit(second);
        ASSERT_TRUE(PickRuns(first));
        Key(VK_ESCAPE);
        EXPECT_EQ_SOON(FindPickScreen(first), nullptr);
        EXPECT_EQ(FindMainDialogs(0).size(), 1u);
        ExpectStillOpen(first);
    }
    Tintora alone;
    alone.UseArguments("-PICK ");
    ASSERT_TRUE(alone.Start());
    ASSERT_TRUE(PickRuns(alone));
    Key(VK_ESCAPE);
    EXPECT_EQ_SOON(FindPickScreen(alone), nullptr);
    ExpectStillOpen(alone);
}

TEST(SingleInstance, AWindowThatHasStoppedReadingItsMessagesDoesNotHoldUpASecondStart)
{
    Tintora first;
    ASSERT_TRUE(first.Start());
    HWND dialog = first.Dialog();
    ShowWindow(dialog, SW_HIDE);
    ASSERT_SOON(!IsWindowVisible(dialog));

    HungWindow hung;
    ASSERT_NE(hung.Window(), nullptr);
    // Twice: a copy stuck on the hung window would pile up behind the first.
    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE("start " + std::to_string(start + 2));
        Tintora second;
        ASSERT_TRUE(second.Launch());
        DWORD exitCode = 1;
        // The copy gives the hung window a couple of seconds at most.
        ASSERT_TRUE(second.WaitForExit(&exitCode));
        EXPECT_EQ(exitCode, 0u);
        EXPECT_SOON(IsWindowVisible(dialog));
        EXPECT_TRUE(IsWindow(hung.Window()));
        ShowWindow(dialog, SW_HIDE);
    }
    EXPECT_EQ(FindMainDialogs(0).size(), 1u);
}

// ---- the colour-list panel -------------------------------------------------------------

TEST(Panel, ColorsChangesTheWidthBy73UnitsAndBackTheHeightStays)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    HWND dialog = app.Dialog();
    const LONG panel = DialogUnitsToPixelsX(kPanelWidthUnits);
    ASSERT_GT(panel, 0);

    HWND button = app.Item(kColors);
    ASSERT_TRUE(button);
    RECT before = WindowRect(dialog);
    bool wasExpanded = app.IsChecked(kColors);

    app.Click(kColors);
    RECT toggled = WindowRect(dialog);
    EXPECT_EQ(app.IsChecked(kColors), !wasExpanded);
    EXPECT_EQ(Width(toggled), Width(before) + (wasExpanded ? -panel : panel));
    EXPECT_EQ(Height(toggled), Height(before));
    EXPECT_EQ(toggled.left, before.left);
    EXPECT_EQ(toggled.top, before.top);
    EXPECT_EQ(WindowText(button), "Colors >>");

    app.Click(kColors);
    EXPECT_EQ(app.IsChecked(kColors), wasExpanded);
    EXPECT_EQ(WindowRect(dialog), before);
    EXPECT_EQ(WindowText(button), "Colors >>");

    // Collapsing only cuts the panel off; its controls stay shown and enabled.
    for (int id : {kSavedList, kNamedList}) {
        SCOPED_TRACE("list " + std::to_string(id));
        EXPECT_TRUE(IsWindowVisible(app.Item(id)));
        EXPECT_TRUE(IsWindowEnabled(app.Item(id)));
    }
    EXPECT_FALSE(IsTopmost(dialog));
}

// ---- stay on top -----------------------------------------------------------------------

TEST(StayOnTop, StayOnTopPutsTheWindowInTheTopmostBandAndTakesItOut)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    HWND dialog = app.Dialog();
    ASSERT_FALSE(IsTopmost(dialog));
    RECT before = WindowRect(dialog);

    app.Click(kStayOnTop);
    EXPECT_TRUE(IsTopmost(dialog));
    EXPECT_TRUE(app.IsChecked(kStayOnTop));
    EXPECT_EQ(WindowRect(dialog), before);

    app.Click(kStayOnTop);
    EXPECT_FALSE(IsTopmost(dialog));
    EXPECT_FALSE(app.IsChecked(kStayOnTop));
    EXPECT_EQ(WindowRect(dialog), before);
}

// ---- keys ------------------------------------------------------------------------------

TEST(Keys, TheOkAndCancelCommandsLeaveTheWindowOpen)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    app.SendToDialog(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    app.SendToDialog(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ExpectStillOpen(app);
}

// Escape and Enter in every value field, posted to the field (false) or typed (true), each
// followed by Tab: once the focus has moved on, the keys before it were handled.
class EscapeAndEnter : public testing::TestWithParam<bool> {};

TEST_P(EscapeAndEnter, InEachValueFieldPressNothingAndLeaveTheWindowOpen)
{
    const bool typed = GetParam();
    Tintora app;
    ASSERT_TRUE(app.Start());
    if (typed) {
        ASSERT_TRUE(BringToFront(app.Dialog()));
    }
    ASSERT_EQ_SOON(app.Focus(), app.Item(kRedEdit));
    ASSERT_TRUE(PutClipboardText(nullptr, "before the keys"));
    const std::string before = WhatButtonsChange(app);
    for (int id : {kRedEdit, kGreenEdit, kBlueEdit, kHueEdit, kSaturationEdit, kBrightnessEdit, kHexEdit}) {
        SCOPED_TRACE("field " + std::to_string(id));
        HWND field = app.Item(id);
        for (WORD key : {VK_ESCAPE, VK_RETURN, VK_TAB}) {
            if (typed)
                Key(key);  // to the focused field
            else
                PostKey(field, key);
        }
        EXPECT_SOON(app.Focus() != field);
    }
    ExpectNoMessageBoxes(app);
    ExpectStillOpen(app);
    EXPECT_EQ(WhatButtonsChange(app), before);
}

INSTANTIATE_TEST_SUITE_P(Keys, EscapeAndEnter, testing::Bool(), [](const testing::TestParamInfo<bool>& info) {
    return info.param ? "Typed" : "Posted";
});

// ---- closing ---------------------------------------------------------------------------

// A request to close, posted to the window.
struct CloseRequest {
    const char* name;
    UINT message;
    WPARAM wparam;
};

class Closing : public testing::TestWithParam<CloseRequest> {};

TEST_P(Closing, EndsTheProgramWithExitCode0)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    PostMessageA(app.Dialog(), GetParam().message, GetParam().wparam, 0);
    ExpectCleanExit(app);
}

INSTANTIATE_TEST_SUITE_P(Requests, Closing,
                         testing::Values(CloseRequest{"WmClose", WM_CLOSE, 0},
                                         CloseRequest{"CloseOnTheSystemMenu", WM_SYSCOMMAND, SC_CLOSE}),
                         [](const testing::TestParamInfo<CloseRequest>& info) { return info.param.name; });

// ---- InstanceMessage -------------------------------------------------------------------

TEST(InstanceMessage, Request1SentToEveryWindowClosesTheProgramWithExitCode0)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_NE(InstanceMessage(), 0);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, InstanceMessage(), 1, 0, SMTO_ABORTIFHUNG, kHangGuardMs, &result);
    ExpectCleanExit(app);
}

TEST(InstanceMessage, AnyOtherRequestShowsAHiddenWindowAndRestoresAMinimisedOne)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    HWND dialog = app.Dialog();
    const UINT message = InstanceMessage();
    ASSERT_NE(message, 0);

    ShowWindow(dialog, SW_HIDE);
    ASSERT_SOON(!IsWindowVisible(dialog));
    ASSERT_SOON(GetForegroundWindow() != dialog);
    EXPECT_EQ(app.SendToDialog(message, 0, 0), 0);
    EXPECT_SOON(IsWindowVisible(dialog));
    EXPECT_EQ_SOON(GetForegroundWindow(), dialog);

    ShowWindow(dialog, SW_MINIMIZE);
    ASSERT_SOON(IsIconic(dialog));
    app.SendToDialog(message, 0, 0);
    EXPECT_SOON(!IsIconic(dialog));
    EXPECT_SOON(IsWindowVisible(dialog));

    // 1 closes, 2 picks; every other value is a request to show.
    ShowWindow(dialog, SW_HIDE);
    ASSERT_SOON(!IsWindowVisible(dialog));
    app.SendToDialog(message, 7, 0);
    EXPECT_SOON(IsWindowVisible(dialog));
    ExpectStillOpen(app);
}
