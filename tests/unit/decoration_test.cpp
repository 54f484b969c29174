// Tool tips, button images and help, on the real main dialog created in-process from its template.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/redraw.h"
#include "flatcolor/flat_color.h"
#include "resources/resource.h"
#include "shell/help.h"
#include "shell/main_dialog.h"
#include "tests/unit/main_dialog_fixture.h"
#include "tests/unit/message_pump.h"

namespace {

// The controls with a tip, and their tips as the user reads them.
const std::map<int, std::string> kTips = {
    {IDC_CURRENT_SWATCH, "Current color"},
    {IDC_RED_SWATCH, "Red component"},
    {IDC_GREEN_SWATCH, "Green component"},
    {IDC_BLUE_SWATCH, "Blue component"},
    {IDC_MODE_RED, "Red"},
    {IDC_MODE_GREEN, "Green"},
    {IDC_MODE_BLUE, "Blue"},
    {IDC_MODE_HUE, "Hue"},
    {IDC_MODE_SATURATION, "Saturation"},
    {IDC_MODE_BRIGHTNESS, "Brightness"},
    {IDC_HEX_EDIT, "Hex color"},
    {IDC_COPY_HEX, "Copy hex color to clipboard"},
    {IDC_WEBSAFE_SWATCH, "Nearest web-safe color"},
    {IDC_SAVED_LIST, "Saved colors"},
    {IDC_SAVED_ADD, "Add current color"},
    {IDC_SAVED_DELETE, "Delete selected color"},
    {IDC_SAVED_OVERWRITE, "Overwrite selected color with current color"},
    {IDC_SAVED_LOAD, "Load selected color"},
    {IDC_GRAB, "Click and drag to grab color"},
    {IDC_NAMED_LIST, "Named colors"},
    {IDC_NAMED_LOAD, "Load selected named color"},
    {IDC_NAMED_FIND, "Find nearest named color"},
    {IDC_NAMED_COPY, "Copy selected named color"},
    {IDC_BACKGROUND_SWATCH, "Background color"},
    {IDC_CONTRAST_RATIO, "Contrast of the current color against the background (WCAG 2.x)"},
    {IDC_CONTRAST_GRADE, "(the thresholds, tested below)"},
};

// The icon buttons and the size each icon resource holds.
struct IconButton {
    int id;
    int width;
    int height;
};
const IconButton kIconButtons[] = {
    {IDC_COPY_HEX, 16, 16},        {IDC_SAVED_ADD, 13, 13},  {IDC_SAVED_DELETE, 13, 13},
    {IDC_SAVED_OVERWRITE, 13, 13}, {IDC_SAVED_LOAD, 13, 13}, {IDC_NAMED_LOAD, 13, 13},
    {IDC_NAMED_FIND, 15, 13},      {IDC_NAMED_COPY, 16, 16},
};

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    return name;
}

std::vector<HWND> Children(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

bool IconAlive(HICON icon)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return false;
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

class DecorationTest : public MainDialogFixture {
protected:
    // The tools of the dialog's tool-tip window, read in the first version of the record.
    std::vector<TOOLINFOA> Tools(std::vector<std::string>* texts = nullptr) const
    {
        std::vector<TOOLINFOA> tools;
        const LRESULT count = SendMessageA(state->toolTip, TTM_GETTOOLCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char text[128] = "";
            TOOLINFOA tool = {};
            tool.cbSize = TTTOOLINFOA_V1_SIZE;
            // A text of its own would be copied here; one from the string table comes back as its id.
            tool.lpszText = text;
            if (!SendMessageA(state->toolTip, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool)))
                break;
            tools.push_back(tool);
            if (texts) {
                // What the tool-tip control itself will show for the tool.
                char shown[128] = "";
                TOOLINFOA query = tool;
                query.lpszText = shown;
                SendMessageA(state->toolTip, TTM_GETTEXTA, sizeof(shown), reinterpret_cast<LPARAM>(&query));
                texts->push_back(shown);
            }
        }
        return tools;
    }
};

