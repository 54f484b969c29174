// The screen grab on a desktop of two monitors (the test environment's two-monitors mode: the
// secondary left of the primary, at negative coordinates, and shorter): the magnifier popup
// stays on the monitor under the cursor, and pixels are read, and picked, across the edge
// between the monitors.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/e2e_board.h"
#include "tests/e2e/e2e_pick.h"

using namespace e2e;

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(monitor, &info))
        reinterpret_cast<std::vector<MONITORINFO>*>(list)->push_back(info);
    return TRUE;
}

// The primary monitor and the one left of it, touching it.
struct Layout {
    RECT primary = {};
    RECT secondary = {};
    bool Found()
    {
        std::vector<MONITORINFO> monitors;
        EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
        bool primaryFound = false, secondaryFound = false;
        for (const MONITORINFO& m : monitors) {
            if (m.dwFlags & MONITORINFOF_PRIMARY) {
                primary = m.rcMonitor;
                primaryFound = true;
            }
        }
        for (const MONITORINFO& m : monitors) {
            if (!(m.dwFlags & MONITORINFOF_PRIMARY) && m.rcMonitor.right == primary.left) {
                secondary = m.rcMonitor;
                secondaryFound = true;
            }
        }
        if (!primaryFound || !secondaryFound)
            ADD_FAILURE() << "no monitor left of the primary among " << monitors.size() << " monitors";
        return primaryFound && secondaryFound;
    }
};

void CheckShows(Tintora& app, uint32_t rgb)
{
    EXPECT_EQ_SOON(Lower(app.Text(kHexEdit)), HexOf(rgb));
}

// The program on the primary monitor, out of the way, and a board across the edge between the
// monitors: its columns 0-127 on the secondary, 128-255 on the primary.
struct Scene {
    Layout layout;
    Tintora app;
    Board board{POINT{-128, 100}};
    ButtonGuard guard;

    bool Set()
    {
        if (!layout.Found() || !CHECKED(board.Ready()) || !app.Start())
            return false;
        // The board's place assumes the edge at x = 0, as Windows puts the primary at (0, 0).
        EXPECT_EQ(layout.primary.left, 0);
        if (layout.primary.left != 0 || !CHECKED(layout.secondary.top <= 100) ||
            !CHECKED(layout.secondary.bottom >= 100 + kBoardSize))
            return false;
        RECT dialog = WindowRect(app.Dialog());
        SetWindowPos(app.Dialog(), nullptr, layout.primary.right - (dialog.right - dialog.left) - 20,
                     layout.primary.bottom - (dialog.bottom - dialog.top) - 20, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        dialog = WindowRect(app.Dialog());
        RECT overlap;
        const RECT boardRect = board.Rect();
        return CHECKED(!IntersectRect(&overlap, &dialog, &boardRect)) && CHECKED_SOON(board.Shown());
    }

    bool PressGrabIcon() { return ::PressGrabIcon(app); }

    // The popup at topLeft, wholly on the monitor expected.
    bool PopupAt(POINT topLeft, const RECT& monitor)
    {
        const RECT expected = {topLeft.x, topLeft.y, topLeft.x + kPopupSize, topLeft.y + kPopupSize};
        RECT inside;
        return CHECKED(IntersectRect(&inside, &expected, &monitor) && inside == expected) &&
               PopupSettlesAt(app, topLeft);
    }

    // Every cell whose pixel is on the board shows it, on whichever monitor it is; the band
    // shows the hot spot's.
    void CheckMagnifierReadsBoard(int x, int y)
    {
        int wrong = 0, onSecondary = 0, onPrimary = 0;
        std::string first;
        auto compare = [&](const Pixels& m) {
            wrong = onSecondary = onPrimary = 0;
            for (int row = 0; row * kCell < kAreaHeight; ++row) {
                for (int column = 0; column * kCell < m.width; ++column) {
                    const int bx = x + column - kCentreColumn, by = y + row - kCentreRow;
                    if (bx < 0 || by < 0 || bx >= kBoardSize || by >= kBoardSize)
                        continue;
                    const int px = column * kCell + 1, py = row * kCell + 1;
                    if (px >= m.width || py >= kAreaHeight || px == kCrossX || py == kCrossY)
                        continue;
                    (board.At(bx, by).x < 0 ? onSecondary : onPrimary)++;
                    if (m.At(px, py) != BoardColor(bx, by) && wrong++ == 0)
                        first = "cell " + std::to_string(column) + ", " + std::to_string(row) + ": " +
                                HexOf(m.At(px, py)) + " instead of " + HexOf(BoardColor(bx, by));
                }
            }
            return wrong == 0 && m.At(0, kBandTop) == BoardColor(x, y);
        };
        const Pixels m = WaitForMagnifier(app, compare);
        if (!CHECKED(m.width == 98 && m.height == 98))
            return;
        compare(m);
        EXPECT_TRUE(onSecondary > 0 && onPrimary > 0);
        EXPECT_EQ(wrong, 0) << first;
        EXPECT_EQ(HexOf(m.At(0, kBandTop)), HexOf(BoardColor(x, y)));
    }
};

}  // namespace

