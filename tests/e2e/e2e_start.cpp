// Start-up, the single running copy, and the main dialog's window: its layout, the colour-list
// panel, stay on top, the keys it ignores, and the ways it closes.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/e2e_support.h"

using namespace e2e;

namespace {

// The template is laid out collapsed; "Colors >>" adds this much width.
const int kDialogWidthUnits = 322;
const int kDialogHeightUnits = 224;
const int kPanelWidthUnits = 73;

// What tells one kind of control from another; the rest of the style is free.
const DWORD kStaticKind = SS_TYPEMASK | SS_NOTIFY | SS_SUNKEN;
const DWORD kButtonKind = BS_TYPEMASK | BS_ICON | BS_PUSHLIKE;
const DWORD kEditKind = ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER;

struct TemplateControl {
    int id;
    const char* windowClass;
    int x, y, w, h;
    DWORD kindMask;
    DWORD kind;
    DWORD edges;        // extended-style edges the control must have
    const char* text;   // checked when given
};

// Dialog 400 in template order (also the tab order).
const TemplateControl kDialog400[] = {
    {401, "Static", 7, 7, 200, 181, kStaticKind, SS_OWNERDRAW | SS_NOTIFY | SS_SUNKEN, 0, nullptr},
    {403, kFlatColorClass, 247, 7, 68, 36, 0, 0, WS_EX_STATICEDGE, nullptr},
    {427, kFlatColorClass, 247, 47, 52, 20, 0, 0, WS_EX_STATICEDGE, nullptr},
    {402, "Static", 299, 47, 16, 20, kStaticKind, SS_ICON | SS_NOTIFY, 0, nullptr},
    {434, "Button", 322, 7, 14, 12, kButtonKind, BS_PUSHBUTTON | BS_ICON, 0, nullptr},
    {431, "Button", 336, 7, 14, 12, kButtonKind, BS_PUSHBUTTON | BS_ICON, 0, nullptr},
    {432, "Button", 350, 7, 14, 12, kButtonKind, BS_PUSHBUTTON | BS_ICON, 0, nullptr},
    {433, "Button", 364, 7, 14, 12, kButtonKind, BS_PUSHBUTTON | BS_ICON, 0, nullptr},
    {430, "ListBox", 322, 23, 65, 85, 0xFFFFFFFF, 0x50A01111, 0, nullptr},
    {438, "Button", 322, 115, 14, 12, kButtonKind, BS_PUSHBUTTON | BS_ICON, 0, nullptr},
    {439, "Button", 336, 115, 14, 12, kButtonKind, BS_PUSHBUTTON | BS_ICON, 0, nullptr},
    {440, "Button", 350, 115, 14, 12, kButtonKind, BS_PUSHBUTTON | BS_ICON, 0, nullptr},
    {437, "ListBox", 322, 131, 65, 85, 0xFFFFFFFF, 0x50B01111, 0, nullptr},
    {425, "Static", 215, 7, 25, 181, kStaticKind, SS_OWNERDRAW | SS_NOTIFY, 0, nullptr},
    {407, "Button", 247, 76, 20, 8, kButtonKind, BS_AUTORADIOBUTTON, 0, "R"},
    {408, "Button", 247, 92, 20, 8, kButtonKind, BS_AUTORADIOBUTTON, 0, "G"},
    {409, "Button", 247, 108, 20, 8, kButtonKind, BS_AUTORADIOBUTTON, 0, "B"},
    {410, "Button", 247, 127, 20, 8, kButtonKind, BS_AUTORADIOBUTTON, 0, "H"},
    {411, "Button", 247, 143, 20, 8, kButtonKind, BS_AUTORADIOBUTTON, 0, "S"},
    {412, "Button", 247, 159, 20, 8, kButtonKind, BS_AUTORADIOBUTTON, 0, "B"},
    {413, "Edit", 271, 74, 20, 12, kEditKind, ES_NUMBER | WS_BORDER, 0, nullptr},
    {414, "Edit", 271, 90, 20, 12, kEditKind, ES_NUMBER | WS_BORDER, 0, nullptr},
    {415, "Edit", 271, 106, 20, 12, kEditKind, ES_NUMBER | WS_BORDER, 0, nullptr},
    {416, "Edit", 271, 125, 20, 12, kEditKind, ES_NUMBER | WS_BORDER, 0, nullptr},
    {417, "Edit", 271, 141, 20, 12, kEditKind, ES_NUMBER | WS_BORDER, 0, nullptr},
    {418, "Edit", 271, 157, 20, 12, kEditKind, ES_NUMBER | WS_BORDER, 0, nullptr},
    {404, kFlatColorClass, 295, 74, 20, 12, 0, 0, WS_EX_STATICEDGE, nullptr},
    {405, kFlatColorClass, 295, 90, 20, 12, 0, 0, WS_EX_STATICEDGE, nullptr},
    {406, kFlatColorClass, 295, 106, 20, 12, 0, 0, WS_EX_STATICEDGE, nullptr},
    {0, "Static", 295, 127, 8, 8, kStaticKind, SS_LEFT, 0, "\xB0"},
    {0, "Static", 295, 143, 8, 8, kStaticKind, SS_LEFT, 0, "%"},
    {0, "Static", 295, 159, 8, 8, kStaticKind, SS_LEFT, 0, "%"},
    {0, "Static", 247, 178, 6, 8, kStaticKind, SS_LEFT, 0, "#"},
    {419, "Edit", 257, 176, 34, 12, kEditKind, WS_BORDER, 0, nullptr},
    {421, "Button", 295, 176, 14, 12, kButtonKind, BS_PUSHBUTTON | BS_ICON, 0, nullptr},
    {0, "Static", 7, 195, 308, 1, kStaticKind, SS_ETCHEDHORZ, 0, nullptr},
    {426, "Button", 7, 204, 60, 10, kButtonKind, BS_AUTOCHECKBOX, 0, "Stay on &Top"},
    {435, "Static", 82, 203, 14, 14, kStaticKind, SS_ICON | SS_NOTIFY, WS_EX_DLGMODALFRAME, nullptr},
    // Plain push buttons: the dialog has no default button, so Enter has nothing to press.
    {436, "Button", 103, 203, 50, 14, kButtonKind, BS_PUSHBUTTON, 0, "Settings"},
    {424, "Button", 157, 203, 50, 14, kButtonKind, BS_PUSHBUTTON, 0, "Help"},
    {422, "Button", 211, 203, 50, 14, kButtonKind, BS_PUSHBUTTON, 0, "About"},
    {429, "Button", 265, 203, 50, 14, kButtonKind, BS_AUTOCHECKBOX | BS_PUSHLIKE, 0, "Colors >>"},
};
const size_t kControlCount = sizeof(kDialog400) / sizeof(kDialog400[0]);

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

// The dialog manager turns a control's WS_BORDER into WS_EX_CLIENTEDGE; fold it back to
// compare with the template.
DWORD TemplateStyle(HWND control)
{
    DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    if (GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)
        style |= WS_BORDER;
    return style;
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

std::string OrderEntry(int id, const std::string& windowClass)
{
    return std::to_string(id) + " " + windowClass;
}

// Escape and Enter in every value field, each sent by press(field, key) and followed by Tab:
// once the focus has moved on, the keys before it were handled. The window must stay open.
template <typename Press>
void ExpectEscapeAndEnterIgnored(Tintora& app, Press press)
{
    const int fields[] = {kRedEdit, kGreenEdit, kBlueEdit, kHueEdit, kSaturationEdit, kBrightnessEdit, kHexEdit};
    for (size_t i = 0; i < sizeof(fields) / sizeof(fields[0]); ++i) {
        Context context("field " + std::to_string(fields[i]));
        HWND field = app.Item(fields[i]);
        press(field, VK_ESCAPE);
        press(field, VK_RETURN);
        press(field, VK_TAB);
        CHECK(WaitUntil(3000, [&] { return app.Focus() != field; }));
    }
    CHECK(app.StaysRunning(500));
    CHECK(IsWindowVisible(app.Dialog()));
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
        CHECK(WaitUntil(2000, [&] { return CaptionShowsIcon(dialog, programIcon, smallSize); }));
        DestroyIcon(programIcon);
    }

    CHECK_EQ(app.Focus(), app.Item(kRedEdit));
}

E2E_CASE("start", "every control of dialog 400 is there in template order with its rectangle")
{
    Tintora app;
    REQUIRE(app.Start());

    std::vector<HWND> children;
    for (HWND child = GetWindow(app.Dialog(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);

    // The order first, as one line each, so a missing or misplaced control reads at a glance.
    std::string expectedOrder, actualOrder;
    for (const TemplateControl& control : kDialog400)
        expectedOrder += OrderEntry(control.id, control.windowClass) + ", ";
    for (HWND child : children)
        actualOrder += OrderEntry(GetDlgCtrlID(child), ClassName(child)) + ", ";
    CHECK_EQ(children.size(), kControlCount);
    // Window class names compare without regard to case.
    CHECK_EQ(Lower(actualOrder), Lower(expectedOrder));

    for (size_t i = 0; i < children.size() && i < kControlCount; ++i) {
        const TemplateControl& control = kDialog400[i];
        HWND child = children[i];
        Context context("control #" + std::to_string(i + 1) + ", id " + std::to_string(control.id));
        CHECK_EQ(GetDlgCtrlID(child), control.id);
        CHECK_EQ(Lower(ClassName(child)), Lower(control.windowClass));
        DWORD style = TemplateStyle(child);
        DWORD exStyle = static_cast<DWORD>(GetWindowLongA(child, GWL_EXSTYLE));
        RECT expected = DialogUnitsToPixels(control.x, control.y, control.w, control.h);
        RECT actual = ChildRect(child);
        if (control.kindMask == kStaticKind && control.kind == SS_ETCHEDHORZ) {
            // The static control builds an etched line's frame itself, around a client area
            // of the given width and no height.
            CHECK_EQ(actual.left, expected.left);
            CHECK_EQ(actual.top, expected.top);
            CHECK_EQ(Width(ClientRect(child)), Width(expected));
        } else {
            CHECK_EQ(actual, expected);
        }
        CHECK_EQ(Hex(style & control.kindMask), Hex(control.kind));
        CHECK_EQ(Hex(exStyle & control.edges), Hex(control.edges));
        CHECK(style & WS_VISIBLE);
        if (control.text)
            CHECK_EQ(WindowText(child), std::string(control.text));
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
    REQUIRE(WaitUntil(2000, [&] { return IsIconic(dialog) != 0; }));
    REQUIRE(SecondStartEnds());
    CHECK(!IsIconic(dialog));
    CHECK(IsWindowVisible(dialog));
    CHECK_EQ(WindowRect(dialog), shown);
    CHECK_EQ(GetForegroundWindow(), dialog);

    ShowWindow(dialog, SW_HIDE);
    REQUIRE(!IsWindowVisible(dialog));
    REQUIRE(SecondStartEnds());
    CHECK(IsWindowVisible(dialog));
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
        WaitUntil(5000, [&] { return created_.load(); });
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
    REQUIRE(!IsWindowVisible(dialog));

    HungWindow hung;
    REQUIRE(hung.Window() != nullptr);
    // Twice: a copy stuck on the hung window would pile up behind the first.
    for (int start = 0; start < 2; ++start) {
        Context context("start " + std::to_string(start + 2));
        Tintora second;
        REQUIRE(second.Launch());
        DWORD exitCode = 1;
        // A hang guard only: the copy gives the hung window a couple of seconds at most.
        REQUIRE(second.WaitForExit(30000, &exitCode));
        CHECK_EQ(exitCode, 0u);
        CHECK(IsWindowVisible(dialog));
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
    CHECK(app.StaysRunning(500));
    CHECK(IsWindowVisible(app.Dialog()));
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
    REQUIRE(app.Focus() == app.Item(kRedEdit));
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
    SendMessageTimeoutA(HWND_BROADCAST, InstanceMessage(), 1, 0, SMTO_ABORTIFHUNG, 5000, &result);
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
    REQUIRE(!IsWindowVisible(dialog));
    REQUIRE(GetForegroundWindow() != dialog);
    CHECK_EQ(app.SendToDialog(message, 0, 0), 0);
    CHECK(IsWindowVisible(dialog));
    CHECK_EQ(GetForegroundWindow(), dialog);

    ShowWindow(dialog, SW_MINIMIZE);
    REQUIRE(WaitUntil(2000, [&] { return IsIconic(dialog) != 0; }));
    app.SendToDialog(message, 0, 0);
    CHECK(!IsIconic(dialog));
    CHECK(IsWindowVisible(dialog));

    // Only 1 closes; every other value is a request to show.
    ShowWindow(dialog, SW_HIDE);
    REQUIRE(!IsWindowVisible(dialog));
    app.SendToDialog(message, 2, 0);
    CHECK(IsWindowVisible(dialog));
    CHECK(app.StaysRunning(300));
}
