// The screen grab: where the popup goes, how the magnifier divides its client area, and the
// grab's life inside the real main dialog.
#include "grabber/grabber.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/redraw.h"
#include "flatcolor/flat_color.h"
#include "resources/resource.h"
#include "selector/selector.h"
#include "shell/main_dialog.h"
#include "tests/unit/main_dialog_fixture.h"
#include "tests/unit/message_pump.h"

namespace {

::testing::AssertionResult PointIs(const POINT& actual, LONG x, LONG y)
{
    if (actual.x == x && actual.y == y)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "expected (" << x << ", " << y << "), got (" << actual.x << ", " << actual.y << ")";
}

::testing::AssertionResult RectIs(const RECT& actual, LONG left, LONG top, LONG right, LONG bottom)
{
    if (actual.left == left && actual.top == top && actual.right == right && actual.bottom == bottom)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "expected (" << left << ", " << top << ")-(" << right << ", " << bottom << "), got ("
           << actual.left << ", " << actual.top << ")-(" << actual.right << ", " << actual.bottom << ")";
}

// ---- popup placement -------------------------------------------------------------------

const RECT kDesktop = {0, 0, 1280, 1024};

TEST(GrabPopupPlacement, SitsTenPixelsRightOfAndBelowTheHotSpotAwayFromTheEdges)
{
    uint32_t flip = 0;
    EXPECT_TRUE(PointIs(PlaceGrabPopup({640, 512}, kDesktop, &flip), 650, 522));
    EXPECT_EQ(0u, flip);
    // Just fitting against the right and bottom edges still counts as fitting.
    EXPECT_TRUE(PointIs(PlaceGrabPopup({1170, 914}, kDesktop, &flip), 1180, 924));
    EXPECT_EQ(0u, flip);
}

TEST(GrabPopupPlacement, FlipsLeftAtTheRightEdgeAndAboveAtTheBottomEdge)
{
    uint32_t flip = 0;
    EXPECT_TRUE(PointIs(PlaceGrabPopup({1171, 500}, kDesktop, &flip), 1061, 510));
    EXPECT_EQ(static_cast<uint32_t>(GF_LEFT), flip);

    flip = 0;
    EXPECT_TRUE(PointIs(PlaceGrabPopup({500, 915}, kDesktop, &flip), 510, 805));
    EXPECT_EQ(static_cast<uint32_t>(GF_ABOVE), flip);

    flip = 0;
    EXPECT_TRUE(PointIs(PlaceGrabPopup({1279, 1023}, kDesktop, &flip), 1169, 913));
    EXPECT_EQ(static_cast<uint32_t>(GF_LEFT | GF_ABOVE), flip);
}

TEST(GrabPopupPlacement, StaysFlippedUntilTheFlippedPopupWouldCrossTheLeftOrTopEdge)
{
    uint32_t flip = 0;
    PlaceGrabPopup({1200, 1000}, kDesktop, &flip);
    ASSERT_EQ(static_cast<uint32_t>(GF_LEFT | GF_ABOVE), flip);

    // Back in the middle, where either side would fit: no flapping.
    EXPECT_TRUE(PointIs(PlaceGrabPopup({640, 512}, kDesktop, &flip), 530, 402));
    EXPECT_EQ(static_cast<uint32_t>(GF_LEFT | GF_ABOVE), flip);
    // Flipped popup exactly at the left and top edges: still inside.
    EXPECT_TRUE(PointIs(PlaceGrabPopup({110, 110}, kDesktop, &flip), 0, 0));
    EXPECT_EQ(static_cast<uint32_t>(GF_LEFT | GF_ABOVE), flip);

    // One pixel further left turns only the horizontal side back.
    EXPECT_TRUE(PointIs(PlaceGrabPopup({109, 110}, kDesktop, &flip), 119, 0));
    EXPECT_EQ(static_cast<uint32_t>(GF_ABOVE), flip);
    EXPECT_TRUE(PointIs(PlaceGrabPopup({109, 109}, kDesktop, &flip), 119, 119));
    EXPECT_EQ(0u, flip);
}

TEST(GrabPopupPlacement, MeasuresFromTheDesktopsOwnEdges)
{
    const RECT desktop = {100, 50, 900, 650};
    uint32_t flip = 0;
    EXPECT_TRUE(PointIs(PlaceGrabPopup({791, 541}, desktop, &flip), 681, 431));
    EXPECT_EQ(static_cast<uint32_t>(GF_LEFT | GF_ABOVE), flip);
    EXPECT_TRUE(PointIs(PlaceGrabPopup({210, 160}, desktop, &flip), 100, 50));
    EXPECT_EQ(static_cast<uint32_t>(GF_LEFT | GF_ABOVE), flip);
    EXPECT_TRUE(PointIs(PlaceGrabPopup({209, 159}, desktop, &flip), 219, 169));
    EXPECT_EQ(0u, flip);
}

// Whatever way the cursor went, the popup never hides the pixels it magnifies (hot spot -8..+8
// across, -6..+7 down) and, where the desktop leaves room, stays on it.
TEST(GrabPopupPlacement, NeverCoversTheMagnifiedPixelsAndStaysOnTheDesktop)
{
    const POINT path[] = {{5, 5},    {1275, 5},  {1275, 1019}, {5, 1019}, {640, 512},  {1200, 40},
                          {60, 990}, {111, 111}, {1169, 913},  {0, 0},    {1279, 1023}};
    uint32_t flip = 0;
    for (const POINT& from : path) {
        for (const POINT& to : path) {
            for (int step = 0; step <= 16; ++step) {
                const POINT cursor = {from.x + (to.x - from.x) * step / 16,
                                      from.y + (to.y - from.y) * step / 16};
                const POINT at = PlaceGrabPopup(cursor, kDesktop, &flip);
                const RECT popup = {at.x, at.y, at.x + GRAB_POPUP_SIZE, at.y + GRAB_POPUP_SIZE};
                const RECT seen = {cursor.x - 8, cursor.y - 6, cursor.x + 9, cursor.y + 8};
                RECT overlap;
                ASSERT_FALSE(IntersectRect(&overlap, &popup, &seen))
                    << "cursor (" << cursor.x << ", " << cursor.y << ")";
                ASSERT_GE(popup.left, kDesktop.left) << "cursor (" << cursor.x << ", " << cursor.y << ")";
                ASSERT_GE(popup.top, kDesktop.top) << "cursor (" << cursor.x << ", " << cursor.y << ")";
                ASSERT_LE(popup.right, kDesktop.right) << "cursor (" << cursor.x << ", " << cursor.y << ")";
                ASSERT_LE(popup.bottom, kDesktop.bottom) << "cursor (" << cursor.x << ", " << cursor.y << ")";
            }
        }
    }
}

// ---- placement on several monitors -----------------------------------------------------

// Monitor rectangles as the system reports them, the primary at (0, 0) first.
struct MonitorLayout {
    const char* name;
    std::vector<RECT> monitors;
};

const MonitorLayout kLayouts[] = {
    {"side by side", {{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}}},
    {"stacked", {{0, 0, 1280, 1024}, {0, 1024, 1920, 2104}}},
    {"secondary left of the primary", {{0, 0, 1280, 1024}, {-1680, -26, 0, 1024}}},
    {"secondary above the primary", {{0, 0, 1920, 1080}, {320, -1024, 1600, 0}}},
    {"secondary left of and above the primary", {{0, 0, 1280, 1024}, {-1024, -768, 0, 0}}},
    {"three in a row, the primary in the middle",
     {{0, 0, 1280, 1024}, {-800, 0, 0, 600}, {1280, 200, 2304, 968}}},
};

// The monitor a point is on: left and top edges belong to it, right and bottom ones do not.
const RECT* MonitorUnder(const MonitorLayout& layout, POINT p)
{
    for (const RECT& monitor : layout.monitors)
        if (PtInRect(&monitor, p))
            return &monitor;
    return nullptr;
}

std::string Describe(const MonitorLayout& layout, POINT cursor)
{
    return std::string(layout.name) + ", cursor (" + std::to_string(cursor.x) + ", " +
           std::to_string(cursor.y) + ")";
}

// The popup placed for the monitor under the cursor: wholly on that monitor, clear of the
// pixels it magnifies (hot spot -8..+8 across, -6..+7 down), ten pixels from the hot spot.
::testing::AssertionResult PlacedOnTheMonitorUnder(const MonitorLayout& layout, POINT cursor, uint32_t* flip)
{
    const RECT* monitor = MonitorUnder(layout, cursor);
    if (!monitor)
        return ::testing::AssertionFailure() << Describe(layout, cursor) << " is on no monitor";
    const POINT at = PlaceGrabPopup(cursor, *monitor, flip);
    const RECT popup = {at.x, at.y, at.x + GRAB_POPUP_SIZE, at.y + GRAB_POPUP_SIZE};
    const RECT seen = {cursor.x - 8, cursor.y - 6, cursor.x + 9, cursor.y + 8};
    RECT overlap;
    if (popup.left < monitor->left || popup.top < monitor->top || popup.right > monitor->right ||
        popup.bottom > monitor->bottom)
        return ::testing::AssertionFailure() << Describe(layout, cursor) << ": popup at (" << at.x << ", "
                                             << at.y << ") leaves the monitor under it";
    if (IntersectRect(&overlap, &popup, &seen))
        return ::testing::AssertionFailure() << Describe(layout, cursor) << ": popup covers the hot spot";
    const LONG dx = at.x - cursor.x, dy = at.y - cursor.y;
    if ((dx != 10 && dx != -110) || (dy != 10 && dy != -110))
        return ::testing::AssertionFailure()
               << Describe(layout, cursor) << ": popup at (" << at.x << ", " << at.y << ")";
    return ::testing::AssertionSuccess();
}

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + ", " + std::to_string(r.top) + " - " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom);
}

