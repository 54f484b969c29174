// The FlatColor swatch on real windows: notifications from real mouse input, paints counted and
// read back from the window, the real clipboard, the popup menu and the handles it owns.
#include "flatcolor/flat_color.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/shared/clipboard_text.h"
#include "tests/shared/dib_canvas.h"
#include "tests/unit/live_objects.h"
#include "tests/unit/message_pump.h"

namespace {

const char kHostClass[] = "Tintora FlatColor Test Host";
const int kSwatchId = 403;
const COLORREF kOrange = RGB(255, 128, 0);  // 0x000080FF, "FF8000"
const COLORREF kDarkRed = RGB(128, 0, 0);   // 0x00000080: white text
const COLORREF kYellow = RGB(255, 255, 0);  // 0x0000FFFF: black text
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

HINSTANCE Self()
{
    return GetModuleHandleA(nullptr);
}

struct Command {
    WPARAM wparam;
    LPARAM lparam;
};
std::vector<Command> g_commands;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_COMMAND) {
        g_commands.push_back({wparam, lparam});
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> data;

    COLORREF At(int x, int y) const { return data[y * width + x]; }
    int Count(COLORREF color) const
    {
        int n = 0;
        for (COLORREF c : data)
            n += c == color;
        return n;
    }
    // Bounding box of the pixels that are not `fill`; empty when there are none.
    RECT InkBox(COLORREF fill) const
    {
        RECT box = {width, height, 0, 0};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (At(x, y) != fill) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        if (box.right == 0)
            SetRectEmpty(&box);
        return box;
    }
};

// Runs `draw` on a 32-bit top-down DIB of the given size and returns its pixels as COLORREFs.
template <typename Draw>
Pixels RenderInto(int width, int height, Draw draw)
{
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    DibCanvas canvas(width, height);
    if (!canvas.Ok())
        return pixels;
    draw(canvas.Dc());
    GdiFlush();
    const uint32_t* p = canvas.Bits();
    pixels.data.resize(width * height);
    for (int i = 0; i < width * height; ++i)
        pixels.data[i] = RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF);
    return pixels;
}