TEST_F(DecorationTest, ToolTipWindowIsATopmostPopupOwnedByTheDialog)
{
    HWND tip = state->toolTip;
    ASSERT_TRUE(IsWindow(tip));
    EXPECT_STREQ("tooltips_class32", ClassOf(tip).c_str());
    EXPECT_EQ(dialog, GetWindow(tip, GW_OWNER));
    const DWORD style = static_cast<DWORD>(GetWindowLongA(tip, GWL_STYLE));
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP),
              style & (WS_POPUP | WS_CHILD | TTS_NOPREFIX | TTS_ALWAYSTIP));
    EXPECT_TRUE(GetWindowLongA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // It goes with the dialog.
    Destroy();
    EXPECT_FALSE(IsWindow(tip));
}

TEST_F(DecorationTest, EveryControlWithATipStringHasOneToolAndNoOtherControlHasOne)
{
    std::vector<std::string> texts;
    std::vector<TOOLINFOA> tools = Tools(&texts);
    EXPECT_EQ(static_cast<LRESULT>(kTips.size()), SendMessageA(state->toolTip, TTM_GETTOOLCOUNT, 0, 0));
    ASSERT_EQ(kTips.size(), tools.size());

    std::set<int> seen;
    for (size_t i = 0; i < tools.size(); ++i) {
        const TOOLINFOA& tool = tools[i];
        HWND child = reinterpret_cast<HWND>(tool.uId);
        const int id = GetDlgCtrlID(child);
        SCOPED_TRACE("tool " + std::to_string(i) + ", control " + std::to_string(id));
        EXPECT_EQ(dialog, GetParent(child));
        EXPECT_TRUE(seen.insert(id).second) << "a second tool for the same control";
        // The dialog relays the mouse to the tip itself (see the test below).
        EXPECT_EQ(static_cast<UINT>(TTF_IDISHWND), tool.uFlags);
        EXPECT_EQ(dialog, tool.hwnd);
        EXPECT_EQ(instance, tool.hinst);
        auto expected = kTips.find(id);
        ASSERT_NE(kTips.end(), expected) << "a tool for a control without a tip";
        if (id == IDC_CONTRAST_GRADE) {
            EXPECT_EQ(LPSTR_TEXTCALLBACKA, tool.lpszText);
            continue;
        }
        EXPECT_TRUE(IS_INTRESOURCE(tool.lpszText));
        EXPECT_EQ(id, static_cast<int>(reinterpret_cast<UINT_PTR>(tool.lpszText)));
        EXPECT_EQ(expected->second, texts[i]);
    }

    // The unit labels, the "#" and contrast labels and the separator have id 0 and no tool; nor have the
    // controls whose ids have no string.
    int labels = 0;
    for (HWND child : Children(dialog)) {
        const int id = GetDlgCtrlID(child);
        if (kTips.count(id))
            continue;
        labels += id == 0;
        TOOLINFOA query = {};
        query.cbSize = TTTOOLINFOA_V1_SIZE;
        query.hwnd = dialog;
        query.uId = reinterpret_cast<UINT_PTR>(child);
        EXPECT_FALSE(SendMessageA(state->toolTip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&query)))
            << "control " << id << " has a tool";
    }
    EXPECT_EQ(6, labels);
}