// The layout as the grab keeps it.
::MonitorLayout Read(const MonitorLayout& layout)
{
    ::MonitorLayout read = {};
    for (const RECT& m : layout.monitors) {
        read.monitors[read.count++] = m;
        UnionRect(&read.all, &read.all, &m);
    }
    return read;
}

// Off every monitor (a gap beside a smaller one), the nearest monitor; with none listed, all.
TEST(GrabPopupOnMonitors, APointOffEveryMonitorBelongsToTheNearest)
{
    const MonitorLayout& row = kLayouts[5];  // three in a row: -800..0 x 0..600 beside the primary
    EXPECT_EQ("-800, 0 - 0, 600", Text(MonitorRectIn(Read(row), POINT{-300, 700})));
    EXPECT_EQ("0, 0 - 1280, 1024", Text(MonitorRectIn(Read(row), POINT{-20, 1000})));
    EXPECT_EQ("1280, 200 - 2304, 968", Text(MonitorRectIn(Read(row), POINT{2000, 1000})));
    ::MonitorLayout none = {};
    none.all = {0, 0, 640, 480};
    EXPECT_EQ("0, 0 - 640, 480", Text(MonitorRectIn(none, POINT{10, 10})));
}

// Paths between the corners and middles of every monitor, and over every edge they share, in
// small steps: whichever way the cursor came, the popup is on the monitor under it.
TEST(GrabPopupOnMonitors, AlwaysOnTheMonitorUnderTheCursorWhereverItCameFrom)
{
    for (const MonitorLayout& layout : kLayouts) {
        std::vector<POINT> stops;
        for (const RECT& m : layout.monitors) {
            stops.push_back({m.left, m.top});
            stops.push_back({m.right - 1, m.top});
            stops.push_back({m.right - 1, m.bottom - 1});
            stops.push_back({m.left, m.bottom - 1});
            stops.push_back({(m.left + m.right) / 2, (m.top + m.bottom) / 2});
            stops.push_back({m.left + 50, m.top + 50});
            stops.push_back({m.right - 50, m.bottom - 50});
        }
        uint32_t flip = 0;
        for (const POINT& from : stops) {
            for (const POINT& to : stops) {
                for (int step = 0; step <= 64; ++step) {
                    const POINT cursor = {from.x + (to.x - from.x) * step / 64,
                                          from.y + (to.y - from.y) * step / 64};
                    // The system keeps the cursor on the monitors; a straight line may pass off them.
                    if (!MonitorUnder(layout, cursor))
                        continue;
                    ASSERT_TRUE(PlacedOnTheMonitorUnder(layout, cursor, &flip));
                    // The grab finds the same monitor in the layout it read at its start.
                    ASSERT_EQ(Text(*MonitorUnder(layout, cursor)), Text(MonitorRectIn(Read(layout), cursor)))
                        << Describe(layout, cursor);
                }
            }
        }
    }
}

