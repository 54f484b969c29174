// The screen grab driven with real mouse input: press on the grab icon, drag over a board of
// known colours painted by the driver, release or cancel, and look at the magnifier popup on the
// screen while the button is held.
#include <windows.h>

#include <algorithm>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/e2e/e2e_board.h"
#include "tests/e2e/e2e_support.h"

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
    void Check() const
    {
        CHECK_EQ(count, 0);
        if (count)
            FAIL(first);
    }
};

// Checks that the fields show rgb, waiting for the program to get there.
void CheckShows(Tintora& app, uint32_t rgb)
{
    WaitUntil(kHangGuardMs, [&] { return ShownColor(app).hex == HexOf(rgb); });
    const Shown shown = ShownColor(app);
    CHECK_EQ(shown.hex, HexOf(rgb));
    CHECK_EQ(shown.red, std::to_string(rgb >> 16 & 0xFF));
    CHECK_EQ(shown.green, std::to_string(rgb >> 8 & 0xFF));
    CHECK_EQ(shown.blue, std::to_string(rgb & 0xFF));
}

// The program running, its window moved clear of the board and the corner where the popup
// first appears, and the board painted.
struct Scene {
    Tintora app;
    Board board{POINT{130, 130}};
    // Destroyed first: the button is up before the program and the board go.
    ButtonGuard guard;

    bool Set()
    {
        if (!CHECK(board.Ready()) || !app.Start())
            return false;
        SetWindowPos(app.Dialog(), nullptr, 440, 440, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT dialog = WindowRect(app.Dialog()), overlap;
        const RECT boardRect = board.Rect();
        HICON icon = LoadProgramIcon(kGrabIcon, 0);
        // Both painted where they now are: the pixels the cases read.
        const bool set = CHECK(!IntersectRect(&overlap, &dialog, &boardRect)) && CHECK_SOON(board.Shown()) &&
                         CHECK(icon) &&
                         CHECK_SOON(ControlShowsIcon(WindowRect(app.Item(kGrabIcon)), icon, 16, 16));
        if (icon)
            DestroyIcon(icon);
        return set;
    }

    POINT GrabIcon() { return Centre(WindowRect(app.Item(kGrabIcon))); }
    bool PressGrabIcon() { return ::PressGrabIcon(app); }

    // Once the popup sits where it belongs beside the cursor (and has painted there).
    bool PopupSettles(POINT topLeft)
    {
        const RECT expected = {topLeft.x, topLeft.y, topLeft.x + kPopupSize, topLeft.y + kPopupSize};
        return CHECK_EQ_SOON(WindowRect(FindPopup(app)), expected);
    }

    // After a grab ends: the popup gone, and the window back out of the topmost band.
    void ExpectGrabOver()
    {
        CHECK_SOON(FindPopup(app) == nullptr);
        CHECK_SOON(!IsTopmost(app.Dialog()));
    }

    // Lets go wherever the cursor is, and waits for the popup to go.
    void Release()
    {
        LeftUp();
        CHECK_SOON(FindPopup(app) == nullptr);
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
            CHECK_EQ(HexOf(m.At(0, kBandTop)), HexOf(BoardColor(x, y)));
            CHECK_EQ(HexOf(m.At(1, 1)), HexOf(BoardColor(x - kCentreColumn, y - kCentreRow)));
        }
        return CHECK(false);
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
            const int lastX = std::min(left + kCell, m.width) - 1, lastY = std::min(top + kCell, kAreaHeight) - 1;
            for (POINT p : {POINT{left, top}, POINT{lastX, lastY}, POINT{left, lastY}})
                if (p.x != kCrossX && p.y != kCrossY && m.At(p.x, p.y) != BoardColor(bx, by))
                    wrong.Note(column, row, m.At(p.x, p.y), BoardColor(bx, by));
        }
    }
    return wrong;
}

}  // namespace

// ---- picking -------------------------------------------------------------------------------

E2E_CASE("grab", "a drag from the grab icon picks exactly the pixel under the hot spot at the release")
{
    Scene scene;
    REQUIRE(scene.Set());
    Tintora& app = scene.app;
    const Shown before = ShownColor(app);

    REQUIRE(scene.PressGrabIcon());
    REQUIRE(DragTo(scene.board.At(123, 77)));
    // Nothing is taken while the button is held.
    CHECK(app.Settle());
    CHECK_EQ(ShownColor(app).hex, before.hex);
    scene.Release();
    CheckShows(app, BoardColor(123, 77));

    // A second grab, released one pixel right and one below a point it passed over.
    REQUIRE(scene.PressGrabIcon());
    REQUIRE(DragTo(scene.board.At(200, 13)));
    REQUIRE(MoveTo(scene.board.At(201, 14)));
    scene.Release();
    CheckShows(app, BoardColor(201, 14));
    ExpectNoMessageBoxes(app);
}

