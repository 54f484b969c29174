// The colour lists of the side panel driven from outside: the saved list's buttons, drags with
// the real mouse (Ctrl held for a copy), its file across a close and a restart, and the named
// list's buttons and marks.
#include <windows.h>
#include <dlgs.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/e2e_checks.h"
#include "tests/e2e/e2e_input.h"
#include "tests/e2e/e2e_program.h"
#include "tests/e2e/e2e_screen.h"
#include "tests/e2e/e2e_state.h"
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
    return CHECKED_EQ_SOON(RowText(app, kSavedList), RowText(rows));
}

LRESULT Selected(Tintora& app, int id)
{
    return app.Send(app.Item(id), LB_GETCURSEL, 0, 0);
}

void Select(Tintora& app, int id, int row)
{
    app.Send(app.Item(id), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

// The rows selected, "1 3" for rows 1 and 3, of the first hundred.
std::string SelectedRows(Tintora& app, int id)
{
    std::string rows;
    for (int row = 0; row < 100; ++row)
        if (app.Send(app.Item(id), LB_GETSEL, row, 0) > 0)
            rows += (rows.empty() ? "" : " ") + std::to_string(row);
    return rows;
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
    return BringToFront(app.Dialog()) && CHECKED(app.IsChecked(kColors));
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
        ADD_FAILURE() << "the list has no room below its last row";
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
// `during`, if any, runs while the button is still down there.
void DragAlong(const std::vector<POINT>& path, const std::function<void()>& during = nullptr)
{
    if (path.empty() || !MoveTo(path[0]))
        return;
    FreshLeftDown();
    for (size_t i = 1; i < path.size(); ++i)
        DragTo(path[i]);
    if (during)
        during();
    // Without a move, so nothing asks the X server for the keys again before the drop.
    LeftUp();
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

TEST(SavedColors, AddGoesAfterTheSelectionOrAtTheEndDeleteOverwriteAndLoadTakeTheSelectedRow)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_EQ(app.Send(app.Item(kSavedList), LB_GETCOUNT, 0, 0), 0);

    ASSERT_TRUE(SetColor(app, kA));
    app.Click(kSavedAdd);
    ASSERT_TRUE(SetColor(app, kB));
    Select(app, kSavedList, -1);
    app.Click(kSavedAdd);
    ExpectRows(app, {kA, kB});
    EXPECT_EQ(Selected(app, kSavedList), 1);

    ASSERT_TRUE(SetColor(app, kC));
    Select(app, kSavedList, 0);
    app.Click(kSavedAdd);
    ExpectRows(app, {kA, kC, kB});
    EXPECT_EQ(Selected(app, kSavedList), 1);

    app.Click(kSavedDelete);
    ExpectRows(app, {kA, kB});
    EXPECT_EQ(Selected(app, kSavedList), 1);
    app.Click(kSavedDelete);
    ExpectRows(app, {kA});
    EXPECT_EQ(Selected(app, kSavedList), 0);

    ASSERT_TRUE(SetColor(app, kD));
    app.Click(kSavedOverwrite);
    ExpectRows(app, {kD});

    ASSERT_TRUE(SetColor(app, 0x123456));
    app.Click(kSavedLoad);
    EXPECT_EQ_SOON(CurrentHex(app), HexText(kD));
    ExpectNoMessageBoxes(app);
}

TEST(SavedColors, DeleteOverwriteAndLoadWithoutASelectionSayNoColorSelectedAndChangeNothing)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(FillSavedList(app, {kA, kB}));
    ASSERT_TRUE(SetColor(app, 0x123456));
    Select(app, kSavedList, -1);
    for (int id : {kSavedDelete, kSavedOverwrite, kSavedLoad}) {
        SCOPED_TRACE("button " + std::to_string(id));
        app.Click(id);
        ExpectMessageBoxes(app, kNoColorSelected, 1);
    }
    ExpectRows(app, {kA, kB});
    EXPECT_EQ(CurrentHex(app), "123456");
}

// ---- saved colours: drags with the mouse ------------------------------------------------------

TEST(SavedColors, ADragMovesARowBeforeTheRowItIsDroppedOnAndShowsTheInsertionMark)
{
    Tintora app;
    ASSERT_TRUE(StartWithSavedRows(app, {kA, kB, kC, kD}));

    const RECT mark = InsertionArea(app, 2);
    const Pixels before = CaptureScreen(mark);
    bool markShown = false;
    DragAlong({RowPoint(app, kSavedList, 0), RowPoint(app, kSavedList, 2)}, [&] {
        markShown = WaitUntil(kHangGuardMs, [&] { return CaptureScreen(mark).data != before.data; });
    });
    EXPECT_TRUE(markShown);
    ExpectRows(app, {kB, kA, kC, kD});
    EXPECT_EQ_SOON(Selected(app, kSavedList), 1);
    // Gone with the drop.
    EXPECT_EQ_SOON(CaptureScreen(mark).data, before.data);

    ASSERT_TRUE(FillSavedList(app, {kA, kB, kC, kD}));
    DragAlong({RowPoint(app, kSavedList, 3), RowPoint(app, kSavedList, 1)});
    ExpectRows(app, {kA, kD, kB, kC});
    EXPECT_EQ_SOON(Selected(app, kSavedList), 1);
}

TEST(SavedColors, ADragWithCtrlHeldCopiesTheRow)
{
    Tintora app;
    ASSERT_TRUE(StartWithSavedRows(app, {kA, kB, kC, kD}));

    // Wine takes the modifier keys from the X server again whenever the pointer moves, so Ctrl
    // goes down after the last move; the drag list asks again on its timer and shows the copy
    // cursor.
    HCURSOR moving = nullptr, copying = nullptr;
    DragAlong({RowPoint(app, kSavedList, 0), RowPoint(app, kSavedList, 2)}, [&] {
        moving = CurrentCursor();
        HoldKey(VK_CONTROL, true);
        WaitUntil(kHangGuardMs, [&] { return (copying = CurrentCursor()) != moving; });
    });
    EXPECT_NE(copying, moving);
    // Ctrl stays down until the drop has been handled.
    ExpectRows(app, {kA, kB, kA, kC, kD});
    HoldKey(VK_CONTROL, false);
    EXPECT_EQ_SOON(Selected(app, kSavedList), 2);
}

TEST(SavedColors, DropsOntoTheRowItselfOrBelowTheLastRowAndDragsFromBelowItChangeNothing)
{
    Tintora app;
    ASSERT_TRUE(StartWithSavedRows(app, {kA, kB, kC, kD}));
    Select(app, kSavedList, 1);

    // The list's left edge, where the insertion arrows reach in: as it was once the drag is over.
    RECT edge = WindowRect(app.Item(kSavedList));
    edge.right = edge.left + 16;
    const Pixels before = SteadyCapture(app, edge);

    DragAlong({RowPoint(app, kSavedList, 1), RowPoint(app, kSavedList, 2), RowPoint(app, kSavedList, 3),
               RowPoint(app, kSavedList, 1)});
    DragAlong({RowPoint(app, kSavedList, 1), BelowLastRow(app)});
    DragAlong({BelowLastRow(app), RowPoint(app, kSavedList, 1)});
    app.Settle();
    ExpectRows(app, {kA, kB, kC, kD});
    EXPECT_EQ(Selected(app, kSavedList), 1);
    EXPECT_EQ_SOON(CaptureScreen(edge).data, before.data);
}

TEST(Lists, ADoubleClickOnARowOfEitherListLoadsItsColour)
{
    Tintora app;
    ASSERT_TRUE(StartWithSavedRows(app, {kA, kB}));
    ASSERT_TRUE(SetColor(app, 0x123456));

    DoubleClick(RowPoint(app, kSavedList, 0));
    EXPECT_EQ_SOON(CurrentHex(app), HexText(kA));

    DoubleClick(RowPoint(app, kNamedList, 1));
    // Row 1 is AntiqueWhite.
    EXPECT_EQ_SOON(CurrentHex(app), "FAEBD7");
    ExpectRows(app, {kA, kB});
}

TEST(Lists, EachSelectsOneRowAtATimeShiftWithTheArrowsMovesIt)
{
    Tintora app;
    ASSERT_TRUE(StartWithSavedRows(app, {kA, kB, kC, kD}));
    for (int id : {kSavedList, kNamedList}) {
        SCOPED_TRACE("list " + std::to_string(id));
        ASSERT_TRUE(FocusOn(app, id));
        Key(VK_HOME);
        ShiftKey(VK_DOWN);
        ShiftKey(VK_DOWN);
        EXPECT_EQ_SOON(SelectedRows(app, id), "2");
    }
}

TEST(NamedColors, TheListScrollsSidewaysToItsLongestNames)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(ShowPanel(app));
    HWND list = app.Item(kNamedList);
    RECT rows = ClientRect(list);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rows), 2);
    // A scroll bar along the bottom, between the client area and the border.
    const LONG bar = WindowRect(list).bottom - rows.bottom;
    ASSERT_GE(bar, GetSystemMetrics(SM_CYHSCROLL));
    const LRESULT selected = Selected(app, kNamedList);
    const Pixels before = SteadyCapture(app, rows, list);
    // A click in the bar just left of its right arrow pages right.
    const int arrow = GetSystemMetrics(SM_CXHSCROLL);
    ASSERT_TRUE(MoveTo(POINT{rows.right - arrow - 2, rows.bottom + bar / 2 - 1}));
    FreshLeftDown();
    LeftUp();
    EXPECT_SOON(SteadyCapture(app, rows, list).data != before.data);
    EXPECT_EQ(Selected(app, kNamedList), selected);
    MoveTo(POINT{0, 0});
}