// One pixel either side of the edge between two monitors: the popup is on the side the cursor
// is, turning towards the middle of that monitor, and turns back on the other.
TEST(GrabPopupOnMonitors, TurnsAtTheEdgeBetweenTwoMonitorsToStayOnTheOneUnderTheCursor)
{
    const struct {
        const char* what;
        RECT monitor;
        POINT cursor;
        POINT expected;
        uint32_t flip;
    } steps[] = {
        // Side by side: primary 0..1920, secondary from 1920.
        {"last column of the left monitor", {0, 0, 1920, 1080}, {1919, 500}, {1809, 510}, GF_LEFT},
        {"first column of the right monitor", {1920, 0, 3200, 1024}, {1920, 500}, {1930, 510}, 0},
        {"last column of the left monitor again", {0, 0, 1920, 1080}, {1919, 500}, {1809, 510}, GF_LEFT},
        // Stacked: secondary below, from 1024.
        {"last row of the upper monitor", {0, 0, 1280, 1024}, {600, 1023}, {490, 913}, GF_LEFT | GF_ABOVE},
        {"first row of the lower monitor", {0, 1024, 1920, 2104}, {600, 1024}, {490, 1034}, GF_LEFT},
        // Secondary left of the primary, at negative coordinates.
        {"first column of the primary", {0, 0, 1280, 1024}, {0, 500}, {10, 510}, 0},
        {"last column of the secondary", {-1680, -26, 0, 1024}, {-1, 500}, {-111, 510}, GF_LEFT},
        {"middle of the secondary", {-1680, -26, 0, 1024}, {-840, 500}, {-950, 510}, GF_LEFT},
        {"first column of the secondary", {-1680, -26, 0, 1024}, {-1680, 500}, {-1670, 510}, 0},
        // Secondary above the primary.
        {"first row of the primary", {0, 0, 1920, 1080}, {800, 0}, {810, 10}, 0},
        {"last row of the secondary", {320, -1024, 1600, 0}, {800, -1}, {810, -111}, GF_ABOVE},
        {"top of the secondary", {320, -1024, 1600, 0}, {800, -1024}, {810, -1014}, 0},
    };
    uint32_t flip = 0;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        EXPECT_TRUE(
            PointIs(PlaceGrabPopup(step.cursor, step.monitor, &flip), step.expected.x, step.expected.y));
        EXPECT_EQ(step.flip, flip);
    }
}

// ---- magnifier geometry ----------------------------------------------------------------

TEST(MagnifierGeometry, DividesThe98By98ClientAreaIntoAreaSeparatorAndBand)
{
    const MagnifierLayout m = LayoutMagnifier(RECT{0, 0, 98, 98});
    EXPECT_TRUE(RectIs(m.area, 0, 0, 98, 83));
    EXPECT_TRUE(RectIs(m.separator, 0, 83, 98, 84));
    EXPECT_TRUE(RectIs(m.band, 0, 84, 98, 98));
    EXPECT_EQ(8, m.centreColumn);
    EXPECT_EQ(6, m.centreRow);
    EXPECT_EQ(17, m.columns);
    EXPECT_EQ(14, m.rows);
    EXPECT_TRUE(PointIs(m.crossHair, 51, 39));
}

TEST(MagnifierGeometry, CellsAreSixPixelsAndTheLastOnesAreCutOffByTheArea)
{
    const MagnifierLayout m = LayoutMagnifier(RECT{0, 0, 98, 98});
    EXPECT_TRUE(RectIs(MagnifierCell(m, 0, 0), 0, 0, 6, 6));
    EXPECT_TRUE(RectIs(MagnifierCell(m, 8, 6), 48, 36, 54, 42));
    EXPECT_TRUE(RectIs(MagnifierCell(m, 16, 0), 96, 0, 98, 6));  // 2 pixels wide
    EXPECT_TRUE(RectIs(MagnifierCell(m, 0, 13), 0, 78, 6, 83));  // 5 pixels high
    EXPECT_TRUE(RectIs(MagnifierCell(m, 16, 13), 96, 78, 98, 83));
}

