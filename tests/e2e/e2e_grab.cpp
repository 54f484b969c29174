// The screen grab driven with real mouse input: press on the grab icon, drag over a board of
// known colours painted by the driver, release or cancel, and look at the magnifier popup on the
// screen while the button is held.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/e2e/e2e_board.h"
#include "tests/e2e/e2e_pick.h"
#include "tests/e2e/e2e_state.h"
#include "tests/shared/clipboard_text.h"

using namespace e2e;

namespace {

// What the value fields show, as six lower-case hex digits, and red, green, blue as decimals.
struct Shown {
    std::string hex;
    std::string red, green, blue;
};

Shown ShownColor(Tintora& app)
{
    return Shown{Lower(app.Text(kHexEdit)), app.Text(kRedEdit), app.Text(kGreenEdit), app.Text(kBlueEdit)};
}

// Cells of the magnifier unlike the pixel they stand for, counted; the first is named.
struct WrongCells {
    int count = 0;
    std::string first;

    void Note(int column, int row, uint32_t shown, uint32_t expected)
    {
        if (count++ == 0)
            first = "cell " + std::to_string(column) + ", " + std::to_string(row) + ": " + HexOf(shown) +
                    " instead of " + HexOf(expected);
    }
    void Check() const { EXPECT_EQ(count, 0) << first; }
};

// Checks that the fields show rgb, waiting for the program to get there.
void CheckShows(Tintora& app, uint32_t rgb)
{
    auto text = [](const Shown& s) { return s.hex + " " + s.red + " " + s.green + " " + s.blue; };
    const Shown expected = {HexOf(rgb), std::to_string(rgb >> 16 & 0xFF), std::to_string(rgb >> 8 & 0xFF),
                            std::to_string(rgb & 0xFF)};
    EXPECT_EQ_SOON(text(ShownColor(app)), text(expected));
}

// The program running, its window moved clear of the board and the corner where the popup
// first appears, and the board painted.
struct Scene {
    Tintora app;
    Board board;
    // Destroyed first: the button is up before the program and the board go.
    ButtonGuard guard;

    explicit Scene(BoardPattern pattern = BoardColor) : board(POINT{130, 130}, pattern) {}

