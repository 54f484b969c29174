// The colour lists of the side panel driven from outside: the saved list's buttons, drags with
// the real mouse (Ctrl held for a copy), its file across a close and a restart, and the named
// list's buttons and marks.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"
#include "tests/shared/clipboard_text.h"
#include "tests/shared/text_file.h"

using namespace e2e;

namespace {

const int kAliceBlue = 0, kAqua = 2, kCyan = 20, kFuchsia = 45;

const char kNoColorSelected[] = "No color selected.";

const uint32_t kA = 0xAA0000, kB = 0x00BB00, kC = 0x0000CC, kD = 0xDDDD00;

// The rows' colours as one line, "AA0000 00BB00 ...", so a failure shows the whole list.
std::string RowText(Tintora& app, int id)
{
    HWND list = app.Item(id);
    const LRESULT count = app.Send(list, LB_GETCOUNT, 0, 0);
    std::string text;
    for (LRESULT i = 0; i < count; ++i)
        text += (i ? " " : "") + HexText(static_cast<uint32_t>(app.Send(list, LB_GETITEMDATA, i, 0)));
    return text;
}

std::string RowText(const std::vector<uint32_t>& rows)
{
    std::string text;
    for (size_t i = 0; i < rows.size(); ++i)
        text += (i ? " " : "") + HexText(rows[i]);
    return text;
}

bool ExpectRows(Tintora& app, const std::vector<uint32_t>& rows)
{
    return CHECK_EQ_SOON(RowText(app, kSavedList), RowText(rows));
}

LRESULT Selected(Tintora& app, int id)
{
    return app.Send(app.Item(id), LB_GETCURSEL, 0, 0);
}

void Select(Tintora& app, int id, int row)
{
    app.Send(app.Item(id), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

// The current colour as the hex field shows it, in upper case.
std::string CurrentHex(Tintora& app)
{
    std::string text = ControlText(app.Item(kHexEdit));
    CharUpperA(&text[0]);
    return text;
}

// Empties the saved list with its delete button and adds the rows with its add button.
bool FillSavedList(Tintora& app, const std::vector<uint32_t>& rows)
{
    while (app.Send(app.Item(kSavedList), LB_GETCOUNT, 0, 0) > 0) {
        Select(app, kSavedList, 0);
        app.Click(kSavedDelete);
    }
    // With the new row selected after each add, the next one goes after it: at the end.
    for (uint32_t rgb : rows) {
        if (!SetColor(app, rgb))
            return false;
        app.Click(kSavedAdd);
    }
    return ExpectRows(app, rows);
}

// The file's non-empty lines, one after the other with "|" between.
std::string IniLines()
{
    std::string text, lines;
    if (!ReadWholeFile(SavedColorsFile(), &text))
        return "(no file)";
    for (const std::string& line : NonEmptyLines(text))
        lines += (lines.empty() ? "" : "|") + line;
    return lines;
}

bool CloseAndWait(Tintora& app)
{
    PostMessageA(app.Dialog(), WM_CLOSE, 0, 0);
    return ExpectCleanExit(app);
}

// ---- real input ----------------------------------------------------------------------------

HCURSOR CurrentCursor()
{
    CURSORINFO info = {};
    info.cbSize = sizeof(info);
    GetCursorInfo(&info);
    return info.hCursor;
}

// The panel shown and the window in front, so the mouse reaches the lists.
bool ShowPanel(Tintora& app)
{
    if (!app.IsChecked(kColors))
        app.Click(kColors);
    return BringToFront(app.Dialog()) && CHECK(app.IsChecked(kColors));
}

// A first start with the panel in front and the saved list holding the rows.
bool StartWithSavedRows(Tintora& app, const std::vector<uint32_t>& rows)
{
    return app.Start() && ShowPanel(app) && FillSavedList(app, rows);
}

// Screen point in the middle of a visible row.
POINT RowPoint(Tintora& app, int id, int row)
{
    HWND list = app.Item(id);
    const LONG height = static_cast<LONG>(app.Send(list, LB_GETITEMHEIGHT, 0, 0));
    const LONG top = static_cast<LONG>(app.Send(list, LB_GETTOPINDEX, 0, 0));
    POINT p = {ClientRect(list).right / 2, (row - top) * height + height / 2};
    ClientToScreen(list, &p);
    return p;
}

// Inside the saved list, below its last row.
POINT BelowLastRow(Tintora& app)
{
    HWND list = app.Item(kSavedList);
    RECT client = ClientRect(list);
    const LONG height = static_cast<LONG>(app.Send(list, LB_GETITEMHEIGHT, 0, 0));
    const LONG rows = static_cast<LONG>(app.Send(list, LB_GETCOUNT, 0, 0));
    if (rows * height >= client.bottom - 3)
        FAIL("the list has no room below its last row");
    POINT p = {client.right / 2, client.bottom - 3};
    ClientToScreen(list, &p);
    return p;
}

// Where the insertion mark goes for a row: left of the list, from a little above the row.
RECT InsertionArea(Tintora& app, int row)
{
    POINT rowTop = RowPoint(app, kSavedList, row);
    rowTop.y -= static_cast<LONG>(app.Send(app.Item(kSavedList), LB_GETITEMHEIGHT, 0, 0)) / 2;
    const LONG listLeft = WindowRect(app.Item(kSavedList)).left;
    return RECT{listLeft - 17, rowTop.y - 7, listLeft, rowTop.y + 25};
}

// Presses on the first point, moves in steps through the others and releases on the last;
// `during` runs while the button is still down there.
template <typename During>
void DragAlong(const std::vector<POINT>& path, During during)
{
    if (path.empty() || !MoveTo(path[0]))
        return;
    FreshLeftDown();
    for (size_t i = 1; i < path.size(); ++i)
        DragTo(path[i]);
    during();
    // Without a move, so nothing asks the X server for the keys again before the drop.
    LeftUp();
}

template <typename During>
void DragRow(POINT from, POINT to, During during)
{
    DragAlong({from, to}, during);
}

void DragRow(POINT from, POINT to)
{
    DragAlong({from, to}, [] {});
}

void DoubleClick(POINT p)
{
    if (!MoveTo(p))
        return;
    for (int i = 0; i < 2; ++i) {
        SendMouse(MOUSEEVENTF_LEFTDOWN, p);
        SendMouse(MOUSEEVENTF_LEFTUP, p);
    }
}

// Pixels that differ from the row's background: the text's ink.
size_t Ink(const Pixels& pixels, uint32_t background)
{
    size_t ink = 0;
    for (uint32_t p : pixels.data)
        ink += p != background;
    return ink;
}

}  // namespace

// ---- saved colours: buttons ----------------------------------------------------------------

E2E_CASE("saved colors", "431 adds after the selection or at the end, 432 deletes, 433 overwrites, 434 loads")
{
    Tintora app;
    REQUIRE(app.Start());
    REQUIRE(app.Send(app.Item(kSavedList), LB_GETCOUNT, 0, 0) == 0);

    REQUIRE(SetColor(app, kA));
    app.Click(kSavedAdd);
    REQUIRE(SetColor(app, kB));
    Select(app, kSavedList, -1);
    app.Click(kSavedAdd);
    CHECK(ExpectRows(app, {kA, kB}));
    CHECK_EQ(Selected(app, kSavedList), 1);

    REQUIRE(SetColor(app, kC));
    Select(app, kSavedList, 0);
    app.Click(kSavedAdd);
    CHECK(ExpectRows(app, {kA, kC, kB}));
    CHECK_EQ(Selected(app, kSavedList), 1);

    app.Click(kSavedDelete);
    CHECK(ExpectRows(app, {kA, kB}));
    CHECK_EQ(Selected(app, kSavedList), 1);
    app.Click(kSavedDelete);
    CHECK(ExpectRows(app, {kA}));
    CHECK_EQ(Selected(app, kSavedList), 0);

    REQUIRE(SetColor(app, kD));
    app.Click(kSavedOverwrite);
    CHECK(ExpectRows(app, {kD}));

    REQUIRE(SetColor(app, 0x123456));
    app.Click(kSavedLoad);
    CHECK_EQ_SOON(CurrentHex(app), HexText(kD));
    ExpectNoMessageBoxes(app);
}

E2E_CASE("saved colors", "432, 433 and 434 without a selection say \"No color selected.\" and change nothing")
{
    Tintora app;
    REQUIRE(app.Start());
    REQUIRE(FillSavedList(app, {kA, kB}));
    REQUIRE(SetColor(app, 0x123456));
    Select(app, kSavedList, -1);
    for (int id : {kSavedDelete, kSavedOverwrite, kSavedLoad}) {
        Context context("button " + std::to_string(id));
        app.Click(id);
        ExpectMessageBoxes(app, kNoColorSelected, 1);
    }
    CHECK(ExpectRows(app, {kA, kB}));
    CHECK_EQ(CurrentHex(app), std::string("123456"));
}

// ---- saved colours: drags with the mouse ------------------------------------------------------

E2E_CASE("saved colors", "a drag moves a row before the row it is dropped on and shows the insertion mark")
{
    Tintora app;
    REQUIRE(StartWithSavedRows(app, {kA, kB, kC, kD}));

    const RECT mark = InsertionArea(app, 2);
    const Pixels before = CaptureScreen(mark);
    bool markShown = false;
    DragRow(RowPoint(app, kSavedList, 0), RowPoint(app, kSavedList, 2),
            [&] { markShown = WaitUntil(kHangGuardMs, [&] { return CaptureScreen(mark).data != before.data; }); });
    CHECK(markShown);
    CHECK(ExpectRows(app, {kB, kA, kC, kD}));
    CHECK_EQ_SOON(Selected(app, kSavedList), 1);
    // Gone with the drop.
    CHECK_SOON(CaptureScreen(mark).data == before.data);

    REQUIRE(FillSavedList(app, {kA, kB, kC, kD}));
    DragRow(RowPoint(app, kSavedList, 3), RowPoint(app, kSavedList, 1));
    CHECK(ExpectRows(app, {kA, kD, kB, kC}));
    CHECK_EQ_SOON(Selected(app, kSavedList), 1);
}

E2E_CASE("saved colors", "a drag with Ctrl held copies the row")
{
    Tintora app;
    REQUIRE(StartWithSavedRows(app, {kA, kB, kC, kD}));

    // Wine takes the modifier keys from the X server again whenever the pointer moves, so Ctrl
    // goes down after the last move; the drag list asks again on its timer and shows the copy
    // cursor.
    HCURSOR moving = nullptr, copying = nullptr;
    DragRow(RowPoint(app, kSavedList, 0), RowPoint(app, kSavedList, 2), [&] {
        moving = CurrentCursor();
        HoldKey(VK_CONTROL, true);
        WaitUntil(kHangGuardMs, [&] { return (copying = CurrentCursor()) != moving; });
    });
    CHECK(copying != moving);
    // Ctrl stays down until the drop has been handled.
    CHECK(ExpectRows(app, {kA, kB, kA, kC, kD}));
    HoldKey(VK_CONTROL, false);
    CHECK_EQ_SOON(Selected(app, kSavedList), 2);
}

E2E_CASE("saved colors",
         "drops onto the row itself or below the last row, and drags from below it, change nothing")
{
    Tintora app;
    REQUIRE(StartWithSavedRows(app, {kA, kB, kC, kD}));
    Select(app, kSavedList, 1);

    // The list's left edge, where the insertion arrows reach in: as it was once the drag is over.
    RECT edge = WindowRect(app.Item(kSavedList));
    edge.right = edge.left + 16;
    const Pixels before = SteadyCapture(app, edge);

    DragAlong({RowPoint(app, kSavedList, 1), RowPoint(app, kSavedList, 2), RowPoint(app, kSavedList, 3),
               RowPoint(app, kSavedList, 1)},
              [] {});
    DragRow(RowPoint(app, kSavedList, 1), BelowLastRow(app));
    DragRow(BelowLastRow(app), RowPoint(app, kSavedList, 1));
    CHECK(app.Settle());
    CHECK(ExpectRows(app, {kA, kB, kC, kD}));
    CHECK_EQ(Selected(app, kSavedList), 1);
    CHECK_SOON(CaptureScreen(edge).data == before.data);
}

E2E_CASE("lists", "a double click on a row of either list loads its colour")
{
    Tintora app;
    REQUIRE(StartWithSavedRows(app, {kA, kB}));
    REQUIRE(SetColor(app, 0x123456));

    DoubleClick(RowPoint(app, kSavedList, 0));
    CHECK_EQ_SOON(CurrentHex(app), HexText(kA));

    DoubleClick(RowPoint(app, kNamedList, 1));
    // Row 1 is AntiqueWhite.
    CHECK_EQ_SOON(CurrentHex(app), std::string("FAEBD7"));
    CHECK(ExpectRows(app, {kA, kB}));
}

// ---- saved colours: the file ------------------------------------------------------------------

E2E_CASE("saved colors", "the list is written to Tintora.ini at the close and comes back at the next start")
{
    {
        Tintora app;
        REQUIRE(app.Start());
        REQUIRE(FillSavedList(app, {0xFF0000, 0x00FF00, 0x0000FF}));
        REQUIRE(CloseAndWait(app));
    }
    CHECK_EQ(IniLines(), std::string("[SavedColors]|nColors=3|Color0=FF0000|Color1=00FF00|Color2=0000FF"));

    Tintora again;
    REQUIRE(again.Start(false));
    CHECK(ExpectRows(again, {0xFF0000, 0x00FF00, 0x0000FF}));
}

E2E_CASE("saved colors",
         "a file counting 4000000000 colours starts with the colours it holds and saves a sound count")
{
    ResetSavedState();
    REQUIRE(WriteWholeFile(
        SavedColorsFile(),
        "[SavedColors]\r\nnColors=4000000000\r\nColor0=ff8000\r\nColor1=00ff00\r\nColor2=0000ff\r\n"));
    {
        Tintora app;
        REQUIRE(app.Start(false));
        CHECK(ExpectRows(app, {0xFF8000, 0x00FF00, 0x0000FF}));
        CHECK_EQ(app.Send(app.Item(kNamedList), LB_GETCOUNT, 0, 0), 140);
        CHECK_EQ(ControlText(app.Item(kHexEdit)).size(), 6u);
        REQUIRE(CloseAndWait(app));
    }
    CHECK_EQ(IniLines(), std::string("[SavedColors]|nColors=3|Color0=FF8000|Color1=00FF00|Color2=0000FF"));
}

// ---- named colours ------------------------------------------------------------------------

E2E_CASE("named colors", "439 selects the nearest row, 440 copies its exact name, 438 loads the row")
{
    Tintora app;
    REQUIRE(app.Start());
    REQUIRE(SetColor(app, 0x00FFFF));
    app.Click(kNamedFind);
    CHECK_EQ_SOON(Selected(app, kNamedList), kAqua);

    CHECK(PutClipboardText(nullptr, "before"));
    app.Click(kNamedCopy);
    CHECK_EQ_SOON(ClipboardText(), std::string("Aqua"));
    // Cyan has Aqua's colour, yet its row copies its own name.
    Select(app, kNamedList, kCyan);
    app.Click(kNamedCopy);
    CHECK_EQ_SOON(ClipboardText(), std::string("Cyan"));
    Select(app, kNamedList, kAliceBlue);
    app.Click(kNamedCopy);
    CHECK_EQ_SOON(ClipboardText(), std::string("AliceBlue"));

    Select(app, kNamedList, kFuchsia);
    app.Click(kNamedLoad);
    CHECK_EQ_SOON(CurrentHex(app), std::string("FF00FF"));
    ExpectNoMessageBoxes(app);
}

E2E_CASE("named colors", "with NamedColorsLowerCase stored, 440 copies the name in lower case")
{
    ResetSavedState();
    WriteBinaryOption("NamedColorsLowerCase", 1);
    Tintora app;
    REQUIRE(app.Start(false));
    Select(app, kNamedList, kAliceBlue);
    CHECK(PutClipboardText(nullptr, "before"));
    app.Click(kNamedCopy);
    CHECK_EQ_SOON(ClipboardText(), std::string("aliceblue"));
}

E2E_CASE("named colors",
         "438 and 440 without a selection say \"No color selected.\"; the clipboard keeps its text")
{
    Tintora app;
    REQUIRE(app.Start());
    REQUIRE(SetColor(app, 0x123456));
    CHECK(PutClipboardText(nullptr, "before"));
    Select(app, kNamedList, -1);
    app.Click(kNamedLoad);
    ExpectMessageBoxes(app, kNoColorSelected, 1);
    app.Click(kNamedCopy);
    ExpectMessageBoxes(app, kNoColorSelected, 1);
    CHECK_EQ(ClipboardText(), std::string("before"));
    CHECK_EQ(CurrentHex(app), std::string("123456"));
}

E2E_CASE("named colors", "on the screen the exact row's name is bold and the nearest row's italic")
{
    Tintora app;
    REQUIRE(app.Start());
    REQUIRE(ShowPanel(app));
    HWND list = app.Item(kNamedList);
    REQUIRE(app.Send(list, LB_GETTOPINDEX, 0, 0) == 0);
    const LONG height = static_cast<LONG>(app.Send(list, LB_GETITEMHEIGHT, 0, 0));
    RECT name = {24, 0, ClientRect(list).right, height};
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&name), 2);

    // Each colour change repaints the list; wait until the row looks new and stays put.
    auto look = [&](uint32_t rgb, const Pixels* unlike) {
        SetColor(app, rgb);
        Pixels now;
        WaitUntil(kHangGuardMs, [&] {
            now = SteadyCapture(app, name, list);
            return !unlike || now.data != unlike->data;
        });
        return now;
    };
    // The text's ink: pixels unlike the row's background, which the far right of the row shows.
    auto ink = [](const Pixels& row) { return Ink(row, row.At(row.width - 1, 0)); };
    const Pixels plain = look(0x000000, nullptr);
    const Pixels bold = look(0xF0F8FF, &plain);
    const Pixels italic = look(0xF0F8FE, &bold);
    CHECK(ink(plain) > 20);
    CHECK(ink(plain) < static_cast<size_t>(plain.width * plain.height / 2));
    CHECK(ink(bold) > ink(plain) * 11 / 10);
    CHECK(italic.data != plain.data);
    CHECK(italic.data != bold.data);
}