TEST(MagnifierGeometry, TheCentreCellShowsTheHotSpotAndTheOthersTheirNeighbours)
{
    const MagnifierLayout m = LayoutMagnifier(RECT{0, 0, 98, 98});
    const POINT cursor = {500, 400};
    EXPECT_TRUE(PointIs(MagnifierSource(m, cursor, 8, 6), 500, 400));
    EXPECT_TRUE(PointIs(MagnifierSource(m, cursor, 0, 0), 492, 394));
    EXPECT_TRUE(PointIs(MagnifierSource(m, cursor, 16, 13), 508, 407));
}

TEST(MagnifierGeometry, FollowsTheSizeOfTheClientArea)
{
    const MagnifierLayout m = LayoutMagnifier(RECT{0, 0, 200, 115});
    EXPECT_TRUE(RectIs(m.area, 0, 0, 200, 100));
    EXPECT_TRUE(RectIs(m.band, 0, 101, 200, 115));
    EXPECT_EQ(16, m.centreColumn);  // (200 / 2) / 6
    EXPECT_EQ(8, m.centreRow);      // (100 / 2) / 6
    EXPECT_EQ(34, m.columns);
    EXPECT_EQ(17, m.rows);
    EXPECT_TRUE(PointIs(m.crossHair, 99, 51));
}

// At 120 and 144 DPI every size grows by a quarter and a half, rounded; at 144 the 148 x 148
// client area then shows the same 17 x 14 screen pixels as at 96, each as a 9-pixel cell.
TEST(MagnifierGeometry, GrowsWithTheDpiShowingTheSamePixelsAsLargerCells)
{
    const struct {
        int dpi;
        GrabSizes sizes;
    } expected[] = {{96, {100, 10, 6, 14}}, {120, {125, 13, 8, 18}}, {144, {150, 15, 9, 21}}};
    for (const auto& e : expected) {
        const GrabSizes got = GrabSizesFor(e.dpi);
        EXPECT_TRUE(got.popup == e.sizes.popup && got.gap == e.sizes.gap && got.cell == e.sizes.cell &&
                    got.band == e.sizes.band)
            << e.dpi << " DPI: " << got.popup << ", " << got.gap << ", " << got.cell << ", " << got.band;
    }
    const MagnifierLayout m = LayoutMagnifier(RECT{0, 0, 148, 148}, GrabSizesFor(144));
    EXPECT_TRUE(RectIs(m.band, 0, 127, 148, 148));
    EXPECT_TRUE(m.columns == 17 && m.rows == 14);
    EXPECT_TRUE(RectIs(MagnifierCell(m, 8, 7), 72, 63, 81, 72));  // the centre cell
    EXPECT_TRUE(PointIs(m.crossHair, 76, 67));
}

// ---- the grab in the real dialog -------------------------------------------------------

const char kSettingsKey[] = "Software\\Ostrel\\Tintora";

class GrabTest : public MainDialogFixture {
protected:
    void TearDown() override
    {
        if (GetCapture())
            ReleaseCapture();
        MainDialogFixture::TearDown();
        // What the dialog saved at its end must not reach the next test's dialog.
        RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    }

    void StartGrab()
    {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_GRAB, STN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_GRAB)));
    }

    // The pointer goes to the screen point, and the dialog holding the capture hears of it.
    void MoveTo(LONG x, LONG y, WPARAM keys = 0)
    {
        ASSERT_TRUE(SetCursorPos(x, y));
        SendMove(x, y, keys);
    }
    void SendMove(LONG x, LONG y, WPARAM keys = 0)
    {
        POINT p = {x, y};
        ScreenToClient(dialog, &p);
        SendMessageA(dialog, WM_MOUSEMOVE, keys, MAKELPARAM(p.x, p.y));
    }

    static POINT DesktopMiddle()
    {
        RECT desktop;
        GetWindowRect(GetDesktopWindow(), &desktop);
        return POINT{(desktop.left + desktop.right) / 2, (desktop.top + desktop.bottom) / 2};
    }

    bool Topmost() const { return (GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
};

TEST_F(GrabTest, StartShowsThePopupAtTheCornerTakesTheCaptureAndLiftsTheDialog)
{
    state->grabber.flip = GF_LEFT | GF_ABOVE;
    ASSERT_FALSE(Topmost());
    // With another window in front the dialog comes forward: the mouse and keys go to the front.
    HWND other = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 600, 10, 20, 20, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_EQ(other, GetForegroundWindow());
    StartGrab();
    EXPECT_EQ(dialog, GetForegroundWindow());
    DestroyWindow(other);

    HWND popup = state->grabber.popup;
    ASSERT_TRUE(IsWindow(popup));
    char text[64] = "";
    GetClassNameA(popup, text, sizeof(text));
    EXPECT_STREQ("Ostrel ColorGrabber", text);
    GetWindowTextA(popup, text, sizeof(text));
    EXPECT_STREQ("Color Grabber", text);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(popup, GWL_STYLE));
    // The system adds WS_CLIPSIBLINGS to every top-level window.
    EXPECT_EQ(0x92800000u, style & ~static_cast<DWORD>(WS_CLIPSIBLINGS));
    EXPECT_EQ(0, GetWindowLongA(popup, GWL_EXSTYLE) & ~WS_EX_TOPMOST);
    EXPECT_EQ(dialog, GetWindow(popup, GW_OWNER));
    RECT r;
    GetWindowRect(popup, &r);
    EXPECT_TRUE(RectIs(r, 0, 0, 100, 100));
    GetClientRect(popup, &r);
    EXPECT_TRUE(RectIs(r, 0, 0, 98, 98));
    WNDCLASSA windowClass = {};
    ASSERT_TRUE(GetClassInfoA(instance, "Ostrel ColorGrabber", &windowClass));
    EXPECT_EQ(static_cast<UINT>(CS_SAVEBITS), windowClass.style);
    EXPECT_EQ(nullptr, windowClass.hbrBackground);

    EXPECT_EQ(dialog, GetCapture());
    EXPECT_EQ(static_cast<uint32_t>(CaptureGrab), state->captureMode);
    EXPECT_EQ(0u, state->grabber.flip);
    EXPECT_EQ(state->grabber.cursor, GetCursor());
    EXPECT_TRUE(Topmost());
}