// The grade's tip as the tip window asks the dialog for it: each threshold with its verdict for
// the colours on show, on lines of their own. Ratios from the published examples.
TEST_F(DecorationTest, TheGradesTipSaysWhichThresholdsTheColoursPass)
{
    const struct {
        uint32_t current, background;
        const char* verdicts;  // normal AA, normal AAA, large AA, large AAA, components
    } cases[] = {
        {0x000000, 0xFFFFFF, "pass pass pass pass pass"},  // 21:1
        {0x767676, 0xFFFFFF, "pass fail pass pass pass"},  // 4.54:1
        {0x777777, 0xFFFFFF, "fail fail pass fail pass"},  // 4.47:1
        {0xFFFFFF, 0xFF0000, "fail fail pass fail pass"},  // 3.99:1
        {0x999999, 0xFFFFFF, "fail fail fail fail fail"},  // 2.85:1
    };
    HWND grade = GetDlgItem(dialog, IDC_CONTRAST_GRADE);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.verdicts);
        state->currentColor.SetRgb(c.current);
        state->background.SetRgb(c.background);
        // What the tip window asks of the dialog before it shows the tip.
        NMTTDISPINFOA info = {};
        info.hdr.hwndFrom = state->toolTip;
        info.hdr.idFrom = reinterpret_cast<UINT_PTR>(grade);
        info.hdr.code = TTN_GETDISPINFOA;
        info.uFlags = TTF_IDISHWND;
        SendMessageA(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        ASSERT_NE(nullptr, info.lpszText);
        const char* shown = info.lpszText;
        std::string verdicts;
        const std::string text = shown;
        size_t lines = 0;
        for (size_t at = 0; (at = text.find(": ", at)) != std::string::npos; at += 2) {
            verdicts += (verdicts.empty() ? "" : " ") + text.substr(at + 2, 4);
            ++lines;
        }
        EXPECT_EQ(c.verdicts, verdicts) << text;
        EXPECT_EQ(5u, lines);
        EXPECT_EQ(0u, text.find("Normal text AA (4.5:1): ")) << text;
        EXPECT_NE(std::string::npos, text.find("\r\nUser interface components (3:1): ")) << text;
    }
}

TEST_F(DecorationTest, TipShowsWhenTheMouseRestsOnAControl)
{
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    PumpFor(200);

    HWND copy = GetDlgItem(dialog, IDC_COPY_HEX);
    RECT r;
    GetWindowRect(copy, &r);
    // Arrive from outside, then rest: the control starts its timer on the moves it sees.
    SetCursorPos(r.left - 20, r.top - 20);
    PumpFor(100);
    INPUT moves[2] = {};
    for (int i = 0; i < 2; ++i) {
        moves[i].type = INPUT_MOUSE;
        moves[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        const int x = (r.left + r.right) / 2 + i, y = (r.top + r.bottom) / 2;
        moves[i].mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        moves[i].mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    }
    SendInput(2, moves, sizeof(INPUT));

    bool shown = false;
    DWORD start = GetTickCount();
    while (!shown && GetTickCount() - start < 30000) {
        PumpFor(50);
        shown = IsWindowVisible(state->toolTip) != FALSE;
    }
    ASSERT_TRUE(shown) << "no tip within 30 s of resting on the copy button";

    TOOLINFOA current = {};
    current.cbSize = TTTOOLINFOA_V1_SIZE;
    ASSERT_TRUE(SendMessageA(state->toolTip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&current)));
    EXPECT_EQ(copy, reinterpret_cast<HWND>(current.uId));
    char text[128] = "";
    current.lpszText = text;
    SendMessageA(state->toolTip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&current));
    EXPECT_STREQ("Copy hex color to clipboard", text);

    // The tip sits at the cursor, not somewhere on the screen.
    RECT tip;
    GetWindowRect(state->toolTip, &tip);
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_LT(std::abs(tip.left - cursor.x), 64);
    EXPECT_LT(std::abs(tip.top - cursor.y), 64);
    SetCursorPos(0, 0);
}

TEST_F(DecorationTest, IconButtonsAndTheGrabControlShowTheirIconsAtTheStoredSize)
{
    for (const IconButton& button : kIconButtons) {
        SCOPED_TRACE("button " + std::to_string(button.id));
        auto icon =
            reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, button.id, BM_GETIMAGE, IMAGE_ICON, 0));
        ASSERT_NE(nullptr, icon);
        SIZE size = IconSize(icon);
        EXPECT_EQ(button.width, size.cx);
        EXPECT_EQ(button.height, size.cy);
        // Icon, no text.
        char text[16] = "?";
        GetDlgItemTextA(dialog, button.id, text, sizeof(text));
        EXPECT_STREQ("", text);
    }

    auto grab = reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, IDC_GRAB, STM_GETICON, 0, 0));
    ASSERT_NE(nullptr, grab);
    SIZE size = IconSize(grab);
    EXPECT_EQ(16, size.cx);
    EXPECT_EQ(16, size.cy);

    // Controls without an icon resource of their id get no image.
    for (int id : {IDC_HELP_BUTTON, IDC_ABOUT, IDC_SETTINGS, IDC_COLORS, IDC_STAY_ON_TOP, IDC_MODE_RED})
        EXPECT_EQ(0, SendDlgItemMessageA(dialog, id, BM_GETIMAGE, IMAGE_ICON, 0)) << "control " << id;
}

