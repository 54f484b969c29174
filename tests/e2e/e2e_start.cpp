// Start-up, the single running copy, and the main dialog's window: its layout, the colour-list
// panel, stay on top, the keys it ignores, and the ways it closes.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/e2e_support.h"
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
const int kDialogHeightUnits = 224;
const int kPanelWidthUnits = 73;

const int kWebSafeMark = 402;
const int kAbout = 422;

// Every control with an id: the program, its tool tips and other programs find them by it.
const int kNamedControls[] = {401, 402, 403, 404, 405, 406, 407, 408, 409, 410, 411, 412, 413,
                              414, 415, 416, 417, 418, 419, 421, 422, 424, 425, 426, 427, 429,
                              430, 431, 432, 433, 434, 435, 436, 437, 438, 439, 440};
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
        Context context("controls " + std::to_string(ids[i - 1]) + " and " + std::to_string(ids[i]));
        const RECT left = ChildRect(app.Item(ids[i - 1])), right = ChildRect(app.Item(ids[i]));
        CHECK(SameRow(left, right));
        CHECK(left.right <= right.left);
    }
}

DWORD Style(Tintora& app, int id)
{
    return static_cast<DWORD>(GetWindowLongA(app.Item(id), GWL_STYLE));
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

// Escape and Enter in every value field, each sent by press(field, key) and followed by Tab:
// once the focus has moved on, the keys before it were handled. The window must stay open.
template <typename Press>
void ExpectEscapeAndEnterIgnored(Tintora& app, Press press)
{
    const int fields[] = {kRedEdit,        kGreenEdit,      kBlueEdit, kHueEdit,
                          kSaturationEdit, kBrightnessEdit, kHexEdit};
    for (size_t i = 0; i < sizeof(fields) / sizeof(fields[0]); ++i) {
        Context context("field " + std::to_string(fields[i]));
        HWND field = app.Item(fields[i]);
        press(field, VK_ESCAPE);
        press(field, VK_RETURN);
        press(field, VK_TAB);
        CHECK_SOON(app.Focus() != field);
    }
    ExpectStillOpen(app);
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

E2E_CASE("start", "the window appears centred, sized from the template, not topmost, with icons")
{
    Tintora app;
    REQUIRE(app.Start());
    HWND dialog = app.Dialog();

    CHECK_EQ(WindowText(dialog), std::string("Ostrel Tintora"));
    CHECK(IsWindowVisible(dialog));
    CHECK(!IsIconic(dialog));

    // Caption, system menu and minimise box; no maximise box, no sizing border.
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;
    CHECK_EQ(Hex(GetWindowLongA(dialog, GWL_STYLE) & frame),
             Hex(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));

    // The window may start with the panel shown; its width then includes the panel.
    bool expanded = app.IsChecked(kColors);
    int panel = expanded ? DialogUnitsToPixelsX(kPanelWidthUnits) : 0;
    RECT units = DialogUnitsToPixels(0, 0, kDialogWidthUnits, kDialogHeightUnits);
    RECT client = ClientRect(dialog);
    CHECK_EQ(Width(client), Width(units) + panel);
    CHECK_EQ(Height(client), Height(units));

    // Centred as created, that is collapsed; widening keeps the top-left corner.
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT window = WindowRect(dialog);
    LONG collapsedWidth = Width(window) - panel;
    CHECK_NEAR(window.left, work.left + (Width(work) - collapsedWidth) / 2, 1);
    CHECK_NEAR(window.top, work.top + (Height(work) - Height(window)) / 2, 1);

    CHECK(!IsTopmost(dialog));
    CHECK(!app.IsChecked(kStayOnTop));

    // Wine does not carry WM_GETICON between processes; where it does, both icons must be set.
    DWORD_PTR big = 0, small = 0;
    if (SendMessageTimeoutA(dialog, WM_GETICON, ICON_BIG, 0, SMTO_NORMAL, 5000, &big) &&
        SendMessageTimeoutA(dialog, WM_GETICON, ICON_SMALL, 0, SMTO_NORMAL, 5000, &small)) {
        CHECK(big != 0);
        CHECK(small != 0);
        CHECK(big != small);
    }
    // What the user sees: the program's own icon, at the small size, in the caption.
    const int smallSize = GetSystemMetrics(SM_CXSMICON);
    HICON programIcon = LoadProgramIcon(100, smallSize);
    CHECK(programIcon != nullptr);
    if (programIcon) {
        // The caption may not be painted the instant the window shows.
        CHECK_SOON(CaptionShowsIcon(dialog, programIcon, smallSize));
        DestroyIcon(programIcon);
    }

    CHECK_EQ_SOON(app.Focus(), app.Item(kRedEdit));
}

E2E_CASE(
    "start",
    "every control is shown inside the window and on no other; the colour lists lie past the collapsed edge")
{
    Tintora app;
    REQUIRE(app.Start());
    HWND dialog = app.Dialog();
    for (int id : kNamedControls) {
        Context context("control " + std::to_string(id));
        CHECK(app.Item(id) != nullptr);
    }

    // A first start shows the panel; "Colors >>" takes it away, cutting it off at the right.
    CHECK(app.IsChecked(kColors));
    RECT expanded = {}, collapsed = {};
    for (int click = 0; click < 2; ++click) {
        (app.IsChecked(kColors) ? expanded : collapsed) = ClientRect(dialog);
        app.Click(kColors);
    }
    REQUIRE(Width(expanded) > Width(collapsed));

    const std::vector<HWND> children = Children(dialog);
    for (HWND child : children) {
        Context context(Describe(child));
        CHECK(IsWindowVisible(child));
        const RECT r = ChildRect(child);
        CHECK(Inside(r, expanded));
        if (InPanel(GetDlgCtrlID(child)))
            CHECK(r.left >= collapsed.right);
        else
            CHECK(Inside(r, collapsed));
    }

    for (size_t i = 0; i < children.size(); ++i) {
        for (size_t j = i + 1; j < children.size(); ++j) {
            Context context(Describe(children[i]) + " and " + Describe(children[j]));
            const RECT a = ChildRect(children[i]), b = ChildRect(children[j]);
            RECT common;
            CHECK(!IntersectRect(&common, &a, &b));
        }
    }
}

E2E_CASE("start", "the window comes up active, with the colour lists shown or not")
{
    for (BYTE showColors : {1, 0}) {
        Context context(showColors ? "panel shown" : "panel hidden");
        ResetSavedState();
        WriteBinaryOption("ShowColors", showColors);
        Tintora app;
        REQUIRE(app.Start(false));
        CHECK_EQ(app.IsChecked(kColors), showColors != 0);
        // Its caption drawn as the active window's, as the user sees it.
        CHECK_SOON(CaptionLooksActive(app.Dialog()));
        CHECK_EQ_SOON(GetForegroundWindow(), app.Dialog());
        CHECK_EQ_SOON(app.Focus(), app.Item(kRedEdit));
    }
}

E2E_CASE("start", "labels sit beside what they label, and rows and columns read in order")
{
    Tintora app;
    REQUIRE(app.Start());
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
        Context context("value field " + std::to_string(field));
        HWND mode = app.Item(kModeRed + i);
        CHECK_EQ(Describe(Beside(dialog, app.Item(field), Side::Left)), Describe(mode));
        CHECK_EQ(WindowText(mode), std::string(modes[i]));
        CHECK_EQ(Describe(Beside(dialog, app.Item(field), Side::Right)), companions[i]);
        if (i > 0)
            CHECK(ChildRect(app.Item(field - 1)).bottom <= ChildRect(app.Item(field)).top);
    }

    // The hex row under them: "#", the field, its copy button.
    HWND hex = app.Item(kHexEdit);
    CHECK(ChildRect(app.Item(kBrightnessEdit)).bottom <= ChildRect(hex).top);
    CHECK_EQ(Describe(Beside(dialog, hex, Side::Left)), Label("#"));
    CHECK_EQ(Describe(Beside(dialog, hex, Side::Right)), Describe(app.Item(kCopyHex)));

    CHECK_EQ(Describe(Beside(dialog, app.Item(kWebSafeSwatch), Side::Right)),
             Describe(app.Item(kWebSafeMark)));

    // Left to right: the colour field, the slider, then the swatches.
    const RECT field = ChildRect(app.Item(kField));
    const RECT slider = ChildRect(app.Item(kSlider));
    CHECK(field.right <= slider.left);
    for (int id : {kCurrentSwatch, kWebSafeSwatch, kRedSwatch, kGreenSwatch, kBlueSwatch}) {
        Context context("swatch " + std::to_string(id));
        CHECK(slider.right <= ChildRect(app.Item(id)).left);
    }

    // One row of buttons under the colour field.
    const std::vector<int> buttons = {kSettings, kHelp, kAbout, kColors};
    const char* const captions[] = {"Settings", "Help", "About", "Colors >>"};
    CheckRowLeftToRight(app, buttons);
    for (size_t i = 0; i < buttons.size(); ++i) {
        Context context("button " + std::to_string(buttons[i]));
        CHECK_EQ(WindowText(app.Item(buttons[i])), std::string(captions[i]));
        CHECK(field.bottom <= ChildRect(app.Item(buttons[i])).top);
    }
    CHECK_EQ(WindowText(app.Item(kStayOnTop)), std::string("Stay on &Top"));

    // In the panel each list has its buttons in a row above it, saved colours over named ones.
    CheckRowLeftToRight(app, {kSavedLoad, kSavedAdd, kSavedDelete, kSavedOverwrite});
    CheckRowLeftToRight(app, {kNamedLoad, kNamedFind, kNamedCopy});
    CHECK(ChildRect(app.Item(kSavedLoad)).bottom <= ChildRect(app.Item(kSavedList)).top);
    CHECK(ChildRect(app.Item(kSavedList)).bottom <= ChildRect(app.Item(kNamedLoad)).top);
    CHECK(ChildRect(app.Item(kNamedLoad)).bottom <= ChildRect(app.Item(kNamedList)).top);
}

E2E_CASE("start", "Tab goes from the value fields to the bottom row, the panel's buttons, the mode and back")
{
    Tintora app;
    REQUIRE(app.Start());
    REQUIRE(BringToFront(app.Dialog()));
    REQUIRE(CHECK_SOON(app.Focus() == app.Item(kRedEdit)));

    // The mode buttons are one stop: the checked one, red on a first start.
    const int stops[] = {kGreenEdit, kBlueEdit,  kHueEdit,     kSaturationEdit, kBrightnessEdit, kHexEdit,
                         kCopyHex,   kStayOnTop, kSettings,    kHelp,           kAbout,          kColors,
                         kSavedLoad, kSavedAdd,  kSavedDelete, kSavedOverwrite, kNamedLoad,      kNamedFind,
                         kNamedCopy, kModeRed,   kRedEdit};
    std::string expected, visited;
    for (int id : stops) {
        expected += std::to_string(id) + " ";
        HWND before = app.Focus();
        Key(VK_TAB);
        WaitUntil(kHangGuardMs, [&] { return app.Focus() != before; });
        visited += std::to_string(GetDlgCtrlID(app.Focus())) + " ";
    }
    CHECK_EQ(visited, expected);
}

E2E_CASE("start", "the controls carry the styles their behaviour rests on")
{
    Tintora app;
    REQUIRE(app.Start());

    // Only digits go into the six number fields; the hex field takes letters.
    for (int id = kRedEdit; id <= kBrightnessEdit; ++id) {
        Context context("field " + std::to_string(id));
        CHECK(Style(app, id) & ES_NUMBER);
    }
    CHECK(!(Style(app, kHexEdit) & ES_NUMBER));

    // Rows are drawn from the colour kept as item data, in the order they were put in; a
    // double-click loads one, and one row at a time is selected (the saved list is a drag list).
    for (int id : {kSavedList, kNamedList}) {
        Context context("list " + std::to_string(id));
        const DWORD style = Style(app, id);
        CHECK_EQ(Lower(ClassName(app.Item(id))), std::string("listbox"));
        CHECK_EQ(Hex(style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_SORT)),
                 Hex(LBS_OWNERDRAWFIXED));
        CHECK(style & LBS_NOTIFY);
        CHECK(!(style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)));
    }
    // The longest colour names scroll sideways.
    CHECK(Style(app, kNamedList) & WS_HSCROLL);

    // The swatches are the program's own control, made from the template under its class name.
    for (int id : {kCurrentSwatch, kWebSafeSwatch, kRedSwatch, kGreenSwatch, kBlueSwatch}) {
        Context context("swatch " + std::to_string(id));
        CHECK_EQ(ClassName(app.Item(id)), std::string(kFlatColorClass));
    }

    // The field and the slider are painted by the program and report clicks, as does the grab icon.
    for (int id : {kField, kSlider}) {
        Context context("picture " + std::to_string(id));
        CHECK_EQ(Hex(Style(app, id) & SS_TYPEMASK), Hex(SS_OWNERDRAW));
    }
    for (int id : {kField, kSlider, kGrabIcon}) {
        Context context("static " + std::to_string(id));
        CHECK(Style(app, id) & SS_NOTIFY);
    }

    // The six modes check themselves, and the arrow keys go round them and no further.
    HWND dialog = app.Dialog();
    for (int i = 0; i < 6; ++i) {
        const int id = kModeRed + i;
        Context context("mode " + std::to_string(id));
        CHECK_EQ(Hex(Style(app, id) & BS_TYPEMASK), Hex(BS_AUTORADIOBUTTON));
        CHECK_EQ(GetDlgCtrlID(GetNextDlgGroupItem(dialog, app.Item(id), FALSE)), i < 5 ? id + 1 : kModeRed);
    }

    // "Colors >>" stays pressed while the panel shows.
    CHECK_EQ(Hex(Style(app, kColors) & (BS_TYPEMASK | BS_PUSHLIKE)), Hex(BS_AUTOCHECKBOX | BS_PUSHLIKE));
    // No default button: Enter in a value field has nothing to press.
    for (HWND child : Children(dialog)) {
        if (Lower(ClassName(child)) != "button")
            continue;
        Context context(Describe(child));
        CHECK_NE(Hex(GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK), Hex(BS_DEFPUSHBUTTON));
    }
}