TEST_F(GrabTest, MovesPlaceThePopupBesideTheCursor)
{
    StartGrab();
    ASSERT_TRUE(IsWindow(state->grabber.popup));
    const POINT middle = DesktopMiddle();
    MoveTo(middle.x, middle.y);
    RECT r;
    GetWindowRect(state->grabber.popup, &r);
    EXPECT_TRUE(RectIs(r, middle.x + 10, middle.y + 10, middle.x + 110, middle.y + 110));

    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    MoveTo(desktop.right - 5, desktop.bottom - 5);
    GetWindowRect(state->grabber.popup, &r);
    EXPECT_TRUE(
        RectIs(r, desktop.right - 115, desktop.bottom - 115, desktop.right - 15, desktop.bottom - 15));
    EXPECT_EQ(static_cast<uint32_t>(GF_LEFT | GF_ABOVE), state->grabber.flip);

    // The move's own point counts: the cursor position the system answers may be older.
    SendMove(middle.x, middle.y);
    GetWindowRect(state->grabber.popup, &r);
    EXPECT_TRUE(RectIs(r, middle.x - 110, middle.y - 110, middle.x - 10, middle.y - 10));
}

TEST_F(GrabTest, ThePickIsReadWhereTheReleaseMessageSaysNotWhereTheCursorIs)
{
    // The current-colour swatch shows 0x3366CC on the screen; the state then moves on, so the
    // picked colour can only have come from the swatch.
    ShowWindow(dialog, SW_SHOW);
    state->currentColor.SetRgb(0x3366CC);
    SendMessageA(dialog, SELECTOR_REDRAW, RB_ALL, 0);
    UpdateWindow(dialog);
    DrainMessages();
    state->currentColor.SetRgb(0x000000);

    POINT inSwatch = {3, 3};
    ClientToScreen(GetDlgItem(dialog, IDC_CURRENT_SWATCH), &inSwatch);
    // The screen shows a paint once the window's pixels have gone out to the X server.
    COLORREF shown = CLR_INVALID;
    PumpUntil([&] {
        HDC screen = GetDC(nullptr);
        shown = GetPixel(screen, inSwatch.x, inSwatch.y);
        ReleaseDC(nullptr, screen);
        return shown == RGB(0x33, 0x66, 0xCC);
    });
    ASSERT_EQ(RGB(0x33, 0x66, 0xCC), shown) << "the swatch is not on the screen";

    StartGrab();
    // The cursor far from the swatch, on another colour.
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    ASSERT_TRUE(SetCursorPos(desktop.right - 1, desktop.bottom - 1));
    POINT at = inSwatch;
    ScreenToClient(dialog, &at);
    SendMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(0x3366CCu, state->currentColor.GetRgb());
    EXPECT_EQ(static_cast<uint32_t>(CaptureNone), state->captureMode);
}