TEST(Monitors, ThePopupStaysOnTheMonitorUnderTheCursorAndTurnsAtItsEdgesTheMagnifierReadsAcrossThem)
{
    Scene scene;
    ASSERT_TRUE(scene.Set());
    const RECT& primary = scene.layout.primary;
    const RECT& secondary = scene.layout.secondary;
    ASSERT_TRUE(scene.PressGrabIcon());

    // Each step goes straight there: which side the popup is on depends on where it was.
    // Board row 200 is at y = 300, inside both monitors.
    const LONG middleY = 300;
    {
        SCOPED_TRACE("middle of the secondary");
        const POINT p = {(secondary.left + secondary.right) / 2, middleY};
        ASSERT_TRUE(MoveTo(p));
        scene.PopupAt(POINT{p.x + 10, p.y + 10}, secondary);
    }
    {
        SCOPED_TRACE("last column of the secondary");
        ASSERT_TRUE(MoveTo(scene.board.At(127, 200)));
        scene.PopupAt(POINT{-1 - 110, middleY + 10}, secondary);
        scene.CheckMagnifierReadsBoard(127, 200);
    }
    {
        SCOPED_TRACE("first column of the primary, one arrow to the right");
        Key(VK_RIGHT);
        ASSERT_TRUE(PointerRests(scene.board.At(128, 200)));
        scene.PopupAt(POINT{10, middleY + 10}, primary);
        scene.CheckMagnifierReadsBoard(128, 200);
    }
    {
        SCOPED_TRACE("back on the secondary, one arrow to the left");
        Key(VK_LEFT);
        ASSERT_TRUE(PointerRests(scene.board.At(127, 200)));
        scene.PopupAt(POINT{-1 - 110, middleY + 10}, secondary);
    }
    {
        // The secondary ends above the primary's bottom edge.
        SCOPED_TRACE("near the bottom of the secondary");
        const POINT p = {(secondary.left + secondary.right) / 2, secondary.bottom - 5};
        ASSERT_TRUE(MoveTo(p));
        scene.PopupAt(POINT{p.x - 110, p.y - 110}, secondary);
    }
    {
        SCOPED_TRACE("near the bottom-right corner of the primary");
        const POINT p = {primary.right - 5, primary.bottom - 5};
        ASSERT_TRUE(MoveTo(p));
        scene.PopupAt(POINT{p.x - 110, p.y - 110}, primary);
    }
    {
        SCOPED_TRACE("left edge of the secondary");
        const POINT p = {secondary.left, middleY};
        ASSERT_TRUE(MoveTo(p));
        scene.PopupAt(POINT{p.x + 10, p.y - 110}, secondary);
        // Beyond the left edge of the desktop the button face; on it the screen.
        const uint32_t face = RgbOfSysColor(COLOR_3DFACE);
        Pixels edge;
        const Pixels m = WaitForMagnifier(scene.app, [&](const Pixels& shot) {
            edge = CaptureScreen(RECT{p.x, p.y - kCentreRow, p.x + 1, p.y - kCentreRow + 1});
            return edge.width == 1 && shot.At((kCentreColumn - 1) * kCell + 1, 1) == face &&
                   shot.At(kCentreColumn * kCell + 1, 1) == edge.At(0, 0);
        });
        ASSERT_TRUE(m.width == 98 && edge.width == 1);
        EXPECT_EQ(HexOf(m.At((kCentreColumn - 1) * kCell + 1, 1)), HexOf(face));
        EXPECT_EQ(HexOf(m.At(kCentreColumn * kCell + 1, 1)), HexOf(edge.At(0, 0)));
        EXPECT_NE(edge.At(0, 0), face);
    }
    LeftUp();
    EXPECT_EQ_SOON(FindPopup(scene.app), nullptr);
}

TEST(Monitors, AReleaseOrEnterPicksThePixelOnWhicheverMonitorTheHotSpotIs)
{
    Scene scene;
    ASSERT_TRUE(scene.Set());
    Tintora& app = scene.app;

    ASSERT_TRUE(scene.PressGrabIcon());
    ASSERT_TRUE(DragTo(scene.board.At(60, 50)));
    LeftUp();
    CheckShows(app, BoardColor(60, 50));

    ASSERT_TRUE(scene.PressGrabIcon());
    ASSERT_TRUE(DragTo(scene.board.At(127, 20)));
    Key(VK_RIGHT);
    ASSERT_TRUE(PointerRests(scene.board.At(128, 20)));
    Key(VK_RETURN);
    CheckShows(app, BoardColor(128, 20));
    EXPECT_EQ_SOON(FindPopup(app), nullptr);
    LeftUp();

    ASSERT_TRUE(scene.PressGrabIcon());
    ASSERT_TRUE(DragTo(scene.board.At(130, 240)));
    ShiftKey(VK_LEFT);
    ASSERT_TRUE(PointerRests(scene.board.At(120, 240)));
    LeftUp();
    CheckShows(app, BoardColor(120, 240));
    ExpectNoMessageBoxes(app);
}

TEST(Monitors, APickFromAnywhereCoversEveryMonitorAndPicksOnWhicheverThePointerIs)
{
    Scene scene;
    ASSERT_TRUE(scene.Set());
    Tintora& app = scene.app;
    for (int x : {60, 200}) {
        SCOPED_TRACE(x);
        ASSERT_TRUE(MoveTo(scene.board.At(x, 50)));
        PressPickKey();
        ASSERT_TRUE(PickRuns(app));
        Key(VK_RETURN);
        CheckShows(app, BoardColor(x, 50));
        EXPECT_EQ_SOON(FindPickScreen(app), nullptr);
    }
    ExpectNoMessageBoxes(app);
}