// ---- single instance -------------------------------------------------------------------

E2E_CASE("single instance", "a second start exits with 0 and leaves the one window")
{
    Tintora first;
    REQUIRE(first.Start());

    REQUIRE(SecondStartEnds());

    std::vector<HWND> dialogs = FindMainDialogs(0);
    CHECK_EQ(dialogs.size(), 1u);
    CHECK(first.Running());
    CHECK(IsWindow(first.Dialog()));
    CHECK(IsWindowVisible(first.Dialog()));
}

E2E_CASE("single instance", "a second start restores a minimised first copy and shows a hidden one")
{
    Tintora first;
    REQUIRE(first.Start());
    HWND dialog = first.Dialog();
    RECT shown = WindowRect(dialog);

    ShowWindow(dialog, SW_MINIMIZE);
    REQUIRE(CHECK_SOON(IsIconic(dialog)));
    REQUIRE(SecondStartEnds());
    CHECK_SOON(!IsIconic(dialog));
    CHECK_SOON(IsWindowVisible(dialog));
    CHECK_EQ_SOON(WindowRect(dialog), shown);
    CHECK_EQ_SOON(GetForegroundWindow(), dialog);

    ShowWindow(dialog, SW_HIDE);
    REQUIRE(CHECK_SOON(!IsWindowVisible(dialog)));
    REQUIRE(SecondStartEnds());
    CHECK_SOON(IsWindowVisible(dialog));
    CHECK_EQ(FindMainDialogs(0).size(), 1u);
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

E2E_CASE("single instance", "a window that has stopped reading its messages does not hold up a second start")
{
    Tintora first;
    REQUIRE(first.Start());
    HWND dialog = first.Dialog();
    ShowWindow(dialog, SW_HIDE);
    REQUIRE(CHECK_SOON(!IsWindowVisible(dialog)));

    HungWindow hung;
    REQUIRE(hung.Window() != nullptr);
    // Twice: a copy stuck on the hung window would pile up behind the first.
    for (int start = 0; start < 2; ++start) {
        Context context("start " + std::to_string(start + 2));
        Tintora second;
        REQUIRE(second.Launch());
        DWORD exitCode = 1;
        // The copy gives the hung window a couple of seconds at most.
        REQUIRE(second.WaitForExit(&exitCode));
        CHECK_EQ(exitCode, 0u);
        CHECK_SOON(IsWindowVisible(dialog));
        CHECK(IsWindow(hung.Window()));
        ShowWindow(dialog, SW_HIDE);
    }
    CHECK_EQ(FindMainDialogs(0).size(), 1u);
}

// ---- the colour-list panel -------------------------------------------------------------

E2E_CASE("panel", "\"Colors >>\" changes the width by 73 units and back; the height stays")
{
    Tintora app;
    REQUIRE(app.Start());
    HWND dialog = app.Dialog();
    const LONG panel = DialogUnitsToPixelsX(kPanelWidthUnits);
    REQUIRE(panel > 0);

    HWND button = app.Item(kColors);
    REQUIRE(button);
    RECT before = WindowRect(dialog);
    bool wasExpanded = app.IsChecked(kColors);

    app.Click(kColors);
    RECT toggled = WindowRect(dialog);
    CHECK_EQ(app.IsChecked(kColors), !wasExpanded);
    CHECK_EQ(Width(toggled), Width(before) + (wasExpanded ? -panel : panel));
    CHECK_EQ(Height(toggled), Height(before));
    CHECK_EQ(toggled.left, before.left);
    CHECK_EQ(toggled.top, before.top);
    CHECK_EQ(WindowText(button), std::string("Colors >>"));

    app.Click(kColors);
    CHECK_EQ(app.IsChecked(kColors), wasExpanded);
    CHECK_EQ(WindowRect(dialog), before);
    CHECK_EQ(WindowText(button), std::string("Colors >>"));

    // Collapsing only cuts the panel off; its controls stay shown and enabled.
    for (int id : {kSavedList, kNamedList}) {
        Context context("list " + std::to_string(id));
        CHECK(IsWindowVisible(app.Item(id)));
        CHECK(IsWindowEnabled(app.Item(id)));
    }
    CHECK(!IsTopmost(dialog));
}

// ---- stay on top -----------------------------------------------------------------------

E2E_CASE("stay on top", "\"Stay on Top\" puts the window in the topmost band and takes it out")
{
    Tintora app;
    REQUIRE(app.Start());
    HWND dialog = app.Dialog();
    REQUIRE(!IsTopmost(dialog));
    RECT before = WindowRect(dialog);

    app.Click(kStayOnTop);
    CHECK(IsTopmost(dialog));
    CHECK(app.IsChecked(kStayOnTop));
    CHECK_EQ(WindowRect(dialog), before);

    app.Click(kStayOnTop);
    CHECK(!IsTopmost(dialog));
    CHECK(!app.IsChecked(kStayOnTop));
    CHECK_EQ(WindowRect(dialog), before);
}

// ---- keys ------------------------------------------------------------------------------

E2E_CASE("keys", "the OK and Cancel commands leave the window open")
{
    Tintora app;
    REQUIRE(app.Start());
    app.SendToDialog(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    app.SendToDialog(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ExpectStillOpen(app);
}

E2E_CASE("keys", "Escape and Enter posted to each value field leave the window open")
{
    Tintora app;
    REQUIRE(app.Start());
    REQUIRE(app.Focus() == app.Item(kRedEdit));
    ExpectEscapeAndEnterIgnored(app, [](HWND field, UINT key) { PostKey(field, key); });
}

E2E_CASE("keys", "Escape and Enter typed in each value field leave the window open")
{
    Tintora app;
    REQUIRE(app.Start());
    REQUIRE(BringToFront(app.Dialog()));
    REQUIRE(CHECK_SOON(app.Focus() == app.Item(kRedEdit)));
    // The keyboard sends to the focused field.
    ExpectEscapeAndEnterIgnored(app, [](HWND, UINT key) { Key(static_cast<WORD>(key)); });
}

// ---- closing ---------------------------------------------------------------------------

E2E_CASE("closing", "WM_CLOSE ends the program with exit code 0")
{
    Tintora app;
    REQUIRE(app.Start());
    PostMessageA(app.Dialog(), WM_CLOSE, 0, 0);
    ExpectCleanExit(app);
}

E2E_CASE("closing", "Close on the system menu ends the program with exit code 0")
{
    Tintora app;
    REQUIRE(app.Start());
    PostMessageA(app.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ExpectCleanExit(app);
}

// ---- InstanceMessage -------------------------------------------------------------------

E2E_CASE("instance message", "request 1 sent to every window closes the program with exit code 0")
{
    Tintora app;
    REQUIRE(app.Start());
    REQUIRE(InstanceMessage() != 0);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, InstanceMessage(), 1, 0, SMTO_ABORTIFHUNG, kHangGuardMs, &result);
    ExpectCleanExit(app);
}

E2E_CASE("instance message", "any other request shows a hidden window and restores a minimised one")
{
    Tintora app;
    REQUIRE(app.Start());
    HWND dialog = app.Dialog();
    const UINT message = InstanceMessage();
    REQUIRE(message != 0);

    ShowWindow(dialog, SW_HIDE);
    REQUIRE(CHECK_SOON(!IsWindowVisible(dialog)));
    REQUIRE(CHECK_SOON(GetForegroundWindow() != dialog));
    CHECK_EQ(app.SendToDialog(message, 0, 0), 0);
    CHECK_SOON(IsWindowVisible(dialog));
    CHECK_EQ_SOON(GetForegroundWindow(), dialog);

    ShowWindow(dialog, SW_MINIMIZE);
    REQUIRE(CHECK_SOON(IsIconic(dialog)));
    app.SendToDialog(message, 0, 0);
    CHECK_SOON(!IsIconic(dialog));
    CHECK_SOON(IsWindowVisible(dialog));

    // Only 1 closes; every other value is a request to show.
    ShowWindow(dialog, SW_HIDE);
    REQUIRE(CHECK_SOON(!IsWindowVisible(dialog)));
    app.SendToDialog(message, 2, 0);
    CHECK_SOON(IsWindowVisible(dialog));
    ExpectStillOpen(app);
}