    // A first start, with the one-byte option stored as set when one is named.
    bool Set(const char* option = nullptr)
    {
        ResetSavedState();
        if (option)
            WriteBinaryOption(option, 1);
        if (!CHECKED(board.Ready()) || !app.Start(false))
            return false;
        SetWindowPos(app.Dialog(), nullptr, 440, 440, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT dialog = WindowRect(app.Dialog()), overlap;
        const RECT boardRect = board.Rect();
        HICON icon = LoadProgramIcon(kGrabIcon, 0);
        // Both painted where they now are: the pixels the tests read.
        const bool set = CHECKED(!IntersectRect(&overlap, &dialog, &boardRect)) &&
                         CHECKED_SOON(board.Shown()) && CHECKED(icon) &&
                         CHECKED_SOON(ControlShowsIcon(WindowRect(app.Item(kGrabIcon)), icon, 16, 16));
        if (icon)
            DestroyIcon(icon);
        return set;
    }

    POINT GrabIcon() { return Centre(WindowRect(app.Item(kGrabIcon))); }
    bool PressGrabIcon() { return ::PressGrabIcon(app); }

    // Once the popup sits where it belongs beside the cursor (and has painted there).
    bool PopupSettles(POINT topLeft) { return PopupSettlesAt(app, topLeft); }

    // After a grab ends: the popup gone, and the window back out of the topmost band.
    void ExpectGrabOver()
    {
        EXPECT_EQ_SOON(FindPopup(app), nullptr);
        EXPECT_SOON(!IsTopmost(app.Dialog()));
    }

    // Lets go wherever the cursor is, and waits for the popup to go.
    void Release()
    {
        LeftUp();
        EXPECT_EQ_SOON(FindPopup(app), nullptr);
    }

    // Once the popup sits beside the board pixel (x, y) and the magnifier shows it: its band in
    // the pixel's colour, its top-left cell the pixel eight left and six above. Without any move
    // of the mouse to make it paint.
    bool MagnifierFollows(int x, int y)
    {
        if (!PopupSettles(POINT{board.At(x, y).x + 10, board.At(x, y).y + 10}))
            return false;
        Pixels m;
        auto shows = [&] {
            m = CaptureMagnifier(FindPopup(app));
            return m.width == 98 && m.height == 98 && m.At(0, kBandTop) == BoardColor(x, y) &&
                   m.At(1, 1) == BoardColor(x - kCentreColumn, y - kCentreRow);
        };
        if (WaitUntil(kHangGuardMs, shows))
            return true;
        if (m.width == 98 && m.height == 98) {
            EXPECT_EQ(HexOf(m.At(0, kBandTop)), HexOf(BoardColor(x, y)));
            EXPECT_EQ(HexOf(m.At(1, 1)), HexOf(BoardColor(x - kCentreColumn, y - kCentreRow)));
        }
        ADD_FAILURE() << "the magnifier does not show board pixel " << x << ", " << y;
        return false;
    }

    // A whole grab onto the board pixel (x, y); the fields then show its colour.
    void Pick(int x, int y)
    {
        if (!PressGrabIcon() || !DragTo(board.At(x, y)))
            return;
        Release();
        CheckShows(app, BoardColor(x, y));
    }
};

// The magnifier's cells for the board pixel (x, y) under the hot spot, each against the board
// pixel it stands for.
WrongCells CompareWithBoard(const Pixels& m, int x, int y)
{
    WrongCells wrong;
    for (int row = 0; row * kCell < kAreaHeight; ++row) {
        for (int column = 0; column * kCell < m.width; ++column) {
            const int bx = x + column - kCentreColumn, by = y + row - kCentreRow;
            if (bx < 0 || by < 0 || bx >= kBoardSize || by >= kBoardSize)
                continue;
            const int left = column * kCell, top = row * kCell;
            const int lastX = std::min(left + kCell, m.width) - 1,
                      lastY = std::min(top + kCell, kAreaHeight) - 1;
            for (POINT p : {POINT{left, top}, POINT{lastX, lastY}, POINT{left, lastY}})
                if (p.x != kCrossX && p.y != kCrossY && m.At(p.x, p.y) != BoardColor(bx, by))
                    wrong.Note(column, row, m.At(p.x, p.y), BoardColor(bx, by));
        }
    }
    return wrong;
}

}  // namespace

// ---- picking -------------------------------------------------------------------------------

TEST(Grab, ADragFromTheGrabIconPicksExactlyThePixelUnderTheHotSpotAtTheRelease)
{
    Scene scene;
    ASSERT_TRUE(scene.Set());
    Tintora& app = scene.app;
    const Shown before = ShownColor(app);

    ASSERT_TRUE(scene.PressGrabIcon());
    ASSERT_TRUE(DragTo(scene.board.At(123, 77)));
    // Nothing is taken while the button is held.
    app.Settle();
    EXPECT_EQ(ShownColor(app).hex, before.hex);
    scene.Release();
    CheckShows(app, BoardColor(123, 77));

    // A second grab, released one pixel right and one below a point it passed over.
    ASSERT_TRUE(scene.PressGrabIcon());
    ASSERT_TRUE(DragTo(scene.board.At(200, 13)));
    ASSERT_TRUE(MoveTo(scene.board.At(201, 14)));
    scene.Release();
    CheckShows(app, BoardColor(201, 14));
    ExpectNoMessageBoxes(app);
}

TEST(Grab, AClickOnTheIconWithoutMovingPicksTheIconsOwnPixelADoubleClickGrabsOnce)
{
    Scene scene;
    ASSERT_TRUE(scene.Set());
    Tintora& app = scene.app;

    // The icon is on the screen (Set waits for it).
    const POINT icon = scene.GrabIcon();
    const uint32_t iconPixel = CaptureScreen(RECT{icon.x, icon.y, icon.x + 1, icon.y + 1}).At(0, 0);
    // Start from a colour the icon does not have, so the pick shows.
    scene.Pick(60, 60);
    ASSERT_NE(iconPixel, BoardColor(60, 60));

    ASSERT_TRUE(MoveTo(icon));
    FreshLeftDown();
    LeftUp();
    CheckShows(app, iconPixel);
    scene.ExpectGrabOver();

    // The first click of a double click grabs; the second press starts nothing: no popup,
    // nothing lifted.
    scene.Pick(70, 80);
    ASSERT_TRUE(MoveTo(icon));
    FreshLeftDown();
    LeftUp();
    LeftDown();
    app.Settle();
    EXPECT_EQ(FindPopup(app), nullptr);
    // The first click's grab gave up the top when it ended; on a loaded machine Wine may show
    // that a moment after the second press is handled.
    EXPECT_SOON(!IsTopmost(app.Dialog()));
    LeftUp();
    CheckShows(app, iconPixel);
}

TEST(Grab, ARightClickCancelsThePopupGoesTheColourStaysTheReleasePicksNothing)
{
    Scene scene;
    ASSERT_TRUE(scene.Set());
    Tintora& app = scene.app;
    scene.Pick(90, 100);

    ASSERT_TRUE(scene.PressGrabIcon());
    ASSERT_TRUE(DragTo(scene.board.At(40, 50)));
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    SendMouse(MOUSEEVENTF_RIGHTUP);
    scene.ExpectGrabOver();
    LeftUp();
    app.Settle();
    CheckShows(app, BoardColor(90, 100));
    ExpectNoMessageBoxes(app);
}

// ---- the popup -----------------------------------------------------------------------------

TEST(Grab, ThePopupFollowsBesideTheCursorAndTurnsAtTheRightAndBottomEdges)
{
    Scene scene;
    ASSERT_TRUE(scene.Set());
    Tintora& app = scene.app;

    ASSERT_TRUE(scene.PressGrabIcon());
    HWND popup = FindPopup(app);
    EXPECT_EQ(WindowText(popup), "Color Grabber");
    EXPECT_EQ(GetWindow(popup, GW_OWNER), app.Dialog());
    EXPECT_TRUE(IsWindowVisible(popup));

    const RECT desktop = WindowRect(GetDesktopWindow());
    const LONG middleX = (desktop.left + desktop.right) / 2, middleY = (desktop.top + desktop.bottom) / 2;
    struct Step {
        const char* what;
        POINT cursor;
        bool left, above;
    } const steps[] = {
        {"middle", {middleX, middleY}, false, false},
        {"near the right edge", {desktop.right - 60, middleY}, true, false},
        {"back in the middle", {middleX, middleY}, true, false},
        {"near the left edge", {desktop.left + 100, middleY}, false, false},
        {"near the bottom edge", {middleX, desktop.bottom - 40}, false, true},
        {"back in the middle", {middleX, middleY}, false, true},
        {"near the top edge", {middleX, desktop.top + 60}, false, false},
        {"bottom-right corner", {desktop.right - 1, desktop.bottom - 1}, true, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        ASSERT_TRUE(MoveTo(step.cursor));
        const POINT topLeft = {step.cursor.x + (step.left ? -110 : 10),
                               step.cursor.y + (step.above ? -110 : 10)};
        scene.PopupSettles(topLeft);
        EXPECT_TRUE(IsWindowVisible(popup));
    }
    scene.Release();
}

TEST(Grab, TheMagnifierShowsThePixelsAroundTheHotSpotTheCrossHairAndTheHexBand)
{
    Scene scene;
    ASSERT_TRUE(scene.Set());
    Tintora& app = scene.app;
    const Board& board = scene.board;

    ASSERT_TRUE(scene.PressGrabIcon());
    // A dark pixel (white text), then a light one (black text).
    const struct {
        int x, y;
        uint32_t text;
    } spots[] = {{123, 77, 0xFFFFFF}, {240, 245, 0x000000}};
    for (const auto& spot : spots) {
        SCOPED_TRACE("board pixel " + std::to_string(spot.x) + ", " + std::to_string(spot.y));
        const POINT hot = board.At(spot.x, spot.y);
        ASSERT_TRUE(DragTo(hot));
        ASSERT_TRUE(scene.PopupSettles(POINT{hot.x + 10, hot.y + 10}));
        const uint32_t colour = BoardColor(spot.x, spot.y);
        const Pixels m = WaitForMagnifier(app, [&](const Pixels& shot) {
            return CompareWithBoard(shot, spot.x, spot.y).count == 0 && shot.At(0, kBandTop) == colour;
        });
        ASSERT_TRUE(m.width == 98 && m.height == 98);

        // Each cell is one board pixel, six times as large, around the hot spot.
        CompareWithBoard(m, spot.x, spot.y).Check();

        // One-pixel red lines through the middle of the centre cell, over the whole area.
        int red = 0;
        for (int y = 0; y < kAreaHeight; ++y)
            red += m.At(kCrossX, y) == 0xFF0000;
        for (int x = 0; x < m.width; ++x)
            red += m.At(x, kCrossY) == 0xFF0000;
        EXPECT_EQ(red, kAreaHeight + m.width);
        EXPECT_NE(m.At(kCrossX - 1, kCrossY - 1), 0xFF0000u);
        EXPECT_NE(m.At(kCrossX + 1, kCrossY + 1), 0xFF0000u);

        // The separator, then the band in the hot spot's colour with its hex in the contrast colour.
        const uint32_t separator = RgbOfSysColor(COLOR_3DDKSHADOW);
        int separatorPixels = 0;
        for (int x = 0; x < m.width; ++x)
            separatorPixels += m.At(x, kSeparatorY) == separator;
        EXPECT_EQ(separatorPixels, m.width);
        EXPECT_EQ(HexOf(m.At(0, kBandTop)), HexOf(colour));
        EXPECT_EQ(HexOf(m.At(m.width - 1, m.height - 1)), HexOf(colour));
        int text = 0, foreign = 0;
        for (int y = kBandTop; y < m.height; ++y) {
            for (int x = 0; x < m.width; ++x) {
                text += m.At(x, y) == spot.text;
                // Only the band colour, the text colour and the text's smoothed edges between them.
                const uint32_t p = m.At(x, y);
                for (int shift = 0; shift < 24; shift += 8) {
                    const int a = colour >> shift & 0xFF, b = spot.text >> shift & 0xFF,
                              v = p >> shift & 0xFF;
                    if (v < std::min(a, b) - 2 || v > std::max(a, b) + 2) {
                        ++foreign;
                        break;
                    }
                }
            }
        }
        EXPECT_GE(text, 12);
        EXPECT_EQ(foreign, 0);
        // The text is centred: as much of it left of the middle as right of it, within a column.
        int leftmost = m.width, rightmost = -1;
        for (int y = kBandTop; y < m.height; ++y)
            for (int x = 0; x < m.width; ++x)
                if (m.At(x, y) == spot.text) {
                    leftmost = std::min(leftmost, x);
                    rightmost = std::max(rightmost, x);
                }
        EXPECT_NEAR(leftmost, m.width - 1 - rightmost, 3);
    }
    scene.Release();
    CheckShows(app, BoardColor(240, 245));
}

TEST(Grab, CellsBeyondTheScreensEdgeShowTheButtonFaceThoseOnItTheScreen)
{
    Scene scene;
    ASSERT_TRUE(scene.Set());
    Tintora& app = scene.app;

    ASSERT_TRUE(scene.PressGrabIcon());
    ASSERT_TRUE(DragTo(POINT{0, 0}));
    ASSERT_TRUE(scene.PopupSettles(POINT{10, 10}));
    const uint32_t face = RgbOfSysColor(COLOR_3DFACE);
    Pixels corner;
    auto compare = [&](const Pixels& m) {
        corner = CaptureScreen(RECT{0, 0, 9, 8});
        WrongCells wrong;
        for (int row = 0; row < 14; ++row) {
            for (int column = 0; column < 17; ++column) {
                const int sx = column - kCentreColumn, sy = row - kCentreRow;
                const int x = column * kCell + 1, y = std::min(row * kCell + 1, kAreaHeight - 1);
                if (x >= m.width || x == kCrossX || y == kCrossY)
                    continue;
                const uint32_t expected = sx < 0 || sy < 0 ? face : corner.At(sx, sy);
                if (m.At(x, y) != expected)
                    wrong.Note(column, row, m.At(x, y), expected);
            }
        }
        return wrong;
    };
    const Pixels m = WaitForMagnifier(app, [&](const Pixels& shot) { return compare(shot).count == 0; });
    ASSERT_TRUE(m.width == 98 && corner.width == 9);
    compare(m).Check();
    // The band shows the pixel that is there, never the button face stand-in.
    EXPECT_EQ(HexOf(m.At(0, kBandTop)), HexOf(corner.At(0, 0)));
    scene.Release();
    CheckShows(app, corner.At(0, 0));
}

// ---- z-order -------------------------------------------------------------------------------

TEST(Grab, TheWindowIsTopmostDuringTheGrabAndAfterwardsOnlyWithStayOnTop)
{
    Scene scene;
    ASSERT_TRUE(scene.Set());
    Tintora& app = scene.app;
    HWND dialog = app.Dialog();
    ASSERT_FALSE(IsTopmost(dialog));

    {
        SCOPED_TRACE("option clear");
        // Already when the popup shows: the grab is set up before it comes.
        ASSERT_TRUE(scene.PressGrabIcon());
        EXPECT_TRUE(IsTopmost(dialog));
        EXPECT_TRUE(IsTopmost(FindPopup(app)));
        ASSERT_TRUE(DragTo(scene.board.At(10, 10)));
        EXPECT_TRUE(IsTopmost(dialog));
        scene.Release();
        EXPECT_SOON(!IsTopmost(dialog));
        CheckShows(app, BoardColor(10, 10));
    }
    {
        SCOPED_TRACE("option set");
        app.Click(kStayOnTop);
        ASSERT_TRUE(IsTopmost(dialog));
        ASSERT_TRUE(scene.PressGrabIcon());
        EXPECT_TRUE(IsTopmost(dialog));
        ASSERT_TRUE(DragTo(scene.board.At(20, 30)));
        scene.Release();
        CheckShows(app, BoardColor(20, 30));
        app.Settle();
        EXPECT_TRUE(IsTopmost(dialog));
        EXPECT_TRUE(app.IsChecked(kStayOnTop));
    }
}

// ---- keys ----------------------------------------------------------------------------------

TEST(Grab, ArrowsMoveAHeldGrabAPixelOrTenWithShiftEnterPicksThereAndTheReleaseAfterItNothingMore)
{
    Scene scene;
    ASSERT_TRUE(scene.Set());
    Tintora& app = scene.app;
    const Board& board = scene.board;
    scene.Pick(30, 40);
    // On a mode button the arrows would check the next one; Enter would go to the dialog.
    ASSERT_TRUE(FocusOn(app, kModeRed));
    const std::string modes = ModeChecks(app);
    ASSERT_EQ(modes, "x-----");

    ASSERT_TRUE(scene.PressGrabIcon());
    ASSERT_TRUE(DragTo(board.At(100, 100)));
    ASSERT_TRUE(scene.MagnifierFollows(100, 100));
    const struct {
        const char* what;
        WORD key;
        bool shift;
        int x, y;  // the board pixel under the hot spot afterwards
    } steps[] = {
        {"right", VK_RIGHT, false, 101, 100},    {"down", VK_DOWN, false, 101, 101},
        {"left", VK_LEFT, false, 100, 101},      {"left", VK_LEFT, false, 99, 101},
        {"up", VK_UP, false, 99, 100},           {"Shift+right", VK_RIGHT, true, 109, 100},
        {"Shift+down", VK_DOWN, true, 109, 110}, {"Shift+left", VK_LEFT, true, 99, 110},
        {"Shift+up", VK_UP, true, 99, 100},      {"Shift+up", VK_UP, true, 99, 90},
        {"right", VK_RIGHT, false, 100, 90},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.shift)
            ShiftKey(step.key);
        else
            Key(step.key);
        ASSERT_TRUE(PointerRests(board.At(step.x, step.y)));
        ASSERT_TRUE(scene.MagnifierFollows(step.x, step.y));
        // Still the grab: nothing picked, the focus where it was, no button checked.
        app.Settle();
        EXPECT_EQ(ShownColor(app).hex, HexOf(BoardColor(30, 40)));
        EXPECT_EQ(app.Focus(), app.Item(kModeRed));
        EXPECT_EQ(ModeChecks(app), modes);
    }

    Key(VK_RETURN);
    CheckShows(app, BoardColor(100, 90));
    scene.ExpectGrabOver();
    EXPECT_TRUE(GetAsyncKeyState(VK_LBUTTON) & 0x8000);
    // The button is still down; a release elsewhere, after a move there, takes nothing.
    ASSERT_TRUE(DragTo(board.At(200, 220)));
    LeftUp();
    app.Settle();
    CheckShows(app, BoardColor(100, 90));
    EXPECT_EQ(FindPopup(app), nullptr);
    EXPECT_EQ(app.Focus(), app.Item(kModeRed));
    EXPECT_EQ(ModeChecks(app), modes);
    ExpectNoMessageBoxes(app);

    // Afterwards the arrows are the dialog's again: the next mode button.
    Key(VK_DOWN);
    EXPECT_EQ_SOON(app.Focus(), app.Item(kModeRed + 1));
    EXPECT_EQ_SOON(ModeChecks(app), "-x----");
}

TEST(Grab, EscapeCancelsAHeldGrabNoKeyTypedMeanwhileReachesTheFocusedFieldWhichTakesKeysAfterwards)
{
    Scene scene;
    ASSERT_TRUE(scene.Set());
    Tintora& app = scene.app;
    const Board& board = scene.board;
    scene.Pick(90, 100);
    ASSERT_TRUE(FocusOn(app, kRedEdit));
    const Shown before = ShownColor(app);

    ASSERT_TRUE(scene.PressGrabIcon());
    ASSERT_TRUE(DragTo(board.At(40, 50)));
    ASSERT_TRUE(scene.MagnifierFollows(40, 50));
    // Digits would replace the selected value, Tab and Space would move or press.
    Key('7');
    Key(0, KEYEVENTF_UNICODE, L'5');
    Key(VK_BACK);
    Key(VK_TAB);
    Key(VK_SPACE);
    Key(VK_HOME);
    Key(VK_ESCAPE);
    scene.ExpectGrabOver();
    LeftUp();
    app.Settle();
    CheckShows(app, BoardColor(90, 100));
    EXPECT_EQ(app.Text(kRedEdit), before.red);
    EXPECT_EQ(app.Focus(), app.Item(kRedEdit));
    EXPECT_TRUE(IsWindowVisible(app.Dialog()));
    ExpectNoMessageBoxes(app);

    // The field still has its value selected, and typing replaces it.
    Key(0, KEYEVENTF_UNICODE, L'1');
    Key(0, KEYEVENTF_UNICODE, L'7');
    EXPECT_EQ_SOON(app.Text(kRedEdit), "17");
    EXPECT_EQ_SOON(Lower(app.Text(kHexEdit)), HexOf(17u << 16 | (BoardColor(90, 100) & 0xFFFF)));
    Key(VK_TAB);
    EXPECT_EQ_SOON(app.Focus(), app.Item(kGreenEdit));
}

// ---- a frozen screen and averaged samples --------------------------------------------------------

TEST(Grab, WithTheScreenFrozenTheGrabPicksWhatTheScreenShowedWhenItBeganOtherwiseWhatItShowsNow)
{
    for (bool frozen : {true, false}) {
        SCOPED_TRACE(frozen ? "frozen" : "live");
        Scene scene;
        ASSERT_TRUE(scene.Set(frozen ? "FreezeGrab" : nullptr));
        ASSERT_TRUE(scene.PressGrabIcon());
        ASSERT_TRUE(DragTo(scene.board.At(60, 90)));
        ASSERT_TRUE(scene.MagnifierFollows(60, 90));
        // The board changes under the pointer after the grab began, as a hover effect would.
        scene.board.Recolour(0x00FFFF);
        ASSERT_SOON(scene.board.ShowsAt(60, 90));
        scene.Release();
        CheckShows(scene.app, frozen ? 0x3C5A5A : 0x3CA5A5);
    }
}

// Board pixels around (128, 128): red there, green on the ring round it, blue on the ring round
// that; the rest as on the usual board.
uint32_t Rings(int x, int y)
{
    const int ring = std::max(std::abs(x - 128), std::abs(y - 128));
    return ring == 0 ? 0xFF0000 : ring == 1 ? 0x00FF00 : ring == 2 ? 0x0000FF : BoardColor(x, y);
}

TEST(Grab, KeysOneThreeAndFiveTakeThePixelOrTheMeanOfTheSquareTheMagnifierOutlines)
{
    Scene scene(Rings);
    ASSERT_TRUE(scene.Set());
    Tintora& app = scene.app;
    // Worked by hand: of 3 x 3, one red and eight green pixels: 28.3, 226.7, 0; of 5 x 5, one
    // red, eight green and sixteen blue: 10.2, 81.6, 163.2.
    const struct {
        WORD key;
        uint32_t picked;
        int frame;  // how many cells out from the centre the outline runs
    } sizes[] = {{'3', 0x1CE300, 1}, {VK_NUMPAD5, 0x0A52A3, 2}, {'1', 0xFF0000, 0}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(size.picked);
        ASSERT_TRUE(scene.PressGrabIcon());
        ASSERT_TRUE(DragTo(scene.board.At(128, 128)));
        Key(size.key);
        // The band shows what a pick would take; the square is outlined in the cross-hair's red.
        const int left = (kCentreColumn - size.frame) * kCell,
                  right = (kCentreColumn + size.frame + 1) * kCell - 1;
        const int top = (kCentreRow - size.frame) * kCell, bottom = (kCentreRow + size.frame + 1) * kCell - 1;
        const Pixels m = WaitForMagnifier(app, [&](const Pixels& shot) {
            return shot.At(0, kBandTop) == size.picked && shot.At(left + 2, top) == 0xFF0000;
        });
        ASSERT_EQ(m.width, 98);
        EXPECT_EQ(HexOf(m.At(0, kBandTop)), HexOf(size.picked));
        if (size.frame) {
            for (POINT p :
                 {POINT{left + 2, top}, POINT{left + 2, bottom}, POINT{left, top + 2}, POINT{right, top + 2}})
                EXPECT_EQ(HexOf(m.At(p.x, p.y)), "ff0000") << p.x << ", " << p.y;
            // Inside the outline the cells show the board.
            EXPECT_EQ(HexOf(m.At(left + 2, top + 2)), HexOf(size.frame == 1 ? 0x00FF00 : 0x0000FF));
        }
        Key(VK_RETURN);
        CheckShows(app, size.picked);
        scene.ExpectGrabOver();
        LeftUp();
    }
    ExpectNoMessageBoxes(app);
}

// ---- a pick from anywhere ------------------------------------------------------------------

// The colour of the magnifier's band as the screen shows it.
std::string BandOf(HWND magnifier)
{
    const Pixels m = CaptureMagnifier(magnifier);
    return m.width == 98 && m.height == 98 ? HexOf(m.At(0, kBandTop)) : "no magnifier";
}

// Under Wine a window over the whole of a single screen that has the foreground holds the X
// pointer, and the driver cannot move it then: the pointer is put in place before the key, and
// moved during a pick by the program itself, with the arrows.
TEST(PickFromAnywhere, TheKeyOverAnotherProgramsWindowStartsAPickAClickTakesThePixelOrTheMeanAndCopiesIt)
{
    Scene scene(Rings);
    ASSERT_TRUE(scene.Set());
    Tintora& app = scene.app;
    OtherProgram other(POINT{20, 420});
    // Taken ten right and one down of where the pointer is at the key; the mean of 3 x 3 round
    // the red centre as worked by hand above.
    const struct {
        WORD sampleKey;
        int x, y;
        uint32_t picked;
    } picks[] = {{0, 50, 89, BoardColor(60, 90)}, {'3', 118, 127, 0x1CE300}};
    for (const auto& pick : picks) {
        SCOPED_TRACE(pick.picked);
        ASSERT_TRUE(MoveTo(scene.board.At(pick.x, pick.y)));
        ASSERT_TRUE(other.TakeFocus());
        PressPickKey();
        ASSERT_TRUE(PickRuns(app));
        if (pick.sampleKey)
            Key(pick.sampleKey);
        ShiftKey(VK_RIGHT);
        Key(VK_DOWN);
        // No button held: the magnifier sits beside the pointer, its band showing what a click
        // takes.
        const POINT pointer = scene.board.At(pick.x + 10, pick.y + 1);
        EXPECT_EQ_SOON(Cursor(), pointer);
        const RECT beside = {pointer.x + 10, pointer.y + 10, pointer.x + 10 + kPopupSize,
                             pointer.y + 10 + kPopupSize};
        EXPECT_EQ_SOON(WindowRect(FindMagnifier(app)), beside);
        EXPECT_EQ_SOON(BandOf(FindMagnifier(app)), HexOf(pick.picked));
        FreshLeftDown();
        LeftUp();
        CheckShows(app, pick.picked);
        // As the copy button copies it: upper case with "#", a first start's options.
        EXPECT_EQ_SOON(ClipboardText(), "#" + HexText(pick.picked));
        EXPECT_EQ_SOON(FindPickScreen(app), nullptr);
        EXPECT_EQ_SOON(GetForegroundWindow(), other.Window());
    }
    ExpectNoMessageBoxes(app);
}

TEST(PickFromAnywhere, EscapeOrARightClickCancelsTheKeyAgainMeanwhileStartsNoSecondPick)
{
    Scene scene;
    ASSERT_TRUE(scene.Set());
    Tintora& app = scene.app;
    OtherProgram other(POINT{20, 420});
    ASSERT_TRUE(PutClipboardText(nullptr, "left alone"));
    ASSERT_TRUE(MoveTo(scene.board.At(60, 90)));
    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "right click");
        ASSERT_TRUE(other.TakeFocus());
        PressPickKey();
        ASSERT_TRUE(PickRuns(app));
        const HWND screen = FindPickScreen(app);
        PressPickKey();
        ASSERT_TRUE(app.Settle(screen));
        EXPECT_EQ(FindPickScreen(app), screen);
        if (escape) {
            Key(VK_ESCAPE);
        } else {
            SendMouse(MOUSEEVENTF_RIGHTDOWN);
            SendMouse(MOUSEEVENTF_RIGHTUP);
        }
        EXPECT_EQ_SOON(FindPickScreen(app), nullptr);
        EXPECT_EQ_SOON(GetForegroundWindow(), other.Window());
        ASSERT_TRUE(app.Settle());
        EXPECT_EQ(FindPickScreen(app), nullptr);
        CheckShows(app, 0xFFFFFF);
        EXPECT_EQ(ClipboardText(), "left alone");
    }
    ExpectNoMessageBoxes(app);
}