// What the window shows in its client area right now.
Pixels Capture(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    Pixels pixels = RenderInto(client.right, client.bottom, [&](HDC memory) {
        BitBlt(memory, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    });
    ReleaseDC(window, dc);
    return pixels;
}

// The same area filled with `fill` and `text` drawn the way a swatch centres it.
Pixels Expected(int width, int height, COLORREF fill, const char* text, COLORREF ink, HFONT font)
{
    return RenderInto(width, height, [&](HDC memory) {
        RECT r = {0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(fill);
        FillRect(memory, &r, brush);
        DeleteObject(brush);
        if (text) {
            HGDIOBJ oldFont = SelectObject(memory, font);
            SetTextColor(memory, ink);
            SetBkColor(memory, fill);
            DrawTextA(memory, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
            SelectObject(memory, oldFont);
        }
    });
}

int CountDifferences(const Pixels& a, const Pixels& b)
{
    if (a.width != b.width || a.height != b.height)
        return -1;
    int n = 0;
    for (size_t i = 0; i < a.data.size(); ++i)
        n += a.data[i] != b.data[i];
    return n;
}

POINT ScreenCentre(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    POINT p = {r.right / 2, r.bottom / 2};
    ClientToScreen(window, &p);
    return p;
}

UINT SendButtons(std::initializer_list<DWORD> flags)
{
    std::vector<INPUT> inputs;
    for (DWORD f : flags) {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = f;
        inputs.push_back(input);
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

struct MenuSighting {
    bool seen = false;
    HMENU menu = nullptr;
    RECT rect = {};
};
MenuSighting g_sighting;

HWND VisibleMenuWindow()
{
    HWND popup = nullptr;
    while ((popup = FindWindowExA(nullptr, popup, "#32768", nullptr)))
        if (IsWindowVisible(popup))
            return popup;
    return nullptr;
}

void CALLBACK CloseMenuTimer(HWND, UINT, UINT_PTR, DWORD)
{
    HWND popup = VisibleMenuWindow();
    if (!popup)
        return;
    if (!g_sighting.seen) {
        g_sighting.seen = true;
        g_sighting.menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        GetWindowRect(popup, &g_sighting.rect);
    }
    EndMenu();
}

struct ThreadTimer {
    ThreadTimer(UINT ms, TIMERPROC proc) : id(SetTimer(nullptr, 0, ms, proc)) {}
    ~ThreadTimer() { KillTimer(nullptr, id); }
    UINT_PTR id;
};

// Ends a menu loop that the timer failed to end, so a broken control fails instead of hanging.
class MenuWatchdog {
public:
    explicit MenuWatchdog(DWORD ms) : ms_(ms)
    {
        stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~MenuWatchdog()
    {
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(stop_);
    }
    bool Fired() const { return fired_; }

private:
    static DWORD WINAPI Run(void* param)
    {
        auto* self = static_cast<MenuWatchdog*>(param);
        while (WaitForSingleObject(self->stop_, self->ms_) == WAIT_TIMEOUT) {
            self->fired_ = true;
            EndMenu();
            if (HWND popup = VisibleMenuWindow())
                PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
        }
        return 0;
    }
    DWORD ms_;
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
    volatile bool fired_ = false;
};

class FlatColorTest : public ::testing::Test {
protected:
    // One host window for the whole suite; each test's swatches are its children and go in
    // TearDown.
    static void SetUpTestSuite()
    {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = HostProc;
        wc.hInstance = Self();
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kHostClass;
        RegisterClassExA(&wc);
        host = CreateWindowExA(WS_EX_TOPMOST, kHostClass, "FlatColor test",
                               WS_POPUP | WS_BORDER | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 320, 200,
                               nullptr, nullptr, Self(), nullptr);
        SetForegroundWindow(host);
        UpdateWindow(host);
        PumpFor(50);
    }

    static void TearDownTestSuite()
    {
        DestroyWindow(host);
        host = nullptr;
        UnregisterClassA(kHostClass, Self());
    }

    void SetUp() override
    {
        ASSERT_NE(nullptr, host);
        ASSERT_TRUE(RegisterFlatColorClass(Self()));
        g_commands.clear();
    }

    void TearDown() override
    {
        while (HWND child = GetWindow(host, GW_CHILD))
            DestroyWindow(child);
        PumpFor(20);
    }

    HWND CreateSwatch(DWORD displayBits, int x = 20, int y = 20, int width = 100, int height = 40)
    {
        HWND swatch = CreateWindowExA(
            WS_EX_STATICEDGE, FLATCOLOR_CLASS_NAME, "", WS_CHILD | WS_VISIBLE | displayBits, x, y, width,
            height, host, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSwatchId)), Self(), nullptr);
        if (swatch) {
            SendMessageA(swatch, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
            UpdateWindow(swatch);
        }
        return swatch;
    }

    static HFONT Font() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

    static FlatColorState* State(HWND swatch)
    {
        return reinterpret_cast<FlatColorState*>(GetWindowLongPtrA(swatch, GWLP_USERDATA));
    }

    // The client area of `swatch` as it should look with `fill` and `text` (nullptr: no text).
    Pixels ExpectedFor(HWND swatch, COLORREF fill, const char* text, COLORREF ink)
    {
        RECT r;
        GetClientRect(swatch, &r);
        return Expected(r.right, r.bottom, fill, text, ink, Font());
    }

    // The command to the swatch leaves `text` on the clipboard, "stale" for none, and the
    // clipboard closed, with the swatch as its owner when it copied.
    void ExpectCommandCopies(HWND swatch, WPARAM command, const char* text)
    {
        SCOPED_TRACE(command);
        ASSERT_TRUE(PutClipboardText(host, "stale"));
        SendMessageA(swatch, WM_COMMAND, command, 0);
        EXPECT_EQ(nullptr, GetOpenClipboardWindow());
        EXPECT_EQ(text, ClipboardText());
        if (strcmp(text, "stale") != 0) {
            EXPECT_EQ(swatch, GetClipboardOwner());
        }
    }

    static HWND host;
};

HWND FlatColorTest::host = nullptr;

TEST_F(FlatColorTest, ClassRegistersOnceAndAcceptsARepeat)
{
    // Start from no class when no swatch exists, so the first call really registers.
    UnregisterClassA(FLATCOLOR_CLASS_NAME, Self());
    EXPECT_TRUE(RegisterFlatColorClass(Self()));
    EXPECT_TRUE(RegisterFlatColorClass(Self()));

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(GetClassInfoExA(Self(), FLATCOLOR_CLASS_NAME, &wc));
    EXPECT_EQ(static_cast<UINT>(CS_PARENTDC | CS_DBLCLKS), wc.style);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), wc.hCursor);
    EXPECT_EQ(nullptr, wc.hbrBackground);
    EXPECT_EQ(0, wc.cbClsExtra);
    EXPECT_EQ(0, wc.cbWndExtra);
}

TEST_F(FlatColorTest, RealClickAndDoubleClickNotifyTheParent)
{
    HWND swatch = CreateSwatch(0);
    ASSERT_NE(nullptr, swatch);
    const WPARAM clicked = MAKEWPARAM(kSwatchId, FCN_CLICKED);
    const WPARAM doubled = MAKEWPARAM(kSwatchId, FCN_DBLCLK);
    const LPARAM from = reinterpret_cast<LPARAM>(swatch);
    const DWORD doubleClickTime = GetDoubleClickTime();

    const POINT centre = ScreenCentre(swatch);
    ASSERT_TRUE(SetCursorPos(centre.x, centre.y));
    PumpFor(50);
    ASSERT_EQ(swatch, WindowFromPoint(centre));

    // One click; then wait past the double-click time so nothing pairs with it.
    ASSERT_EQ(2u, SendButtons({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}));
    EXPECT_TRUE(PumpUntil([] { return !g_commands.empty(); }));
    PumpFor(doubleClickTime + 100);
    ASSERT_EQ(1u, g_commands.size());
    EXPECT_EQ(clicked, g_commands[0].wparam);
    EXPECT_EQ(from, g_commands[0].lparam);
    EXPECT_NE(swatch, GetFocus());
    EXPECT_EQ(nullptr, GetCapture());

    g_commands.clear();
    ASSERT_EQ(4u, SendButtons(
                      {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}));
    EXPECT_TRUE(PumpUntil([] { return g_commands.size() >= 2; }));
    PumpFor(200);
    ASSERT_EQ(2u, g_commands.size());
    EXPECT_EQ(clicked, g_commands[0].wparam);
    EXPECT_EQ(from, g_commands[0].lparam);
    EXPECT_EQ(doubled, g_commands[1].wparam);
    EXPECT_EQ(from, g_commands[1].lparam);
}

TEST_F(FlatColorTest, SetColorPaintsAtOnceAndOnlyWhenTheColourChanges)
{
    HWND swatch = CreateSwatch(FCS_HEX);
    ASSERT_NE(nullptr, swatch);
    PumpFor(50);
    FlatColorState* state = State(swatch);
    ASSERT_NE(nullptr, state);
    EXPECT_EQ(GetSysColorBrush(COLOR_WINDOW), state->Brush());
    EXPECT_FALSE(state->ownBrush);

    // The first colour paints although black is what the zeroed state already holds; the window
    // shows it before the message returns, with nothing left for a later paint.
    EXPECT_EQ(0, SendMessageA(swatch, FCM_SETCOLOR, kBlack, 0));
    EXPECT_EQ(0, CountDifferences(ExpectedFor(swatch, kBlack, "000000", kWhite), Capture(swatch)));
    EXPECT_FALSE(GetUpdateRect(swatch, nullptr, FALSE));
    EXPECT_TRUE(state->ownBrush);
    HBRUSH first = state->Brush();
    EXPECT_NE(GetSysColorBrush(COLOR_WINDOW), first);
    LOGBRUSH lb = {};
    ASSERT_EQ(static_cast<int>(sizeof(lb)), GetObjectA(first, sizeof(lb), &lb));
    EXPECT_EQ(kBlack, lb.lbColor);

    // The same colour again paints nothing: a mark put on the window stays, and no paint is
    // queued; the brush is the same.
    const COLORREF kMark = RGB(255, 0, 255);
    auto mark = [&] {
        HDC dc = GetDC(swatch);
        RECT corner = {0, 0, 4, 4};
        HBRUSH brush = CreateSolidBrush(kMark);
        FillRect(dc, &corner, brush);
        DeleteObject(brush);
        ReleaseDC(swatch, dc);
    };
    mark();
    SendMessageA(swatch, FCM_SETCOLOR, kBlack, 0);
    EXPECT_EQ(16, Capture(swatch).Count(kMark));
    EXPECT_FALSE(GetUpdateRect(swatch, nullptr, FALSE));
    EXPECT_EQ(first, state->Brush());

    // A new colour paints before the message returns and replaces (and frees) the brush.
    SendMessageA(swatch, FCM_SETCOLOR, kOrange, 0);
    EXPECT_EQ(0, CountDifferences(ExpectedFor(swatch, kOrange, "FF8000", kBlack), Capture(swatch)));
    EXPECT_NE(first, state->Brush());
    EXPECT_EQ(0u, GetObjectType(first));
    ASSERT_EQ(static_cast<int>(sizeof(lb)), GetObjectA(state->Brush(), sizeof(lb), &lb));
    EXPECT_EQ(kOrange, lb.lbColor);
    EXPECT_EQ(kOrange, state->color.GetColorRef());

    HBRUSH orange = state->Brush();
    mark();
    SendMessageA(swatch, FCM_SETCOLOR, kOrange, 12345);  // lparam means nothing
    EXPECT_EQ(16, Capture(swatch).Count(kMark));
    EXPECT_EQ(orange, state->Brush());

    // Hidden, the swatch is left to paint when it shows again.
    ShowWindow(swatch, SW_HIDE);
    SendMessageA(swatch, FCM_SETCOLOR, kBlack, 0);
    ShowWindow(swatch, SW_SHOW);
    UpdateWindow(swatch);
    EXPECT_EQ(0, CountDifferences(ExpectedFor(swatch, kBlack, "000000", kWhite), Capture(swatch)));
}

TEST_F(FlatColorTest, PaintsTheWindowColourBeforeTheFirstColour)
{
    HWND swatch = CreateSwatch(0);
    ASSERT_NE(nullptr, swatch);
    PumpFor(50);
    Pixels shown = Capture(swatch);
    ASSERT_GT(shown.width * shown.height, 0);
    EXPECT_EQ(shown.width * shown.height, shown.Count(GetSysColor(COLOR_WINDOW)));

    // With display bits the colour is still zero: "000000" in its contrast colour, white, on
    // its own black text background, over the window colour.
    HWND hex = CreateSwatch(FCS_HEX, 160, 20);
    ASSERT_NE(nullptr, hex);
    PumpFor(50);
    RECT r;
    GetClientRect(hex, &r);
    const Pixels expected = RenderInto(r.right, r.bottom, [&](HDC memory) {
        FillRect(memory, &r, GetSysColorBrush(COLOR_WINDOW));
        HGDIOBJ oldFont = SelectObject(memory, Font());
        SetTextColor(memory, kWhite);
        SetBkColor(memory, kBlack);
        DrawTextA(memory, "000000", -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        SelectObject(memory, oldFont);
    });
    EXPECT_EQ(0, CountDifferences(expected, Capture(hex)));
}

TEST_F(FlatColorTest, PaintsTheColourAndTheContrastingHexText)
{
    struct Case {
        COLORREF color;
        const char* text;
        COLORREF ink;
    } const cases[] = {
        {kDarkRed, "800000", kWhite},
        {kYellow, "FFFF00", kBlack},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        HWND plain = CreateSwatch(0, 20, 20);
        HWND hex = CreateSwatch(FCS_HEX, 160, 20);
        ASSERT_NE(nullptr, plain);
        ASSERT_NE(nullptr, hex);
        SendMessageA(plain, FCM_SETCOLOR, c.color, 0);
        SendMessageA(hex, FCM_SETCOLOR, c.color, 0);

        // No display bits: every pixel is the colour.
        Pixels noText = Capture(plain);
        ASSERT_GT(noText.width * noText.height, 0);
        EXPECT_EQ(noText.width * noText.height, noText.Count(c.color));

        // FCS_HEX: corners stay the colour, the text in the contrast colour sits in the middle.
        Pixels withText = Capture(hex);
        const int w = withText.width, h = withText.height;
        EXPECT_EQ(c.color, withText.At(0, 0));
        EXPECT_EQ(c.color, withText.At(w - 1, 0));
        EXPECT_EQ(c.color, withText.At(0, h - 1));
        EXPECT_EQ(c.color, withText.At(w - 1, h - 1));
        EXPECT_GT(withText.Count(c.ink), 20);
        RECT ink = withText.InkBox(c.color);
        EXPECT_NEAR(w / 2.0, (ink.left + ink.right) / 2.0, 3.0);
        EXPECT_NEAR(h / 2.0, (ink.top + ink.bottom) / 2.0, 3.0);
        EXPECT_EQ(0, CountDifferences(ExpectedFor(hex, c.color, c.text, c.ink), withText));

        DestroyWindow(plain);
        DestroyWindow(hex);
    }
}

TEST_F(FlatColorTest, DisplayBitsPickTheDigitsDrawn)
{
    const COLORREF color = RGB(0x1A, 0x2B, 0x3C);  // dark, distinct digits with letters
    struct Case {
        DWORD bits;
        const char* text;
    } const cases[] = {
        {FCS_HEX, "1A2B3C"},         {FCS_RED, "1A"},
        {FCS_GREEN, "2B"},           {FCS_BLUE, "3C"},
        {FCS_RED | FCS_GREEN, "2B"}, {FCS_HEX | FCS_RED, "1A2B3C"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        HWND swatch = CreateSwatch(c.bits);
        ASSERT_NE(nullptr, swatch);
        SendMessageA(swatch, FCM_SETCOLOR, color, 0);
        EXPECT_EQ(0, CountDifferences(ExpectedFor(swatch, color, c.text, kWhite), Capture(swatch)));
        DestroyWindow(swatch);
    }
}

TEST_F(FlatColorTest, StyleChangeSwitchesTheTextAtTheNextPaint)
{
    HWND swatch = CreateSwatch(0);
    ASSERT_NE(nullptr, swatch);
    SendMessageA(swatch, FCM_SETCOLOR, kDarkRed, 0);
    const Pixels plain = ExpectedFor(swatch, kDarkRed, nullptr, kWhite);
    const Pixels hex = ExpectedFor(swatch, kDarkRed, "800000", kWhite);
    ASSERT_EQ(0, CountDifferences(plain, Capture(swatch)));

    // Setting the bit: the swatch asks for the paint itself.
    SetWindowLongA(swatch, GWL_STYLE, GetWindowLongA(swatch, GWL_STYLE) | FCS_HEX);
    EXPECT_EQ(FCS_HEX, State(swatch)->displayBits);
    EXPECT_TRUE(GetUpdateRect(swatch, nullptr, FALSE));
    UpdateWindow(swatch);
    EXPECT_EQ(0, CountDifferences(hex, Capture(swatch)));

    SetWindowLongA(swatch, GWL_STYLE, GetWindowLongA(swatch, GWL_STYLE) & ~FCS_HEX);
    EXPECT_EQ(0, State(swatch)->displayBits);
    EXPECT_TRUE(GetUpdateRect(swatch, nullptr, FALSE));
    UpdateWindow(swatch);
    EXPECT_EQ(0, CountDifferences(plain, Capture(swatch)));

    // The extended style's low bits are not display bits (WS_EX_DLGMODALFRAME is 0x1).
    SetWindowLongA(swatch, GWL_EXSTYLE, GetWindowLongA(swatch, GWL_EXSTYLE) | WS_EX_DLGMODALFRAME);
    EXPECT_EQ(0, State(swatch)->displayBits);
    UpdateWindow(swatch);
    EXPECT_EQ(0, CountDifferences(plain, Capture(swatch)));
}

TEST(FlatColorText, DisplayBitsChooseTheDigits)
{
    struct Case {
        WORD bits;
        const char* text;  // nullptr: no text
    } const cases[] = {
        {0, nullptr},      {0x2, "A1"},           {0x4, "B2"},           {0x8, "C3"},     {0x2 | 0x4, "B2"},
        {0x4 | 0x8, "C3"}, {0x2 | 0x1, "A1B2C3"}, {0x8 | 0x1, "A1B2C3"}, {0xF, "A1B2C3"}, {0x10, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        char text[8];
        memset(text, 'x', sizeof(text));
        const bool chosen = SelectSwatchText(c.bits, "A1B2C3", text);
        if (!c.text) {
            EXPECT_FALSE(chosen);
            continue;
        }
        ASSERT_TRUE(chosen);
        EXPECT_STREQ(c.text, text);
    }
}

TEST_F(FlatColorTest, MenuCommandsCopyTheHexText)
{
    HWND swatch = CreateSwatch(0);
    ASSERT_NE(nullptr, swatch);
    SendMessageA(swatch, FCM_SETCOLOR, kOrange, 0);

    struct Case {
        WPARAM id;
        const char* text;
    } const cases[] = {
        {IDM_COPY, "FF8000"},
        {IDM_COPY_WITH_PREFIX, "#FF8000"},
        {IDM_COPY_WITHOUT_PREFIX, "FF8000"},
        {599, "stale"},
        {607, "stale"},
        // Keyed by the whole wparam: an accelerator's code 1 with a menu id is not the menu.
        {MAKEWPARAM(IDM_COPY, 1), "stale"},
        {MAKEWPARAM(IDM_COPY_WITH_PREFIX, 1), "stale"},
    };
    for (const Case& c : cases)
        ExpectCommandCopies(swatch, c.id, c.text);
    // Upper case whatever the letters.
    SendMessageA(swatch, FCM_SETCOLOR, RGB(0xAB, 0xCD, 0xEF), 0);
    SendMessageA(swatch, WM_COMMAND, IDM_COPY_WITH_PREFIX, 0);
    EXPECT_EQ("#ABCDEF", ClipboardText());
}

TEST_F(FlatColorTest, MenuCommandsCopyTheColourAsCode)
{
    HWND swatch = CreateSwatch(0);
    ASSERT_NE(nullptr, swatch);
    SendMessageA(swatch, FCM_SETCOLOR, kOrange, 0);

    struct Case {
        WPARAM id;
        const char* text;
    } const cases[] = {
        {IDM_COPY_CSS_RGB, "rgb(255, 128, 0)"},
        {IDM_COPY_CSS_HSL, "hsl(30, 100%, 50%)"},
        {IDM_COPY_WIN32_RGB, "RGB(255, 128, 0)"},
        {IDM_COPY_COLORREF, "0x000080FF"},
        {MAKEWPARAM(IDM_COPY_CSS_RGB, 1), "stale"},
        {MAKEWPARAM(IDM_COPY_COLORREF, 1), "stale"},
        {IDM_COPY_OKLCH, "oklch(73.2% 0.186 53)"},
        {IDM_COPY_INTEGER, "16744448"},
        // The user's formats, by their place in the list; one past the list copies nothing.
        {IDM_COPY_CUSTOM_FIRST, "Color.FromArgb(255, 128, 0)"},
        {IDM_COPY_CUSTOM_FIRST + 1, "#FF8000;"},
        {IDM_COPY_CUSTOM_FIRST + 2, "stale"},
    };
    CustomFormats formats = {2, {{"C#", "Color.FromArgb({r}, {g}, {b})"}, {"Hex", "#{RX}{GX}{BX};"}}};
    SendMessageA(swatch, FCM_SETFORMATS, 0, reinterpret_cast<LPARAM>(&formats));
    for (const Case& c : cases)
        ExpectCommandCopies(swatch, c.id, c.text);
    // Each swatch copies its own colour, the latest one sent.
    SendMessageA(swatch, FCM_SETCOLOR, RGB(0x1A, 0x2B, 0x3C), 0);
    HWND other = CreateSwatch(0, 160, 20);
    ASSERT_NE(nullptr, other);
    SendMessageA(other, FCM_SETCOLOR, RGB(0xAB, 0xCD, 0xEF), 0);
    SendMessageA(swatch, WM_COMMAND, IDM_COPY_CSS_HSL, 0);
    EXPECT_EQ("hsl(210, 40%, 17%)", ClipboardText());
    SendMessageA(other, WM_COMMAND, IDM_COPY_COLORREF, 0);
    EXPECT_EQ("0x00EFCDAB", ClipboardText());
    SendMessageA(other, WM_COMMAND, IDM_COPY_WIN32_RGB, 0);
    EXPECT_EQ("RGB(171, 205, 239)", ClipboardText());
    SendMessageA(swatch, WM_COMMAND, IDM_COPY_CSS_RGB, 0);
    EXPECT_EQ("rgb(26, 43, 60)", ClipboardText());
}

TEST_F(FlatColorTest, PopupMenuHoldsTheHexItemsThenTheCodeItemsThenPaste)
{
    HWND swatch = CreateSwatch(0);
    ASSERT_NE(nullptr, swatch);
    HMENU menu = State(swatch)->menu;
    ASSERT_TRUE(IsMenu(menu));
    ASSERT_EQ(20, GetMenuItemCount(menu));
    const struct {
        UINT id;  // 0: the separator
        const char* text;
    } items[] = {
        {IDM_COPY, "&Copy to Clipboard"},
        {IDM_COPY_WITH_PREFIX, "Copy to Clipboard &with Prefix (#)"},
        {IDM_COPY_WITHOUT_PREFIX, "Copy to Clipboard with&out Prefix (#)"},
        {0, ""},
        {IDM_COPY_CSS_RGB, "Copy as CSS &rgb()"},
        {IDM_COPY_CSS_HSL, "Copy as CSS &hsl()"},
        {IDM_COPY_WIN32_RGB, "Copy as Win32 RGB() &Macro"},
        {IDM_COPY_COLORREF, "Copy as COLORREF &Literal"},
        {IDM_COPY_OKLCH, "Copy as CSS o&klch()"},
        {IDM_COPY_OKLAB, "Copy as CSS oklab()"},
        {IDM_COPY_LAB, "Copy as CSS lab()"},
        {IDM_COPY_LCH, "Copy as CSS lch()"},
        {IDM_COPY_HWB, "Copy as CSS hwb()"},
        {IDM_COPY_COLOR_SRGB, "Copy as CSS color(sr&gb)"},
        {IDM_COPY_HSB, "Copy as hsb()"},
        {IDM_COPY_CMYK, "Copy as cm&yk()"},
        {IDM_COPY_FLOAT_TRIPLE, "Copy as &Float Triple"},
        {IDM_COPY_INTEGER, "Copy as &Integer"},
        {0, ""},
        {IDM_PASTE, "&Paste Color"},
    };
    std::string mnemonics;
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        ASSERT_TRUE(GetMenuItemInfoA(menu, i, TRUE, &info));
        EXPECT_EQ(items[i].id == 0, (info.fType & MFT_SEPARATOR) != 0);
        EXPECT_EQ(0u, info.fState & (MFS_DISABLED | MFS_CHECKED));
        if (items[i].id == 0)
            continue;
        EXPECT_EQ(items[i].id, GetMenuItemID(menu, i));
        char text[100] = {};
        GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION);
        EXPECT_STREQ(items[i].text, text);
        // An item with a key has its own: the letter after '&', in either case. lch(), hwb(),
        // lab(), oklab() and hsb() have no letter left that their names hold (a, b and s are
        // the background's items', added by the dialog).
        const char* amp = strchr(text, '&');
        if (items[i].id == IDM_COPY_LCH || items[i].id == IDM_COPY_HWB || items[i].id == IDM_COPY_LAB ||
            items[i].id == IDM_COPY_OKLAB || items[i].id == IDM_COPY_HSB) {
            EXPECT_EQ(nullptr, amp);
            continue;
        }
        ASSERT_NE(nullptr, amp);
        const char key = static_cast<char>(tolower(static_cast<unsigned char>(amp[1])));
        EXPECT_EQ(std::string::npos, mnemonics.find(key)) << key;
        mnemonics += key;
    }
    EXPECT_EQ(static_cast<UINT>(IDM_COPY), GetMenuDefaultItem(menu, FALSE, 0));
    for (char key : {'a', 'b', 's'})
        EXPECT_EQ(std::string::npos, mnemonics.find(key)) << key << " is the background items' key";
}

// Items the parent adds go last, with their string-table texts and states; chosen, each comes
// back to the parent as a notification with its id. Commands the menu has no item for do not.
TEST_F(FlatColorTest, ItemsTheParentAddsComeBackAsItsNotifications)
{
    HWND swatch = CreateSwatch(0);
    ASSERT_NE(nullptr, swatch);
    HMENU menu = State(swatch)->menu;
    EXPECT_TRUE(SendMessageA(swatch, FCM_ADDMENUITEM, IDM_USE_AS_BACKGROUND, 0));
    EXPECT_TRUE(SendMessageA(swatch, FCM_ADDMENUITEM, 0, 0));
    EXPECT_TRUE(SendMessageA(swatch, FCM_ADDMENUITEM, IDM_SWAP_WITH_CURRENT, MFS_GRAYED));
    ASSERT_EQ(23, GetMenuItemCount(menu));
    char text[100] = {};
    GetMenuStringA(menu, 20, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("Use as &Background", text);
    EXPECT_EQ(static_cast<UINT>(MF_SEPARATOR), GetMenuState(menu, 21, MF_BYPOSITION) & MF_SEPARATOR);
    GetMenuStringA(menu, 22, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("&Swap with Current", text);
    EXPECT_TRUE(GetMenuState(menu, IDM_SWAP_WITH_CURRENT, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(menu, IDM_USE_AS_BACKGROUND, MF_BYCOMMAND) & MF_GRAYED);

    for (WPARAM command : {IDM_USE_AS_BACKGROUND, IDM_SWAP_WITH_CURRENT, IDM_NEAREST_AA, 5000})
        SendMessageA(swatch, WM_COMMAND, command, 0);
    ASSERT_EQ(2u, g_commands.size());
    EXPECT_EQ(MAKEWPARAM(kSwatchId, IDM_USE_AS_BACKGROUND), g_commands[0].wparam);
    EXPECT_EQ(MAKEWPARAM(kSwatchId, IDM_SWAP_WITH_CURRENT), g_commands[1].wparam);
    EXPECT_EQ(reinterpret_cast<LPARAM>(swatch), g_commands[1].lparam);

    // The parent reads the colour back to act on it.
    SendMessageA(swatch, FCM_SETCOLOR, kOrange, 0);
    EXPECT_EQ(static_cast<LRESULT>(kOrange), SendMessageA(swatch, FCM_GETCOLOR, 0, 0));
}

// The window text is a sample in the text colour, as large as the swatch holds it with a margin
// all round, centred; hex digits the display bits ask for take its place.
TEST_F(FlatColorTest, TheWindowTextIsASampleInTheTextColourAsLargeAsTheSwatchHoldsIt)
{
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    // The dialog font's own "Aa", for the size it has.
    const Pixels small = Expected(100, 40, kWhite, "Aa", kBlack, Font());
    const RECT smallInk = small.InkBox(kWhite);
    const struct {
        int width, height;
    } sizes[] = {{100, 40}, {60, 30}, {24, 40}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        HWND swatch = CreateSwatch(0, 20, 20, size.width, size.height);
        ASSERT_NE(nullptr, swatch);
        SetWindowTextA(swatch, "Aa");
        SendMessageA(swatch, FCM_SETCOLOR, kWhite, 0);
        SendMessageA(swatch, FCM_SETTEXTCOLOR, red, 0);
        Pixels shown = Capture(swatch);
        const RECT ink = shown.InkBox(kWhite);
        ASSERT_FALSE(IsRectEmpty(&ink));
        EXPECT_GT(shown.Count(red), 10);
        EXPECT_GE(ink.left, 2);
        EXPECT_GE(ink.top, 2);
        EXPECT_LE(ink.right, shown.width - 2);
        EXPECT_LE(ink.bottom, shown.height - 2);
        EXPECT_NEAR(shown.width / 2.0, (ink.left + ink.right) / 2.0, 3.0);
        EXPECT_NEAR(shown.height / 2.0, (ink.top + ink.bottom) / 2.0, 3.0);
        // The tall swatches draw it larger than the font; the narrow one narrows it to fit.
        if (size.width >= 60)
            EXPECT_GT(ink.bottom - ink.top, smallInk.bottom - smallInk.top);
        else
            EXPECT_LT(ink.bottom - ink.top, (shown.height - 4) * 3 / 4);

        // A new text colour repaints at once; the hex digits win over the text.
        SendMessageA(swatch, FCM_SETTEXTCOLOR, blue, 0);
        EXPECT_EQ(0, Capture(swatch).Count(red));
        EXPECT_GT(Capture(swatch).Count(blue), 10);
        SetWindowLongA(swatch, GWL_STYLE, GetWindowLongA(swatch, GWL_STYLE) | FCS_HEX);
        UpdateWindow(swatch);
        EXPECT_EQ(0, CountDifferences(ExpectedFor(swatch, kWhite, "FFFFFF", kBlack), Capture(swatch)));
        DestroyWindow(swatch);
    }
}

// A swatch with a tab stop takes the focus from a click and shows it; others never take it.
TEST_F(FlatColorTest, ATabStopSwatchTakesTheFocusAndShowsIt)
{
    HWND stop =
        CreateWindowExA(0, FLATCOLOR_CLASS_NAME, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 20, 20, 80, 40, host,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSwatchId)), Self(), nullptr);
    HWND plain = CreateSwatch(0, 160, 20, 80, 40);
    ASSERT_NE(nullptr, stop);
    ASSERT_NE(nullptr, plain);
    for (HWND swatch : {stop, plain})
        SendMessageA(swatch, FCM_SETCOLOR, kYellow, 0);
    SetFocus(host);
    PumpFor(20);
    for (HWND swatch : {plain, stop}) {
        g_commands.clear();
        const POINT centre = ScreenCentre(swatch);
        ASSERT_TRUE(SetCursorPos(centre.x, centre.y));
        ASSERT_EQ(2u, SendButtons({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}));
        EXPECT_TRUE(PumpUntil([&] { return !g_commands.empty(); }));
        EXPECT_EQ(swatch == stop ? stop : host, GetFocus());
    }
    PumpFor(20);
    Pixels focused = Capture(stop);
    EXPECT_GT(focused.width * focused.height - focused.Count(kYellow), 20) << "a focus cue";
    SetFocus(host);
    PumpFor(20);
    Pixels unfocused = Capture(stop);
    EXPECT_EQ(unfocused.width * unfocused.height, unfocused.Count(kYellow));
}

TEST_F(FlatColorTest, RightClickAndContextMenuShowThePopupMenu)
{
    HWND swatch = CreateSwatch(0);
    ASSERT_NE(nullptr, swatch);
    const HMENU menu = State(swatch)->menu;
    MenuWatchdog watchdog(kHangGuardMs);
    ThreadTimer timer(50, CloseMenuTimer);
    ASSERT_NE(0u, timer.id);

    // A real right click over the swatch.
    g_sighting = MenuSighting();
    const POINT centre = ScreenCentre(swatch);
    ASSERT_TRUE(SetCursorPos(centre.x, centre.y));
    PumpFor(50);
    ASSERT_EQ(2u, SendButtons({MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP}));
    EXPECT_TRUE(PumpUntil([] { return g_sighting.seen; }));
    EXPECT_EQ(menu, g_sighting.menu);
    EXPECT_EQ(centre.x, g_sighting.rect.left);
    EXPECT_EQ(centre.y, g_sighting.rect.top);

    // WM_CONTEXTMENU with a screen position opens it there and returns once it is closed.
    g_sighting = MenuSighting();
    SendMessageA(swatch, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(swatch), MAKELPARAM(300, 250));
    EXPECT_TRUE(g_sighting.seen);
    EXPECT_EQ(menu, g_sighting.menu);
    EXPECT_EQ(300, g_sighting.rect.left);
    EXPECT_EQ(250, g_sighting.rect.top);

    // From the keyboard (x and y -1) it opens on the swatch, wherever the pointer is; on x64 the
    // system may send the halves as one 32-bit -1, not a 64-bit one.
    ASSERT_TRUE(SetCursorPos(400, 300));
    PumpFor(50);
    for (LPARAM keyboard : {static_cast<LPARAM>(-1), static_cast<LPARAM>(static_cast<DWORD>(-1))}) {
        g_sighting = MenuSighting();
        SendMessageA(swatch, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(swatch), keyboard);
        EXPECT_TRUE(g_sighting.seen);
        EXPECT_EQ(menu, g_sighting.menu);
        EXPECT_EQ(centre.x, g_sighting.rect.left) << std::hex << keyboard;
        EXPECT_EQ(centre.y, g_sighting.rect.top) << std::hex << keyboard;
    }

    EXPECT_FALSE(watchdog.Fired());
    EXPECT_EQ(nullptr, VisibleMenuWindow());
}

TEST_F(FlatColorTest, DestroyingSwatchesFreesEverythingTheyOwn)
{
    // A few rounds first, so objects the system creates lazily do not count as leaks.
    for (int i = 0; i < 2; ++i) {
        HWND swatch = CreateSwatch(FCS_HEX);
        SendMessageA(swatch, FCM_SETCOLOR, kOrange, 0);
        DestroyWindow(swatch);
    }
    PumpFor(50);
    const DWORD gdiBefore = LiveGdiObjects();
    const DWORD menusBefore = LiveMenus();
    const SIZE_T heapBefore = ProcessHeapInUse();

    int brushesLeft = 0, menusLeft = 0;
    for (int i = 0; i < 1000; ++i) {
        HWND swatch = CreateSwatch(FCS_HEX);
        ASSERT_NE(nullptr, swatch) << "swatch " << i;
        SendMessageA(swatch, FCM_SETCOLOR, RGB(i & 0xFF, 0x40, 0x80), 0);
        SendMessageA(swatch, FCM_SETCOLOR, RGB(0x80, i & 0xFF, 0x41), 0);
        const FlatColorState* state = State(swatch);
        const HBRUSH brush = state->Brush();
        const HMENU menu = state->menu;
        DestroyWindow(swatch);
        brushesLeft += GetObjectType(brush) != 0;
        menusLeft += IsMenu(menu) != FALSE;
    }
    PumpFor(50);
    EXPECT_EQ(0, brushesLeft);
    EXPECT_EQ(0, menusLeft);

    const DWORD gdiAfter = LiveGdiObjects();
    const DWORD menusAfter = LiveMenus();
    const SIZE_T heapAfter = ProcessHeapInUse();
    ASSERT_GT(gdiBefore, 0u);
    EXPECT_LE(gdiAfter, gdiBefore + 10);
    EXPECT_LE(menusAfter, menusBefore + 10);
    // 1000 lost state records would be far more than this.
    EXPECT_LE(heapAfter, heapBefore + 8 * 1024);
}

}  // namespace