// ---- saved colours: the file ------------------------------------------------------------------

TEST(SavedColors, TheListIsWrittenToTintoraIniAtTheCloseAndComesBackAtTheNextStart)
{
    {
        Tintora app;
        ASSERT_TRUE(app.Start());
        ASSERT_TRUE(FillSavedList(app, {0xFF0000, 0x00FF00, 0x0000FF}));
        ASSERT_TRUE(CloseAndWait(app));
    }
    EXPECT_EQ(IniLines(), "[SavedColors]|nColors=3|Color0=FF0000|Color1=00FF00|Color2=0000FF");

    Tintora again;
    ASSERT_TRUE(again.Start(false));
    ExpectRows(again, {0xFF0000, 0x00FF00, 0x0000FF});
}

// Earlier versions kept the file in the Windows directory, where a standard user's 32-bit program
// on Vista and later wrote into the user's VirtualStore copy of it instead. The first start
// without the user's own file reads the newest of those, the close writes the user's file with
// whatever else the old one held, and the old files stay as they were.
TEST(SavedColors, TheListMovesFromAnEarlierVersionsFileToTheUsersOwnFolder)
{
    const std::string windows =
        "[SavedColors]\r\nnColors=2\r\nColor0=FF0000\r\nColor1=00FF00\r\n[Other]\r\nkept=1\r\n";
    const std::string store = "[SavedColors]\r\nnColors=1\r\nColor0=0000FF\r\n";
    const std::string own = "[SavedColors]\r\nnColors=1\r\nColor0=FFFF00\r\n";
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> files;
        std::vector<uint32_t> rows;
        const char* written;  // the user's file after the close, lines joined by "|"
    } cases[] = {
        {"the Windows directory's",
         {{WindowsColorsFile(), windows}},
         {0xFF0000, 0x00FF00},
         "[SavedColors]|nColors=2|Color0=FF0000|Color1=00FF00|[Other]|kept=1"},
        {"the VirtualStore copy, newer than the Windows directory's",
         {{WindowsColorsFile(), windows}, {VirtualStoreColorsFile(), store}},
         {0x0000FF},
         "[SavedColors]|nColors=1|Color0=0000FF"},
        {"the user's own, once there",
         {{WindowsColorsFile(), windows}, {SavedColorsFile(), own}},
         {0xFFFF00},
         "[SavedColors]|nColors=1|Color0=FFFF00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetSavedState();
        for (const auto& file : c.files)
            ASSERT_TRUE(PutFile(file.first, file.second)) << file.first;
        {
            Tintora app;
            ASSERT_TRUE(app.Start(false));
            ExpectRows(app, c.rows);
            ASSERT_TRUE(CloseAndWait(app));
        }
        EXPECT_EQ(IniLines(), c.written);
        for (const auto& file : c.files) {
            std::string text;
            if (file.first != SavedColorsFile()) {
                EXPECT_TRUE(ReadWholeFile(file.first, &text) && text == file.second)
                    << file.first << " changed";
            }
        }
    }
    ResetSavedState();
}