TEST_F(GrabTest, RightButtonCancelsKeepsTheColourAndLowersTheDialog)
{
    state->currentColor.SetRgb(0x123456);
    StartGrab();
    HWND popup = state->grabber.popup;
    ASSERT_TRUE(IsWindow(popup));

    SendMessageA(dialog, WM_RBUTTONDOWN, MK_RBUTTON | MK_LBUTTON, 0);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(nullptr, state->grabber.popup);
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(static_cast<uint32_t>(CaptureNone), state->captureMode);
    EXPECT_FALSE(Topmost());
    EXPECT_EQ(0x123456u, state->currentColor.GetRgb());

    // The release that follows finds no grab.
    SendMessageA(dialog, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(0x123456u, state->currentColor.GetRgb());
}

TEST_F(GrabTest, ArrowKeysMoveTheCursorAndThePopupAtOnceWithShiftTenPixels)
{
    StartGrab();
    ASSERT_TRUE(IsWindow(state->grabber.popup));
    const POINT middle = DesktopMiddle();
    ASSERT_TRUE(SetCursorPos(middle.x, middle.y));

    // No messages are pumped: the popup has moved before any mouse move the system makes.
    const struct {
        WPARAM key;
        bool shift;
        LONG dx, dy;
    } steps[] = {
        {VK_RIGHT, false, 1, 0}, {VK_DOWN, false, 1, 1},  {VK_LEFT, false, 0, 1}, {VK_UP, false, 0, 0},
        {VK_RIGHT, true, 10, 0}, {VK_DOWN, true, 10, 10}, {VK_LEFT, true, 0, 10}, {VK_UP, true, 0, 0},
    };
    BYTE keys[256];
    ASSERT_TRUE(GetKeyboardState(keys));
    for (const auto& step : steps) {
        SCOPED_TRACE(std::to_string(step.key) + (step.shift ? " with Shift" : ""));
        keys[VK_SHIFT] = step.shift ? 0x80 : 0;
        SetKeyboardState(keys);
        SendMessageA(dialog, WM_KEYDOWN, step.key, 1);
        POINT cursor;
        GetCursorPos(&cursor);
        EXPECT_TRUE(PointIs(cursor, middle.x + step.dx, middle.y + step.dy));
        RECT r;
        GetWindowRect(state->grabber.popup, &r);
        EXPECT_TRUE(RectIs(r, cursor.x + 10, cursor.y + 10, cursor.x + 110, cursor.y + 110));
    }
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(static_cast<uint32_t>(CaptureGrab), state->captureMode);
    EXPECT_EQ(dialog, GetCapture());
}

TEST_F(GrabTest, EnterPicksThePixelUnderTheCursorAndEscapeCancels)
{
    ShowWindow(dialog, SW_SHOW);
    state->currentColor.SetRgb(0x3366CC);
    SendMessageA(dialog, SELECTOR_REDRAW, RB_ALL, 0);
    UpdateWindow(dialog);
    DrainMessages();
    state->currentColor.SetRgb(0x000000);
    POINT inSwatch = {3, 3};
    ClientToScreen(GetDlgItem(dialog, IDC_CURRENT_SWATCH), &inSwatch);

    StartGrab();
    HWND popup = state->grabber.popup;
    ASSERT_TRUE(SetCursorPos(inSwatch.x, inSwatch.y));
    SendMessageA(dialog, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(0x3366CCu, state->currentColor.GetRgb());
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(static_cast<uint32_t>(CaptureNone), state->captureMode);
    EXPECT_FALSE(Topmost());

    state->currentColor.SetRgb(0x123456);
    StartGrab();
    popup = state->grabber.popup;
    SendMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(0x123456u, state->currentColor.GetRgb());
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(static_cast<uint32_t>(CaptureNone), state->captureMode);
    EXPECT_FALSE(Topmost());

    // Without a grab a key sent to the dialog moves nothing and takes nothing.
    POINT before, after;
    GetCursorPos(&before);
    SendMessageA(dialog, WM_KEYDOWN, VK_RIGHT, 1);
    SendMessageA(dialog, WM_KEYDOWN, VK_RETURN, 1);
    GetCursorPos(&after);
    EXPECT_TRUE(PointIs(after, before.x, before.y));
    EXPECT_EQ(0x123456u, state->currentColor.GetRgb());
}

// Wine on one X screen has one monitor; these stand in for the monitor functions with two,
// made by splitting the real screen down the middle.
RECT g_splitMonitors[2];

HMONITOR WINAPI SplitMonitorFromPoint(POINT p, DWORD)
{
    return reinterpret_cast<HMONITOR>(static_cast<INT_PTR>(PtInRect(&g_splitMonitors[1], p) ? 2 : 1));
}

BOOL WINAPI SplitGetMonitorInfo(HMONITOR monitor, LPMONITORINFO info)
{
    const RECT& r = g_splitMonitors[reinterpret_cast<INT_PTR>(monitor) - 1];
    info->rcMonitor = r;
    // A task bar along the bottom: the popup may cover it as it covers any window.
    info->rcWork = RECT{r.left, r.top, r.right, r.bottom - 40};
    info->dwFlags = monitor == reinterpret_cast<HMONITOR>(1) ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

BOOL WINAPI SplitEnumDisplayMonitors(HDC, LPCRECT, MONITORENUMPROC proc, LPARAM data)
{
    for (INT_PTR i = 0; i < 2; ++i)
        if (!proc(reinterpret_cast<HMONITOR>(i + 1), nullptr, &g_splitMonitors[i], data))
            return FALSE;
    return TRUE;
}

TEST_F(GrabTest, ThePopupStaysOnTheMonitorUnderTheCursorOrWithoutMonitorsOnTheDesktop)
{
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    const LONG split = (desktop.left + desktop.right) / 2, y = (desktop.top + desktop.bottom) / 2;
    g_splitMonitors[0] = RECT{desktop.left, desktop.top, split, desktop.bottom};
    g_splitMonitors[1] = RECT{split, desktop.top, desktop.right, desktop.bottom};
    state->grabber.monitors =
        MonitorFunctions{SplitMonitorFromPoint, SplitGetMonitorInfo, nullptr, SplitEnumDisplayMonitors};
    StartGrab();
    ASSERT_TRUE(IsWindow(state->grabber.popup));
    RECT r;

    MoveTo(split - 1, y);
    GetWindowRect(state->grabber.popup, &r);
    EXPECT_TRUE(RectIs(r, split - 111, y + 10, split - 11, y + 110));
    MoveTo(split, y);
    GetWindowRect(state->grabber.popup, &r);
    EXPECT_TRUE(RectIs(r, split + 10, y + 10, split + 110, y + 110));
    const LONG low = desktop.bottom - 115;
    MoveTo(split, low);
    GetWindowRect(state->grabber.popup, &r);
    EXPECT_TRUE(RectIs(r, split + 10, low + 10, split + 110, low + 110));

    // A system without the monitor functions has one screen, the desktop.
    SendMessageA(dialog, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    state->grabber.monitors = MonitorFunctions{};
    StartGrab();
    MoveTo(split - 1, y);
    GetWindowRect(state->grabber.popup, &r);
    EXPECT_TRUE(RectIs(r, split + 9, y + 10, split + 109, y + 110));
    MoveTo(desktop.right - 1, y);
    GetWindowRect(state->grabber.popup, &r);
    EXPECT_TRUE(RectIs(r, desktop.right - 111, y + 10, desktop.right - 11, y + 110));
}

TEST_F(GrabTest, StayOnTopKeepsTheDialogTopmostAfterTheGrab)
{
    SendDlgItemMessageA(dialog, IDC_STAY_ON_TOP, BM_CLICK, 0, 0);
    ASSERT_TRUE(Topmost());
    StartGrab();
    EXPECT_TRUE(Topmost());
    SendMessageA(dialog, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    EXPECT_EQ(static_cast<uint32_t>(CaptureNone), state->captureMode);
    EXPECT_TRUE(Topmost());
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_STAY_ON_TOP));
}

TEST_F(GrabTest, CaptureTakenAwayEndsTheGrabWithoutLeavingThePopup)
{
    StartGrab();
    HWND popup = state->grabber.popup;
    ASSERT_TRUE(IsWindow(popup));
    ASSERT_EQ(dialog, GetCapture());

    HWND other =
        CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
    ASSERT_NE(nullptr, other);
    SetCapture(other);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(nullptr, state->grabber.popup);
    EXPECT_EQ(static_cast<uint32_t>(CaptureNone), state->captureMode);
    EXPECT_FALSE(Topmost());
    ReleaseCapture();
    DestroyWindow(other);

    // A new grab starts cleanly afterwards.
    StartGrab();
    EXPECT_TRUE(IsWindow(state->grabber.popup));
    EXPECT_EQ(static_cast<uint32_t>(CaptureGrab), state->captureMode);
}

TEST_F(GrabTest, OnlyAFirstPressOnTheGrabIconStartsAGrab)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_GRAB, STN_DBLCLK),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_GRAB)));
    EXPECT_EQ(nullptr, state->grabber.popup);
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(static_cast<uint32_t>(CaptureNone), state->captureMode);
    EXPECT_FALSE(Topmost());
}