E2E_CASE("grab",
         "a click on the grab icon without moving picks the icon's own pixel; a double click grabs once")
{
    Scene scene;
    REQUIRE(scene.Set());
    Tintora& app = scene.app;

    // The icon is on the screen (Set waits for it).
    const POINT icon = scene.GrabIcon();
    const uint32_t iconPixel = CaptureScreen(RECT{icon.x, icon.y, icon.x + 1, icon.y + 1}).At(0, 0);
    // Start from a colour the icon does not have, so the pick shows.
    scene.Pick(60, 60);
    REQUIRE(iconPixel != BoardColor(60, 60));

    REQUIRE(MoveTo(icon));
    FreshLeftDown();
    LeftUp();
    CheckShows(app, iconPixel);
    scene.ExpectGrabOver();

    // The first click of a double click grabs; the second press starts nothing: no popup,
    // nothing lifted.
    scene.Pick(70, 80);
    REQUIRE(MoveTo(icon));
    FreshLeftDown();
    LeftUp();
    LeftDown();
    CHECK(app.Settle());
    CHECK(FindPopup(app) == nullptr);
    CHECK(!IsTopmost(app.Dialog()));
    LeftUp();
    CheckShows(app, iconPixel);
}

E2E_CASE("grab", "a right click cancels: the popup goes, the colour stays, the release picks nothing")
{
    Scene scene;
    REQUIRE(scene.Set());
    Tintora& app = scene.app;
    scene.Pick(90, 100);

    REQUIRE(scene.PressGrabIcon());
    REQUIRE(DragTo(scene.board.At(40, 50)));
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    SendMouse(MOUSEEVENTF_RIGHTUP);
    scene.ExpectGrabOver();
    LeftUp();
    CHECK(app.Settle());
    CheckShows(app, BoardColor(90, 100));
    ExpectNoMessageBoxes(app);
}

// ---- the popup -----------------------------------------------------------------------------

E2E_CASE("grab", "the popup follows beside the cursor and turns at the right and bottom edges")
{
    Scene scene;
    REQUIRE(scene.Set());
    Tintora& app = scene.app;

    REQUIRE(scene.PressGrabIcon());
    HWND popup = FindPopup(app);
    CHECK_EQ(WindowText(popup), std::string("Color Grabber"));
    CHECK_EQ(GetWindow(popup, GW_OWNER), app.Dialog());
    CHECK(IsWindowVisible(popup));

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
        Context context(step.what);
        REQUIRE(MoveTo(step.cursor));
        const POINT topLeft = {step.cursor.x + (step.left ? -110 : 10),
                               step.cursor.y + (step.above ? -110 : 10)};
        scene.PopupSettles(topLeft);
        CHECK(IsWindowVisible(popup));
    }
    scene.Release();
}