TEST(SavedColors, AFileCounting4000000000ColoursStartsWithTheColoursItHoldsAndSavesASoundCount)
{
    ResetSavedState();
    ASSERT_TRUE(PutFile(
        SavedColorsFile(),
        "[SavedColors]\r\nnColors=4000000000\r\nColor0=ff8000\r\nColor1=00ff00\r\nColor2=0000ff\r\n"));
    {
        Tintora app;
        ASSERT_TRUE(app.Start(false));
        ExpectRows(app, {0xFF8000, 0x00FF00, 0x0000FF});
        EXPECT_EQ(app.Send(app.Item(kNamedList), LB_GETCOUNT, 0, 0), 140);
        EXPECT_EQ(ControlText(app.Item(kHexEdit)).size(), 6u);
        ASSERT_TRUE(CloseAndWait(app));
    }
    EXPECT_EQ(IniLines(), "[SavedColors]|nColors=3|Color0=FF8000|Color1=00FF00|Color2=0000FF");
}

// ---- named colours ------------------------------------------------------------------------

TEST(NamedColors, FindSelectsTheNearestRowCopyTakesItsExactNameLoadLoadsTheRow)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(SetColor(app, 0x00FFFF));
    app.Click(kNamedFind);
    EXPECT_EQ_SOON(Selected(app, kNamedList), kAqua);

    EXPECT_TRUE(PutClipboardText(nullptr, "before"));
    app.Click(kNamedCopy);
    EXPECT_EQ_SOON(ClipboardText(), "Aqua");
    // Cyan has Aqua's colour, yet its row copies its own name.
    Select(app, kNamedList, kCyan);
    app.Click(kNamedCopy);
    EXPECT_EQ_SOON(ClipboardText(), "Cyan");
    Select(app, kNamedList, kAliceBlue);
    app.Click(kNamedCopy);
    EXPECT_EQ_SOON(ClipboardText(), "AliceBlue");

    Select(app, kNamedList, kFuchsia);
    app.Click(kNamedLoad);
    EXPECT_EQ_SOON(CurrentHex(app), "FF00FF");
    ExpectNoMessageBoxes(app);
}