TEST_F(GrabTest, ClosingDuringAGrabTakesThePopupAndTheClassAlong)
{
    StartGrab();
    HWND popup = state->grabber.popup;
    ASSERT_TRUE(IsWindow(popup));
    Destroy();
    EXPECT_FALSE(IsWindow(popup));
    WNDCLASSA windowClass;
    EXPECT_FALSE(GetClassInfoA(instance, "Ostrel ColorGrabber", &windowClass));
}

// ---- sampling and the frozen screen --------------------------------------------------------

TEST(GrabSampling, TheMeanTakesOnlyTheCountedPixelsAndRoundsEachChannelHalfUp)
{
    const uint32_t pixels[] = {0x000000, 0x010203, 0xFFFFFF, 0x804020};
    const bool firstTwo[] = {true, true, false, false}, lastTwo[] = {false, false, true, true},
               none[] = {false, false, false, false};
    uint32_t mean = 0;
    // 0.5, 1 and 1.5 come out as 1, 1 and 2.
    ASSERT_TRUE(MeanOfPixels(pixels, firstTwo, 4, &mean));
    EXPECT_EQ(0x010102u, mean);
    // 191.5, 159.5 and 143.5 round up too.
    ASSERT_TRUE(MeanOfPixels(pixels, lastTwo, 4, &mean));
    EXPECT_EQ(0xC0A090u, mean);
    mean = 0x123456;
    EXPECT_FALSE(MeanOfPixels(pixels, none, 4, &mean));
    EXPECT_EQ(0x123456u, mean);

    for (uint32_t size : {0u, 1u, 2u, 4u, 6u, 7u, 0xFFFFFFFFu})
        EXPECT_EQ(1u, ValidSampleSize(size)) << size;
    EXPECT_EQ(3u, ValidSampleSize(3));
    EXPECT_EQ(5u, ValidSampleSize(5));
}

// A window of the test's own in the screen's top-left corner, above everything: pixel (x, y)
// shows red 4x², green 10y and blue 0x40, or one colour throughout.
class CornerPattern {
public:
    explicit CornerPattern(uint32_t solid = 0) : solid_(solid)
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "Tintora test corner pattern";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, windowClass.lpszClassName, "", WS_POPUP,
                                  0, 0, kSize, kSize, nullptr, nullptr, windowClass.hInstance, this);
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        UpdateWindow(window_);
    }
    ~CornerPattern() { DestroyWindow(window_); }
    CornerPattern(const CornerPattern&) = delete;
    CornerPattern& operator=(const CornerPattern&) = delete;

    uint32_t At(int x, int y) const
    {
        return solid_ ? solid_ : static_cast<uint32_t>(4 * x * x) << 16 | (10 * y) << 8 | 0x40;
    }
    void ShowSolid(uint32_t rgb)
    {
        solid_ = rgb;
        InvalidateRect(window_, nullptr, FALSE);
        UpdateWindow(window_);
    }
    // Once the screen shows every pixel of it.
    bool Shown() const
    {
        return PumpUntil([&] {
            HDC screen = GetDC(nullptr);
            bool all = true;
            for (int y = 0; y < kSize && all; ++y)
                for (int x = 0; x < kSize && all; ++x)
                    all =
                        GetPixel(screen, x, y) == RGB(At(x, y) >> 16, At(x, y) >> 8 & 0xFF, At(x, y) & 0xFF);
            ReleaseDC(nullptr, screen);
            return all;
        });
    }

private:
    static constexpr int kSize = 8;
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
    {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(
                window, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams));
        if (message != WM_PAINT)
            return DefWindowProcA(window, message, wparam, lparam);
        const auto* self = reinterpret_cast<const CornerPattern*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                SetPixel(dc, x, y,
                         RGB(self->At(x, y) >> 16, self->At(x, y) >> 8 & 0xFF, self->At(x, y) & 0xFF));
        EndPaint(window, &paint);
        return 0;
    }
    uint32_t solid_;
    HWND window_ = nullptr;
};