// Whether the web-safe mark, as it went, still showed an icon that was already destroyed.
WNDPROC g_markProc;
bool g_markShowedADeadIcon;

LRESULT CALLBACK WatchMarkTeardown(HWND mark, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_DESTROY) {
        auto shown = reinterpret_cast<HICON>(SendMessageA(mark, STM_GETICON, 0, 0));
        g_markShowedADeadIcon = shown && !IconAlive(shown);
    }
    return CallWindowProcA(g_markProc, mark, message, wparam, lparam);
}

TEST_F(DecorationTest, TeardownDestroysTheControlImages)
{
    std::vector<HICON> icons;
    for (const IconButton& button : kIconButtons) {
        auto icon =
            reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, button.id, BM_GETIMAGE, IMAGE_ICON, 0));
        ASSERT_TRUE(IconAlive(icon)) << "button " << button.id;
        icons.push_back(icon);
    }
    auto grabIcon = reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, IDC_GRAB, STM_GETICON, 0, 0));
    ASSERT_TRUE(IconAlive(grabIcon));
    AppState* state = GetAppState(dialog);
    ASSERT_NE(nullptr, state);
    HICON notWebSafe = state->notWebSafeIcon;
    // A colour off the web-safe grid: the mark shows its icon up to the end.
    state->currentColor.SetRgb(0x123456);
    SendMessageA(dialog, SELECTOR_REDRAW, RB_ALL, 0);
    HWND mark = GetDlgItem(dialog, IDC_WEBSAFE_MARK);
    ASSERT_EQ(notWebSafe, reinterpret_cast<HICON>(SendMessageA(mark, STM_GETICON, 0, 0)));
    g_markShowedADeadIcon = false;
    g_markProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(mark, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchMarkTeardown)));
    Destroy();
    EXPECT_FALSE(g_markShowedADeadIcon) << "the mark still showed its icon when the icon was destroyed";
    for (size_t i = 0; i < icons.size(); ++i)
        EXPECT_FALSE(IconAlive(icons[i])) << "the icon of button " << kIconButtons[i].id << " is left";
    EXPECT_FALSE(IconAlive(grabIcon)) << "the grab control's icon is left";
    // The web-safe mark's icon is the dialog's own and goes exactly once with it.
    EXPECT_FALSE(IconAlive(notWebSafe));
}

TEST_F(DecorationTest, TeardownReleasesExactlyTheIconsTheWalkGave)
{
    AppState* state = GetAppState(dialog);
    ASSERT_NE(nullptr, state);
    // The icon buttons and the grab control, nothing else.
    EXPECT_EQ(sizeof(kIconButtons) / sizeof(kIconButtons[0]) + 1, state->decoration.count);

    // A control given another icon since keeps it: only the walk's own goes.
    HWND copy = GetDlgItem(dialog, IDC_COPY_HEX);
    auto walkIcon = reinterpret_cast<HICON>(SendMessageA(copy, BM_GETIMAGE, IMAGE_ICON, 0));
    ASSERT_TRUE(IconAlive(walkIcon));
    HICON later = CopyIcon(LoadIconA(nullptr, IDI_APPLICATION));
    ASSERT_NE(nullptr, later);
    SendMessageA(copy, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(later));
    Destroy();
    EXPECT_FALSE(IconAlive(walkIcon));
    EXPECT_TRUE(IconAlive(later)) << "an icon the walk did not give was destroyed";
    DestroyIcon(later);
}