TEST(NamedColors, WithNamedColorsLowerCaseStoredCopyGivesTheNameInLowerCase)
{
    ResetSavedState();
    WriteBinaryOption("NamedColorsLowerCase", 1);
    Tintora app;
    ASSERT_TRUE(app.Start(false));
    Select(app, kNamedList, kAliceBlue);
    EXPECT_TRUE(PutClipboardText(nullptr, "before"));
    app.Click(kNamedCopy);
    EXPECT_EQ_SOON(ClipboardText(), "aliceblue");
}

TEST(NamedColors, LoadAndCopyWithoutASelectionSayNoColorSelectedTheClipboardKeepsItsText)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(SetColor(app, 0x123456));
    EXPECT_TRUE(PutClipboardText(nullptr, "before"));
    Select(app, kNamedList, -1);
    app.Click(kNamedLoad);
    ExpectMessageBoxes(app, kNoColorSelected, 1);
    app.Click(kNamedCopy);
    ExpectMessageBoxes(app, kNoColorSelected, 1);
    EXPECT_EQ(ClipboardText(), "before");
    EXPECT_EQ(CurrentHex(app), "123456");
}

TEST(NamedColors, OnTheScreenTheExactRowsNameIsBoldAndTheNearestRowsItalic)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(ShowPanel(app));
    HWND list = app.Item(kNamedList);
    ASSERT_EQ(app.Send(list, LB_GETTOPINDEX, 0, 0), 0);
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
    EXPECT_GT(ink(plain), 20u);
    EXPECT_LT(ink(plain), static_cast<size_t>(plain.width * plain.height / 2));
    EXPECT_GT(ink(bold), ink(plain) * 11 / 10);
    EXPECT_NE(italic.data, plain.data);
    EXPECT_NE(italic.data, bold.data);
}