E2E_CASE("grab", "the magnifier shows the pixels around the hot spot, the cross-hair, and the hex band")
{
    Scene scene;
    REQUIRE(scene.Set());
    Tintora& app = scene.app;
    const Board& board = scene.board;

    REQUIRE(scene.PressGrabIcon());
    // A dark pixel (white text), then a light one (black text).
    const struct {
        int x, y;
        uint32_t text;
    } spots[] = {{123, 77, 0xFFFFFF}, {240, 245, 0x000000}};
    for (const auto& spot : spots) {
        Context context("board pixel " + std::to_string(spot.x) + ", " + std::to_string(spot.y));
        const POINT hot = board.At(spot.x, spot.y);
        REQUIRE(DragTo(hot));
        REQUIRE(scene.PopupSettles(POINT{hot.x + 10, hot.y + 10}));
        const uint32_t colour = BoardColor(spot.x, spot.y);
        const Pixels m = WaitForMagnifier(app, [&](const Pixels& shot) {
            return CompareWithBoard(shot, spot.x, spot.y).count == 0 && shot.At(0, kBandTop) == colour;
        });
        REQUIRE(m.width == 98 && m.height == 98);

        // Each cell is one board pixel, six times as large, around the hot spot.
        CompareWithBoard(m, spot.x, spot.y).Check();

        // One-pixel red lines through the middle of the centre cell, over the whole area.
        int red = 0;
        for (int y = 0; y < kAreaHeight; ++y)
            red += m.At(kCrossX, y) == 0xFF0000;
        for (int x = 0; x < m.width; ++x)
            red += m.At(x, kCrossY) == 0xFF0000;
        CHECK_EQ(red, kAreaHeight + m.width);
        CHECK(m.At(kCrossX - 1, kCrossY - 1) != 0xFF0000);
        CHECK(m.At(kCrossX + 1, kCrossY + 1) != 0xFF0000);

        // The separator, then the band in the hot spot's colour with its hex in the contrast colour.
        const uint32_t separator = RgbOfSysColor(COLOR_3DDKSHADOW);
        int separatorPixels = 0;
        for (int x = 0; x < m.width; ++x)
            separatorPixels += m.At(x, kSeparatorY) == separator;
        CHECK_EQ(separatorPixels, m.width);
        CHECK_EQ(HexOf(m.At(0, kBandTop)), HexOf(colour));
        CHECK_EQ(HexOf(m.At(m.width - 1, m.height - 1)), HexOf(colour));
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
        CHECK(text >= 12);
        CHECK_EQ(foreign, 0);
        // The text is centred: as much of it left of the middle as right of it, within a column.
        int leftmost = m.width, rightmost = -1;
        for (int y = kBandTop; y < m.height; ++y)
            for (int x = 0; x < m.width; ++x)
                if (m.At(x, y) == spot.text) {
                    leftmost = std::min(leftmost, x);
                    rightmost = std::max(rightmost, x);
                }
        CHECK_NEAR(leftmost, m.width - 1 - rightmost, 3);
    }
    scene.Release();
    CheckShows(app, BoardColor(240, 245));
}

E2E_CASE("grab", "cells beyond the screen's edge show the button face, those on it the screen")
{
    Scene scene;
    REQUIRE(scene.Set());
    Tintora& app = scene.app;

    REQUIRE(scene.PressGrabIcon());
    REQUIRE(DragTo(POINT{0, 0}));
    REQUIRE(scene.PopupSettles(POINT{10, 10}));
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
    REQUIRE(m.width == 98 && corner.width == 9);
    compare(m).Check();
    // The band shows the pixel that is there, never the button face stand-in.
    CHECK_EQ(HexOf(m.At(0, kBandTop)), HexOf(corner.At(0, 0)));
    scene.Release();
    CheckShows(app, corner.At(0, 0));
}

// ---- z-order -------------------------------------------------------------------------------

E2E_CASE("grab", "the window is topmost during the grab and afterwards only with \"Stay on Top\"")
{
    Scene scene;
    REQUIRE(scene.Set());
    Tintora& app = scene.app;
    HWND dialog = app.Dialog();
    REQUIRE(!IsTopmost(dialog));

    {
        Context context("option clear");
        // Already when the popup shows: the grab is set up before it comes.
        REQUIRE(scene.PressGrabIcon());
        CHECK(IsTopmost(dialog));
        CHECK(IsTopmost(FindPopup(app)));
        REQUIRE(DragTo(scene.board.At(10, 10)));
        CHECK(IsTopmost(dialog));
        scene.Release();
        CHECK_SOON(!IsTopmost(dialog));
        CheckShows(app, BoardColor(10, 10));
    }
    {
        Context context("option set");
        app.Click(kStayOnTop);
        REQUIRE(IsTopmost(dialog));
        REQUIRE(scene.PressGrabIcon());
        CHECK(IsTopmost(dialog));
        REQUIRE(DragTo(scene.board.At(20, 30)));
        scene.Release();
        CheckShows(app, BoardColor(20, 30));
        CHECK(app.Settle());
        CHECK(IsTopmost(dialog));
        CHECK(app.IsChecked(kStayOnTop));
    }
}

// ---- keys ----------------------------------------------------------------------------------