// ---- help ------------------------------------------------------------------------------

// Watches the windows this thread creates while it lives; message boxes are refused, so one
// raised by mistake fails the test instead of waiting for a click.
class WindowWatch {
public:
    WindowWatch()
    {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~WindowWatch()
    {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;

    bool Hooked() const { return hook_ != nullptr; }
    int MessageBoxes() const { return messageBoxes_; }
    const std::vector<HWND>& Created() const { return created_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam)
    {
        if (code == HCBT_CREATEWND && current_) {
            auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lparam);
            const char* name = create->lpcs->lpszClass;
            // The dialog class is an atom; message boxes are dialogs of the system's class.
            if (IS_INTRESOURCE(name) ? LOWORD(reinterpret_cast<UINT_PTR>(name)) == 0x8002
                                     : lstrcmpiA(name, "#32770") == 0) {
                ++current_->messageBoxes_;
                return 1;
            }
            current_->created_.push_back(reinterpret_cast<HWND>(wparam));
        }
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }

    static WindowWatch* current_;
    HHOOK hook_ = nullptr;
    int messageBoxes_ = 0;
    std::vector<HWND> created_;
};
WindowWatch* WindowWatch::current_ = nullptr;

struct ShownFound {
    std::set<HWND> except;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectShown(HWND window, LPARAM lparam)
{
    auto* found = reinterpret_cast<ShownFound*>(lparam);
    if (!found->except.count(window) && IsWindowVisible(window))
        found->windows.push_back(window);
    return TRUE;
}

// Top-level windows of this thread that are shown, other than the dialog and its tips.
std::vector<HWND> ShownWindows(const AppState* state)
{
    ShownFound found = {{state->dialog, state->toolTip}, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectShown, reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

// Runs the test body in another current directory and comes back.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::string& folder)
    {
        GetCurrentDirectoryA(MAX_PATH, previous_);
        ok_ = SetCurrentDirectoryA(folder.c_str()) != FALSE;
    }
    ~CurrentDirectory() { SetCurrentDirectoryA(previous_); }
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;
    bool Ok() const { return ok_; }

private:
    char previous_[MAX_PATH] = "";
    bool ok_ = false;
};

TEST_F(DecorationTest, HelpOpensTheContentsOfTheHelpFileOverTheDialog)
{
    // The build puts tintora.chm beside the programs, this one included; it is found there
    // even from a current folder without it.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string elsewhere = std::string(temp) + "tintora-help-elsewhere";
    CreateDirectoryA(elsewhere.c_str(), nullptr);
    CurrentDirectory away(elsewhere);
    ASSERT_TRUE(away.Ok());
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("tintora.chm"));

    ShowWindow(dialog, SW_SHOW);
    PumpFor(100);
    WindowWatch watch;
    ShowHelp(dialog);
    PumpFor(500);
    EXPECT_EQ(0, watch.MessageBoxes());

    HWND viewer = nullptr;
    for (HWND window : ShownWindows(state)) {
        char title[128] = "";
        GetWindowTextA(window, title, sizeof(title));
        if (strcmp(title, "Ostrel Tintora Help") == 0)
            viewer = window;
    }
    ASSERT_NE(nullptr, viewer) << "no help window titled \"Ostrel Tintora Help\"";

    // The contents pane lists the guide's pages.
    HWND tree = nullptr;
    std::vector<HWND> stack = {viewer};
    while (!stack.empty() && !tree) {
        HWND window = stack.back();
        stack.pop_back();
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (lstrcmpiA(ClassOf(child).c_str(), WC_TREEVIEWA) == 0 && IsWindowVisible(child))
                tree = child;
            stack.push_back(child);
        }
    }
    ASSERT_NE(nullptr, tree) << "no contents tree in the help window";
    EXPECT_GE(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 7);
    HTREEITEM first = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    char name[64] = "";
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = first;
    item.pszText = name;
    item.cchTextMax = sizeof(name);
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ("Welcome to Tintora", name);

    DestroyWindow(viewer);
}

}  // namespace