// ---- palette files -------------------------------------------------------------------------

namespace {

// A right click on the saved list, then `key` in its menu, then the system's box titled `title`
// given `path` and its OK; false (failure recorded) when a step does not come.
bool ThroughTheBox(Tintora& app, WORD key, const char* title, const std::string& path)
{
    if (!MoveTo(Centre(WindowRect(app.Item(kSavedList)))))
        return false;
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    SendMouse(MOUSEEVENTF_RIGHTUP);
    if (!CHECKED_SOON(ShownMenu(app.ProcessId()) != nullptr))
        return false;
    Key(key);
    HWND box = nullptr;
    if (!CHECKED_SOON((box = FindDialogTitled(app.ProcessId(), title)) != nullptr))
        return false;
    // The name field: the explorer style's combo box, or the older edit.
    HWND name = GetDlgItem(box, cmb13) ? GetDlgItem(box, cmb13) : GetDlgItem(box, edt1);
    app.Send(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    return CHECKED_SOON(!IsWindow(box));
}

}  // namespace

// Out through the save box as plain text, back in through the open box: the rows come again
// after the ones there, and a box says how many. The menu also makes a row the background.
TEST(SavedColors, ThePalettesOfTheListsMenuGoOutAndComeBackThroughTheSystemsBoxes)
{
    Tintora app;
    ASSERT_TRUE(StartWithSavedRows(app, {kA, kB, kC}));
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "tintora palette.txt";
    DeleteFileA(path.c_str());
    ASSERT_TRUE(ThroughTheBox(app, 'E', "Save As", path));
    std::string text;
    EXPECT_SOON(ReadWholeFile(path, &text));
    EXPECT_EQ(text, "#AA0000\r\n#00BB00\r\n#0000CC\r\n");

    ASSERT_TRUE(ThroughTheBox(app, 'I', "Open", path));
    ExpectMessageBoxes(app, "Imported 3 colors.", 1);
    EXPECT_TRUE(ExpectRows(app, {kA, kB, kC, kA, kB, kC}));

    // The menu's third item: the selected row as the background. 0000CC on white is 11.21:1, on
    // 00BB00 4.33:1.
    EXPECT_EQ(app.Text(kContrastRatio), "11.21:1");
    Select(app, kSavedList, 1);
    ASSERT_TRUE(MoveTo(Centre(WindowRect(app.Item(kSavedList)))));
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    SendMouse(MOUSEEVENTF_RIGHTUP);
    ASSERT_SOON(ShownMenu(app.ProcessId()) != nullptr);
    Key('B');
    EXPECT_EQ_SOON(app.Text(kContrastRatio), "4.33:1");
    MoveTo(POINT{0, 0});
    DeleteFileA(path.c_str());
}