TEST_F(GrabTest, KeysOneThreeAndFivePickThePixelOrTheMeanOfTheSquareOverThePixelsOnTheScreen)
{
    CornerPattern pattern;
    ASSERT_TRUE(pattern.Shown());
    // Worked by hand: red 4x² over x = 2; 1..3; 0..4 is 16; 18.67; 24, green 10y is 20 every time.
    // At the corner only the pixels on the screen count: x, y in 0..1 and in 0..2.
    const struct {
        WPARAM key;
        POINT at;
        uint32_t picked;
    } picks[] = {
        {'1', {2, 2}, 0x101440},        {'3', {2, 2}, 0x131440}, {VK_NUMPAD5, {2, 2}, 0x181440},
        {VK_NUMPAD3, {0, 0}, 0x020540}, {'5', {0, 0}, 0x070A40}, {VK_NUMPAD1, {0, 0}, 0x000040},
    };
    for (const auto& pick : picks) {
        SCOPED_TRACE(pick.key);
        StartGrab();
        // A move there first, which takes the popup off the corner it starts in; the pattern
        // repaints what the popup uncovered.
        MoveTo(pick.at.x, pick.at.y, MK_LBUTTON);
        ASSERT_TRUE(pattern.Shown());
        SendMessageA(dialog, WM_KEYDOWN, pick.key, 1);
        SendMessageA(dialog, WM_KEYDOWN, VK_RETURN, 1);
        EXPECT_EQ(pick.picked, state->currentColor.GetRgb());
    }
    // The size chosen last is kept for the next grab, and between runs.
    EXPECT_EQ(1u, state->grabber.sampleSize);
    StartGrab();
    SendMessageA(dialog, WM_KEYDOWN, '5', 1);
    SendMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 1);
    Destroy();
    DWORD stored = 0, size = sizeof(stored);
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, "GrabSampleSize", RRF_RT_REG_DWORD,
                                          nullptr, &stored, &size));
    EXPECT_EQ(5u, stored);
}

TEST_F(GrabTest, AFrozenGrabPicksTheScreenAsItWasAtTheStartAndLetsGoOfItHoweverItEnds)
{
    CornerPattern pattern(0x204060);
    ASSERT_TRUE(pattern.Shown());
    for (bool frozen : {true, false}) {
        SCOPED_TRACE(frozen ? "frozen" : "live");
        state->options.Assign(FreezeGrab, frozen);
        pattern.ShowSolid(0x204060);
        ASSERT_TRUE(pattern.Shown());
        StartGrab();
        MoveTo(3, 3, MK_LBUTTON);
        // The colour under the pointer changes after the grab began, as a hover effect would.
        pattern.ShowSolid(0xA0C0E0);
        ASSERT_TRUE(pattern.Shown());
        SendMessageA(dialog, WM_KEYDOWN, VK_RETURN, 1);
        EXPECT_EQ(frozen ? 0x204060u : 0xA0C0E0u, state->currentColor.GetRgb());
    }

    // Every way a grab ends lets go of the copy of the screen.
    state->options.Set(FreezeGrab);
    const struct {
        const char* how;
        void (*end)(HWND dialog);
    } endings[] = {
        {"release", [](HWND d) { SendMessageA(d, WM_LBUTTONUP, 0, 0); }},
        {"Enter", [](HWND d) { SendMessageA(d, WM_KEYDOWN, VK_RETURN, 1); }},
        {"Escape", [](HWND d) { SendMessageA(d, WM_KEYDOWN, VK_ESCAPE, 1); }},
        {"right click", [](HWND d) { SendMessageA(d, WM_RBUTTONDOWN, MK_RBUTTON, 0); }},
        {"capture taken away", [](HWND) { ReleaseCapture(); }},
        {"window closed", nullptr},
    };
    for (const auto& ending : endings) {
        SCOPED_TRACE(ending.how);
        StartGrab();
        const HBITMAP copy = state->grabber.frozen.bitmap;
        ASSERT_NE(nullptr, copy);
        if (ending.end) {
            ending.end(dialog);
            EXPECT_EQ(nullptr, state->grabber.frozen.bits);
        } else {
            Destroy();
        }
        EXPECT_EQ(0, GetObjectType(copy)) << "the copy of the screen is left";
    }
}

// ---- registration ----------------------------------------------------------------------

LRESULT CALLBACK ForeignProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcA(window, message, wparam, lparam);
}

// Should the dialog come up after all, this ends it with 0 instead of hanging the run.
void CALLBACK EndStrayDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (HWND stray = FindWindowA("#32770", "Ostrel Tintora"))
        EndDialog(stray, 0);
}

TEST(GrabberClass, ADialogThatCannotRegisterTheClassEndsWithMinusOne)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES | ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&controls);
    RegisterFlatColorClass(instance);

    WNDCLASSA foreign = {};
    foreign.lpfnWndProc = ForeignProc;
    foreign.hInstance = instance;
    foreign.lpszClassName = "Ostrel ColorGrabber";
    ASSERT_NE(0, RegisterClassA(&foreign));

    StartParams params = {instance, RegisterWindowMessageA("Ostrel Tintora"), FALSE};
    UINT_PTR timer = SetTimer(nullptr, 0, 3000, EndStrayDialog);
    INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc,
                                     reinterpret_cast<LPARAM>(&params));
    KillTimer(nullptr, timer);
    EXPECT_EQ(-1, result);

    // The failed dialog left the class it did not register alone.
    WNDCLASSA after = {};
    EXPECT_TRUE(GetClassInfoA(instance, "Ostrel ColorGrabber", &after));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(ForeignProc), after.lpfnWndProc);
    UnregisterClassA("Ostrel ColorGrabber", instance);
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
}

}  // namespace