namespace {

// The mode buttons' checks, one character each, red first.
std::string ModeChecks(Tintora& app)
{
    std::string checks;
    for (int id = kModeRed; id < kModeRed + 6; ++id)
        checks += app.IsChecked(id) ? 'x' : '-';
    return checks;
}

// Puts the keyboard focus on a control of the foreground window, as Tab would.
bool FocusOn(Tintora& app, int id)
{
    if (!BringToFront(app.Dialog()))
        return false;
    app.SendToDialog(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(app.Item(id)), TRUE);
    return CHECK_EQ_SOON(app.Focus(), app.Item(id));
}

// A key with Shift held around it.
void ShiftKey(WORD key)
{
    HoldKey(VK_SHIFT, true);
    Key(key);
    HoldKey(VK_SHIFT, false);
}

}  // namespace

E2E_CASE("grab",
         "during a held grab the arrows move the hot spot a pixel, with Shift ten, the magnifier following; "
         "Enter picks there, and the release after it nothing more")
{
    Scene scene;
    REQUIRE(scene.Set());
    Tintora& app = scene.app;
    const Board& board = scene.board;
    scene.Pick(30, 40);
    // On a mode button the arrows would check the next one; Enter would go to the dialog.
    REQUIRE(FocusOn(app, kModeRed));
    const std::string modes = ModeChecks(app);
    REQUIRE(modes == "x-----");

    REQUIRE(scene.PressGrabIcon());
    REQUIRE(DragTo(board.At(100, 100)));
    REQUIRE(scene.MagnifierFollows(100, 100));
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
        Context context(step.what);
        if (step.shift)
            ShiftKey(step.key);
        else
            Key(step.key);
        REQUIRE(CHECK(PointerRests(board.At(step.x, step.y))));
        REQUIRE(scene.MagnifierFollows(step.x, step.y));
        // Still the grab: nothing picked, the focus where it was, no button checked.
        CHECK(app.Settle());
        CHECK_EQ(ShownColor(app).hex, HexOf(BoardColor(30, 40)));
        CHECK_EQ(app.Focus(), app.Item(kModeRed));
        CHECK_EQ(ModeChecks(app), modes);
    }

    Key(VK_RETURN);
    CheckShows(app, BoardColor(100, 90));
    scene.ExpectGrabOver();
    CHECK(GetAsyncKeyState(VK_LBUTTON) & 0x8000);
    // The button is still down; a release elsewhere, after a move there, takes nothing.
    REQUIRE(DragTo(board.At(200, 220)));
    LeftUp();
    CHECK(app.Settle());
    CheckShows(app, BoardColor(100, 90));
    CHECK(FindPopup(app) == nullptr);
    CHECK_EQ(app.Focus(), app.Item(kModeRed));
    CHECK_EQ(ModeChecks(app), modes);
    ExpectNoMessageBoxes(app);

    // Afterwards the arrows are the dialog's again: the next mode button.
    Key(VK_DOWN);
    CHECK_EQ_SOON(app.Focus(), app.Item(kModeRed + 1));
    CHECK_EQ_SOON(ModeChecks(app), std::string("-x----"));
}

E2E_CASE("grab", "Escape cancels a held grab; no key typed during the grab reaches the focused field, and "
                 "afterwards the field takes keys again")
{
    Scene scene;
    REQUIRE(scene.Set());
    Tintora& app = scene.app;
    const Board& board = scene.board;
    scene.Pick(90, 100);
    REQUIRE(FocusOn(app, kRedEdit));
    app.Send(app.Item(kRedEdit), EM_SETSEL, 0, -1);
    const Shown before = ShownColor(app);

    REQUIRE(scene.PressGrabIcon());
    REQUIRE(DragTo(board.At(40, 50)));
    REQUIRE(scene.MagnifierFollows(40, 50));
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
    CHECK(app.Settle());
    CheckShows(app, BoardColor(90, 100));
    CHECK_EQ(app.Text(kRedEdit), before.red);
    CHECK_EQ(app.Focus(), app.Item(kRedEdit));
    CHECK(IsWindowVisible(app.Dialog()));
    ExpectNoMessageBoxes(app);

    // The field still has its value selected, and typing replaces it.
    Key(0, KEYEVENTF_UNICODE, L'1');
    Key(0, KEYEVENTF_UNICODE, L'7');
    CHECK_EQ_SOON(app.Text(kRedEdit), std::string("17"));
    CHECK_EQ_SOON(Lower(app.Text(kHexEdit)), HexOf(17u << 16 | (BoardColor(90, 100) & 0xFFFF)));
    Key(VK_TAB);
    CHECK_EQ_SOON(app.Focus(), app.Item(kGreenEdit));
}
