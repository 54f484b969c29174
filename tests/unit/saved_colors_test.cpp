// The saved colours: the INI file against real files, and list 430 of the real dialog driven
// through its commands and drag-list messages.
#include "lists/saved_colors.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "color/color_value.h"
#include "color/hex_text.h"
#include "lists/palette_io.h"
#include "lists/saved_colors_file.h"
#include "tests/unit/list_test_support.h"

using namespace liststest;

namespace {

typedef std::vector<uint32_t> RowList;
typedef std::vector<std::string> LineList;

// ---- the file ----------------------------------------------------------------------------

class SavedColorsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH] = "";
        ASSERT_NE(0u, GetTempPathA(MAX_PATH, temp));
        folder = std::string(temp) + "tintora-saved-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        file = folder + "\\colors.ini";
        DeleteFileA(file.c_str());
    }

    void TearDown() override
    {
        DeleteFileA(file.c_str());
        RemoveDirectoryA(folder.c_str());
    }

    // The file's colours into `rows`, and `rows` into the file.
    void Load()
    {
        HeapBlock<uint32_t> colors;
        const size_t count = ReadSavedColorsFile(file.c_str(), &colors);
        rows.assign(colors.Data(), colors.Data() + count);
    }
    void Save() { WriteSavedColorsFile(file.c_str(), rows.data(), rows.size()); }
    LineList FileLines() { return NonEmptyLines(ReadTextFile(file)); }
    std::string Value(const char* section, const char* key)
    {
        char text[64] = "";
        GetPrivateProfileStringA(section, key, "(none)", text, sizeof(text), file.c_str());
        return text;
    }

    std::string folder;
    std::string file;
    RowList rows;
};

TEST_F(SavedColorsFileTest, KeysMissingBelowTheCountLoadBlackAndAreWrittenBackUpperCase)
{
    WriteTextFile(file, "[SavedColors]\r\nnColors=3\r\nColor0=ff8000\r\n");
    Load();
    EXPECT_EQ((RowList{0xFF8000, 0x000000, 0x000000}), rows);

    Save();
    EXPECT_EQ((LineList{"[SavedColors]", "nColors=3", "Color0=FF8000", "Color1=000000", "Color2=000000"}),
              FileLines());
}

TEST_F(SavedColorsFileTest, ValuesThatAreNotOneToSixHexDigitsAreSkipped)
{
    WriteTextFile(file, "[SavedColors]\r\nnColors=7\r\nColor0=#123456\r\nColor1=\r\nColor2=1234567\r\n"
                        "Color3=FFF\r\nColor4=abCDef\r\nColor5=12 34\r\nColor6=0\r\n");
    Load();
    // Three digits are a plain number: FFF is blue and green's low half.
    EXPECT_EQ((RowList{0x000FFF, 0xABCDEF, 0x000000}), rows);
}

TEST_F(SavedColorsFileTest, WithoutAFileTheListIsEmptyAndSavingWritesACountOfZero)
{
    Load();
    EXPECT_TRUE(rows.empty());
    Save();
    EXPECT_EQ((LineList{"[SavedColors]", "nColors=0"}), FileLines());
}

TEST_F(SavedColorsFileTest, ANewFileHoldsTheCountThenOneKeyPerRowAndLoadsBackTheSame)
{
    rows = {0xFF0000, 0x00FF00, 0x0000FF};
    Save();
    EXPECT_EQ((LineList{"[SavedColors]", "nColors=3", "Color0=FF0000", "Color1=00FF00", "Color2=0000FF"}),
              FileLines());

    rows.clear();
    Load();
    EXPECT_EQ((RowList{0xFF0000, 0x00FF00, 0x0000FF}), rows);
}

TEST_F(SavedColorsFileTest, KeysOfALongerEarlierListAndOtherSectionsStayInTheFile)
{
    WriteTextFile(file, "[Window]\r\nx=1\r\n[SavedColors]\r\nnColors=4\r\nColor0=111111\r\nColor1=222222\r\n"
                        "Color2=333333\r\nColor3=444444\r\nExtra=yes\r\n");
    rows = {0xABCDEF, 0x000001};
    Save();

    EXPECT_EQ("2", Value("SavedColors", "nColors"));
    EXPECT_EQ("ABCDEF", Value("SavedColors", "Color0"));
    EXPECT_EQ("000001", Value("SavedColors", "Color1"));
    EXPECT_EQ("333333", Value("SavedColors", "Color2"));
    EXPECT_EQ("444444", Value("SavedColors", "Color3"));
    EXPECT_EQ("yes", Value("SavedColors", "Extra"));
    EXPECT_EQ("1", Value("Window", "x"));

    // The count decides: the old keys are not loaded again.
    rows.clear();
    Load();
    EXPECT_EQ((RowList{0xABCDEF, 0x000001}), rows);
}

// The section is read and written in one go; the rows and the file must come out as the
// profile functions give and leave them key by key.
const char kOddSection[] = "[Before]\r\nColor0=111111\r\n"
                           "[SavedColors]\r\nColor2 = \"00ff00\"\r\ncolor0=ff0000\r\nColor01=ABCDEF\r\n"
                           "Color0=0000ff\r\nnColors=5\r\nColor3='fff'\r\nColor4=\"12\r\nExtra=yes\r\n"
                           "[After]\r\nnColors=9\r\n";

// The rows a key-by-key read with GetPrivateProfileString gives, "000000" for a missing key.
RowList KeyByKeyRows(const std::string& file)
{
    RowList rows;
    const UINT count = GetPrivateProfileIntA("SavedColors", "nColors", 0, file.c_str());
    for (UINT i = 0; i < count; ++i) {
        char key[16], value[50];
        snprintf(key, sizeof(key), "Color%u", i);
        GetPrivateProfileStringA("SavedColors", key, "000000", value, sizeof(value), file.c_str());
        ColorValue color;
        color.Reset();
        if (ParseHex(color, value))
            rows.push_back(color.GetRgb());
    }
    return rows;
}

TEST_F(SavedColorsFileTest, LoadingGivesTheRowsTheProfileFunctionsReadKeyByKey)
{
    WriteTextFile(file, kOddSection);
    ASSERT_EQ(5u, GetPrivateProfileIntA("SavedColors", "nColors", 0, file.c_str()));
    Load();
    EXPECT_EQ(KeyByKeyRows(file), rows);
    // What the profile functions make of it here: the first "Color0" in any case, quotes dropped.
    EXPECT_EQ((RowList{0xFF0000, 0x000000, 0x00FF00, 0x000FFF}), rows);

    // A key written without "=" has no value: read as the default, a black row, not left out.
    rows.clear();
    WriteTextFile(file, "[SavedColors]\r\nnColors=3\r\nColor0=FF0000\r\nColor1\r\nColor2=0000FF\r\n");
    Load();
    EXPECT_EQ(KeyByKeyRows(file), rows);
    EXPECT_EQ((RowList{0xFF0000, 0x000000, 0x0000FF}), rows);
}

TEST_F(SavedColorsFileTest, SavingLeavesTheFileAsWritingKeyByKeyWould)
{
    const std::string reference = folder + "\\reference.ini";
    for (const RowList& saved :
         {RowList{0x123456, 0xABCDEF, 0x000001, 0xFEDCBA, 0x00FF00, 0xFF0000, 0x7F7F7F}, RowList{0x123456},
          RowList{}}) {
        SCOPED_TRACE(saved.size());
        WriteTextFile(file, kOddSection);
        WriteTextFile(reference, kOddSection);
        rows = saved;
        Save();

        WritePrivateProfileStringA("SavedColors", "nColors", std::to_string(saved.size()).c_str(),
                                   reference.c_str());
        for (size_t i = 0; i < saved.size(); ++i) {
            char key[16], value[8];
            snprintf(key, sizeof(key), "Color%u", static_cast<unsigned>(i));
            snprintf(value, sizeof(value), "%06X", saved[i]);
            WritePrivateProfileStringA("SavedColors", key, value, reference.c_str());
        }
        EXPECT_EQ(ReadTextFile(reference), ReadTextFile(file));
        // And what was saved loads back as it was.
        rows.clear();
        Load();
        EXPECT_EQ(saved, rows);
    }
    DeleteFileA(reference.c_str());
}

TEST_F(SavedColorsFileTest, KeysWithoutAValueLoadBlackAndASaveLoadsBackAsSaved)
{
    // Lines without "=" are no keys to the profile functions (a save drops them, as it drops
    // comments); the rows they stood for read as black, and nothing else is disturbed.
    WriteTextFile(file, "[SavedColors]\r\nColor1\r\nnColors=3\r\nColor0=FF0000\r\nNote\r\n"
                        "Color2=0000FF\r\n[After]\r\nx=1\r\n");
    Load();
    EXPECT_EQ((RowList{0xFF0000, 0x000000, 0x0000FF}), rows);

    const RowList saved = {0x123456, 0xABCDEF, 0x000001, 0xFEDCBA};
    rows = saved;
    Save();
    rows.clear();
    Load();
    EXPECT_EQ(saved, rows);
    EXPECT_EQ("1", Value("After", "x"));
}

TEST_F(SavedColorsFileTest, ADamagedCountGivesWayToTheKeysTheSectionHolds)
{
    const RowList held = {0x123456, 0x000000, 0xABCDEF, 0x000000, 0x000000, 0x000000, 0x000000, 0xFEDCBA};
    for (const char* count : {"4000000000", "-1", "2147483647", "99999", "32768", "abc", "12a", "", "+3"}) {
        SCOPED_TRACE(count);
        WriteTextFile(file, std::string("[SavedColors]\r\nColor0=123456\r\nnColors=") + count +
                                "\r\nColor2=abcdef\r\nColor7=fedcba\r\nColorX=111111\r\n");
        rows.clear();
        Load();
        EXPECT_EQ(held, rows);
        // The damage does not outlive a save.
        Save();
        EXPECT_EQ("8", Value("SavedColors", "nColors"));
    }
}

TEST_F(SavedColorsFileTest, ASoundCountIsTakenAsWrittenUpToTheMostAListBoxHolds)
{
    // Below the keys present: only that many; quoted and with leading zeros: still a number.
    for (const char* count : {"2", "\"2\"", "002"}) {
        SCOPED_TRACE(count);
        WriteTextFile(file, std::string("[SavedColors]\r\nnColors=") + count +
                                "\r\nColor0=ff0000\r\nColor5=00ff00\r\n");
        rows.clear();
        Load();
        EXPECT_EQ((RowList{0xFF0000, 0x000000}), rows);
    }
    // No count, or one without a value: nothing was saved.
    for (const char* countLine : {"", "nColors\r\n"}) {
        WriteTextFile(file, std::string("[SavedColors]\r\n") + countLine + "Color0=ff0000\r\n");
        rows.clear();
        Load();
        EXPECT_EQ(RowList(), rows) << countLine;
    }

    // The largest count: every row, black where no key is.
    WriteTextFile(file, "[SavedColors]\r\nnColors=32767\r\nColor0=123456\r\nColor32766=abcdef\r\n"
                        "Color32767=fedcba\r\n");
    rows.clear();
    Load();
    ASSERT_EQ(static_cast<size_t>(SAVED_COLORS_MAX), rows.size());
    EXPECT_EQ(0x123456u, rows[0]);
    EXPECT_EQ(0u, rows[1]);
    EXPECT_EQ(0xABCDEFu, rows[32766]);

    // A damaged count with keys past the largest count still stops there.
    WriteTextFile(file, "[SavedColors]\r\nnColors=-1\r\nColor0=123456\r\nColor40000=abcdef\r\n");
    rows.clear();
    Load();
    EXPECT_EQ(static_cast<size_t>(SAVED_COLORS_MAX), rows.size());
}

// ---- the dialog: start and end -------------------------------------------------------------

typedef ListDialogTest SavedListTest;

TEST_F(SavedListTest, TheStartLoadsTheUsersFileAndTheEndWritesItBack)
{
    Destroy();
    WriteTextFile(StoredColorsFile(), "[SavedColors]\r\nnColors=2\r\nColor0=ff0000\r\nColor1=00ff00\r\n");
    Create();
    EXPECT_EQ((RowList{0xFF0000, 0x00FF00}), Rows(saved));

    SetCurrent(0x123abc);
    Click(IDC_SAVED_ADD);
    Destroy();
    EXPECT_EQ((LineList{"[SavedColors]", "nColors=3", "Color0=FF0000", "Color1=00FF00", "Color2=123ABC"}),
              NonEmptyLines(ReadTextFile(StoredColorsFile())));
}

TEST_F(SavedListTest, WithoutAFileTheListStartsEmptyAndTheEndCreatesOneWithACountOfZero)
{
    EXPECT_EQ(0, SendMessageA(saved, LB_GETCOUNT, 0, 0));
    Destroy();
    EXPECT_EQ((LineList{"[SavedColors]", "nColors=0"}), NonEmptyLines(ReadTextFile(StoredColorsFile())));
}

TEST_F(SavedListTest, ADamagedCountInTheFileStartsWithTheColoursItHolds)
{
    Destroy();
    WriteTextFile(
        StoredColorsFile(),
        "[SavedColors]\r\nnColors=4000000000\r\nColor0=ff8000\r\nColor1=00ff00\r\nColor2=0000ff\r\n");
    Create();
    EXPECT_EQ((RowList{0xFF8000, 0x00FF00, 0x0000FF}), Rows(saved));
    // The steps after the load ran: the named list is filled and the first redraw wrote the fields.
    EXPECT_EQ(140, SendMessageA(named, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(6u, HexField().size());

    Destroy();
    EXPECT_EQ((LineList{"[SavedColors]", "nColors=3", "Color0=FF8000", "Color1=00FF00", "Color2=0000FF"}),
              NonEmptyLines(ReadTextFile(StoredColorsFile())));
}

// ---- commands ----------------------------------------------------------------------------

TEST_F(SavedListTest, AddPutsTheCurrentColorAfterTheSelectedRowOrAtTheEndAndSelectsIt)
{
    SetCurrent(0x111111);
    Click(IDC_SAVED_ADD);
    EXPECT_EQ((RowList{0x111111}), Rows(saved));
    EXPECT_EQ(0, Selected(saved));

    SetCurrent(0x222222);
    Select(saved, -1);
    Click(IDC_SAVED_ADD);
    EXPECT_EQ((RowList{0x111111, 0x222222}), Rows(saved));
    EXPECT_EQ(1, Selected(saved));

    SetCurrent(0x333333);
    Select(saved, 0);
    Click(IDC_SAVED_ADD);
    EXPECT_EQ((RowList{0x111111, 0x333333, 0x222222}), Rows(saved));
    EXPECT_EQ(1, Selected(saved));
}

TEST_F(SavedListTest, DeleteSelectsTheRowThatTakesTheDeletedOnesPlace)
{
    SetRows(saved, {0xA, 0xB, 0xC});
    Select(saved, 1);
    Click(IDC_SAVED_DELETE);
    EXPECT_EQ((RowList{0xA, 0xC}), Rows(saved));
    EXPECT_EQ(1, Selected(saved));

    // The last row: the new last row is selected.
    Click(IDC_SAVED_DELETE);
    EXPECT_EQ((RowList{0xA}), Rows(saved));
    EXPECT_EQ(0, Selected(saved));

    // The only row: nothing is left to select.
    Click(IDC_SAVED_DELETE);
    EXPECT_EQ(0, SendMessageA(saved, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(LB_ERR, Selected(saved));
}

TEST_F(SavedListTest, OverwriteReplacesTheSelectedRowsColor)
{
    SetRows(saved, {0xA, 0xB, 0xC});
    Select(saved, 1);
    SetCurrent(0x00FF80);
    Click(IDC_SAVED_OVERWRITE);
    EXPECT_EQ((RowList{0xA, 0x00FF80, 0xC}), Rows(saved));
    EXPECT_EQ(1, Selected(saved));
}

TEST_F(SavedListTest, LoadAndDoubleClickMakeTheSelectedRowTheCurrentColor)
{
    SetRows(saved, {0x123456, 0xFEDCBA});
    SetCurrent(0xFFFFFF);
    Select(saved, 0);
    Click(IDC_SAVED_LOAD);
    EXPECT_EQ(0x123456u, state->currentColor.GetRgb());
    // The full redraw ran: the fields show the loaded colour.
    EXPECT_EQ("123456", HexField());

    Select(saved, 1);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SAVED_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(saved));
    EXPECT_EQ(0xFEDCBAu, state->currentColor.GetRgb());
    EXPECT_EQ(6u, HexField().size());
}

TEST_F(SavedListTest, WithoutASelectionDeleteOverwriteLoadAndDoubleClickSayNoColorSelected)
{
    SetRows(saved, {0xA, 0xB});
    SetCurrent(0x445566);
    MessageBoxCatcher catcher;
    for (int id : {IDC_SAVED_DELETE, IDC_SAVED_OVERWRITE, IDC_SAVED_LOAD}) {
        SCOPED_TRACE(id);
        Click(id);
        ExpectOneBox(catcher, "No color selected.", IDI_EXCLAMATION);
    }
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SAVED_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(saved));
    ExpectOneBox(catcher, "No color selected.", IDI_EXCLAMATION);

    EXPECT_EQ((RowList{0xA, 0xB}), Rows(saved));
    EXPECT_EQ(0x445566u, state->currentColor.GetRgb());
}

// A list box that refuses new rows, as one that is full or out of memory does.
LRESULT CALLBACK RefusingListProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    auto original = reinterpret_cast<WNDPROC>(GetPropA(window, "original"));
    if (message == LB_INSERTSTRING || message == LB_ADDSTRING)
        return LB_ERRSPACE;
    return CallWindowProcA(original, window, message, wparam, lparam);
}

TEST_F(SavedListTest, AddThatTheListRefusesSaysCannotAddAndChangesNothing)
{
    SetRows(saved, {0xA});
    Select(saved, 0);
    SetPropA(saved, "original", reinterpret_cast<HANDLE>(GetWindowLongPtrA(saved, GWLP_WNDPROC)));
    SetWindowLongPtrA(saved, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingListProc));

    MessageBoxCatcher catcher;
    Click(IDC_SAVED_ADD);
    ExpectOneBox(catcher, "Cannot add color to list.", IDI_EXCLAMATION);
    EXPECT_EQ((RowList{0xA}), Rows(saved));
    EXPECT_EQ(0, Selected(saved));

    SetWindowLongPtrA(saved, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropA(saved, "original")));
    RemovePropA(saved, "original");
}

// ---- the drag list -----------------------------------------------------------------------

// ---- palette files ------------------------------------------------------------------------

// A drop as the shell hands one over: DROPFILES, then each path with its NUL, and one more NUL.
HDROP MakeDrop(POINT at, const std::vector<std::string>& paths)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths)
        size += path.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = at;
    char* names = reinterpret_cast<char*>(drop + 1);
    for (const std::string& path : paths) {
        memcpy(names, path.c_str(), path.size() + 1);
        names += path.size() + 1;
    }
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

std::string TempPath(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

// Files dropped on the saved list are appended in order, and one box says what came of them
// all; dropped anywhere else on the window they are left alone.
TEST_F(SavedListTest, FilesDroppedOnTheListAreImportedAndOneBoxSaysWhatCameOfThem)
{
    const std::string gpl = TempPath("drop test.gpl"), txt = TempPath("drop test.txt"),
                      ase = TempPath("drop test.ase"), other = TempPath("drop test.doc");
    WriteTextFile(gpl, "GIMP Palette\nName: Test\n# a comment\n255   0   0\tRed\n  0 128 255\tSky\n1 2\n");
    WriteTextFile(txt, "#00ff00\r\n; skipped\r\nnot a colour\r\n\r\nrgb(1, 2, 3)\r\n");
    WriteTextFile(ase, "ASEF but not really");
    WriteTextFile(other, "#123456\n");
    SetRows(saved, {0xABCDEF});
    MessageBoxCatcher boxes;

    RECT field;
    GetWindowRect(GetDlgItem(dialog, IDC_FIELD), &field);
    POINT onField = {field.left + 5, field.top + 5};
    ScreenToClient(dialog, &onField);
    SendMessageA(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(onField, {gpl})), 0);
    EXPECT_EQ((RowList{0xABCDEF}), Rows(saved));
    EXPECT_TRUE(boxes.Take().empty());

    RECT list;
    GetWindowRect(saved, &list);
    POINT onList = {(list.left + list.right) / 2, (list.top + list.bottom) / 2};
    ScreenToClient(dialog, &onList);
    SendMessageA(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(onList, {gpl, txt, ase, other})), 0);
    EXPECT_EQ((RowList{0xABCDEF, 0xFF0000, 0x0080FF, 0x00FF00, 0x010203}), Rows(saved));
    ExpectOneBox(
        boxes,
        "Imported 4 colors. 2 lines were not colors.\r\nCannot read the palette file \"drop test.ase\"."
        "\r\nCannot read the palette file \"drop test.doc\".",
        IDI_EXCLAMATION);

    // A list with room for one more: the rest is counted, not added.
    std::vector<uint32_t> full(SAVED_COLORS_MAX - 1, 0x111111);
    SetRows(saved, full);
    SendMessageA(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(onList, {gpl})), 0);
    EXPECT_EQ(SAVED_COLORS_MAX, SendMessageA(saved, LB_GETCOUNT, 0, 0));
    ExpectOneBox(boxes, "Imported 1 color. 1 line was not a color. 1 color did not fit.", IDI_INFORMATION);
    for (const std::string& path : {gpl, txt, ase, other})
        DeleteFileA(path.c_str());
}

// The whole list goes out in the format the name's extension says, in place of what the file
// held; a folder that is not there gets nothing, and no file is left half written.
TEST_F(SavedListTest, ExportWritesTheWholeListInTheFormatItsNameSays)
{
    const std::string txt = TempPath("export test.txt");
    WriteTextFile(txt, "an older, longer file that the export replaces whole\r\n");
    SetRows(saved, {0xFF8000, 0x00A0FF});
    state->options.Assign(HexUpperCase, false);
    state->options.Assign(UseHexPrefix, true);
    ASSERT_TRUE(ExportPaletteFile(state, txt.c_str()));
    EXPECT_EQ("#ff8000\r\n#00a0ff\r\n", ReadTextFile(txt));

    const std::string gpl = TempPath("export test.gpl");
    ASSERT_TRUE(ExportPaletteFile(state, gpl.c_str()));
    EXPECT_EQ(0u, ReadTextFile(gpl).find("GIMP Palette\n"));
    EXPECT_NE(std::string::npos, ReadTextFile(gpl).find("255 128   0\tFF8000\n"));

    EXPECT_FALSE(ExportPaletteFile(state, TempPath("no such folder\\x.gpl").c_str()));
    EXPECT_FALSE(ExportPaletteFile(state, TempPath("export test.doc").c_str()));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(TempPath("tin*.tmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << "a temporary file was left: " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    DeleteFileA(txt.c_str());
    DeleteFileA(gpl.c_str());
}

class SavedDragTest : public ListDialogTest {
protected:
    void SetUp() override
    {
        ListDialogTest::SetUp();
        SetRows(saved, {kA, kB, kC, kD});
    }

    void TearDown() override
    {
        HoldCtrl(false);
        ListDialogTest::TearDown();
    }

    // The thread's own key state is what the dialog asks while it handles a drag message.
    void HoldCtrl(bool held)
    {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = held ? 0x80 : 0;
        SetKeyboardState(keys);
    }

    POINT RowPoint(int row)
    {
        RECT r = {};
        SendMessageA(saved, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
        POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(saved, &p);
        return p;
    }

    // Inside the list, below its last row.
    POINT BelowLastRow()
    {
        RECT client;
        GetClientRect(saved, &client);
        POINT p = {client.right / 2, client.bottom - 3};
        ClientToScreen(saved, &p);
        return p;
    }

    // A drag begins on the input that pressed: as the drag list reports it, the position of the
    // message being handled is the press.
    LRESULT Notify(UINT code, POINT screen, WPARAM id = IDC_SAVED_LIST)
    {
        if (code == DL_BEGINDRAG)
            TakeMessageAt(screen);
        DRAGLISTINFO info = {code, saved, screen};
        return SendMessageA(dialog, state->savedList.dragListMessage, id, reinterpret_cast<LPARAM>(&info));
    }

    void Drag(POINT from, POINT to)
    {
        EXPECT_EQ(TRUE, Notify(DL_BEGINDRAG, from));
        Notify(DL_DRAGGING, to);
        Notify(DL_DROPPED, to);
    }

    static constexpr uint32_t kA = 0xAAAAAA, kB = 0xBBBBBB, kC = 0xCCCCCC, kD = 0xDDDDDD;
};

TEST_F(SavedDragTest, APressOnTheListStartsADragThroughTheRegisteredMessage)
{
    EXPECT_NE(0u, state->savedList.dragListMessage);
    EXPECT_EQ(RegisterWindowMessageA("commctrl_DragListMsg"), state->savedList.dragListMessage);

    // The press on row 2 is taken only once the cursor has gone on to row 0: the drag still
    // begins on row 2.
    POINT row2 = RowPoint(2), row0 = RowPoint(0);
    SetCursorPos(row2.x, row2.y);
    POINT inList = row2;
    ScreenToClient(saved, &inList);
    PostMessageA(saved, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inList.x, inList.y));
    SetCursorPos(row0.x, row0.y);
    MSG msg;
    while (PeekMessageA(&msg, saved, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE))
        DispatchMessageA(&msg);
    EXPECT_EQ(2, state->savedList.dragSourceIndex);
    EXPECT_EQ(saved, GetCapture());
    SetCursorPos(row2.x, row2.y);
    SendMessageA(saved, WM_LBUTTONUP, 0, MAKELPARAM(inList.x, inList.y));
    EXPECT_EQ(-1, state->savedList.dragSourceIndex);
    EXPECT_EQ((RowList{kA, kB, kC, kD}), Rows(saved));
}

TEST_F(SavedDragTest, DroppingMovesTheRowBeforeTheRowUnderTheCursor)
{
    Drag(RowPoint(0), RowPoint(2));
    EXPECT_EQ((RowList{kB, kA, kC, kD}), Rows(saved));
    EXPECT_EQ(1, Selected(saved));

    SetRows(saved, {kA, kB, kC, kD});
    Drag(RowPoint(3), RowPoint(1));
    EXPECT_EQ((RowList{kA, kD, kB, kC}), Rows(saved));
    EXPECT_EQ(1, Selected(saved));
}

TEST_F(SavedDragTest, DroppingWithCtrlHeldCopiesTheRow)
{
    HoldCtrl(true);
    Drag(RowPoint(0), RowPoint(2));
    EXPECT_EQ((RowList{kA, kB, kA, kC, kD}), Rows(saved));
    EXPECT_EQ(2, Selected(saved));
}

TEST_F(SavedDragTest, DropsOntoItselfOrWhereThereIsNoRowChangeNothing)
{
    Select(saved, 3);
    Drag(RowPoint(1), RowPoint(1));
    Drag(RowPoint(1), BelowLastRow());
    // A drag that began below the last row has no source.
    Drag(BelowLastRow(), RowPoint(1));
    EXPECT_EQ((RowList{kA, kB, kC, kD}), Rows(saved));
    EXPECT_EQ(3, Selected(saved));
}

TEST_F(SavedDragTest, DraggingAnswersWithTheCursorToShow)
{
    EXPECT_EQ(TRUE, Notify(DL_BEGINDRAG, RowPoint(0)));
    EXPECT_EQ(DL_MOVECURSOR, Notify(DL_DRAGGING, RowPoint(2)));
    HoldCtrl(true);
    EXPECT_EQ(DL_COPYCURSOR, Notify(DL_DRAGGING, RowPoint(2)));
    EXPECT_EQ(DL_STOPCURSOR, Notify(DL_DRAGGING, BelowLastRow()));
    EXPECT_EQ(TRUE, Notify(DL_CANCELDRAG, RowPoint(2)));
    EXPECT_EQ((RowList{kA, kB, kC, kD}), Rows(saved));
}

TEST_F(SavedDragTest, TheMessageForAnotherControlIsNotTakenAsADrag)
{
    EXPECT_EQ(FALSE, Notify(DL_BEGINDRAG, RowPoint(0), IDC_NAMED_LIST));
    Notify(DL_DROPPED, RowPoint(2), IDC_NAMED_LIST);
    EXPECT_EQ((RowList{kA, kB, kC, kD}), Rows(saved));
}

TEST_F(SavedDragTest, HoldingTheCursorBelowTheListScrollsIt)
{
    RowList many;
    for (uint32_t i = 0; i < 40; ++i)
        many.push_back(i);
    SetRows(saved, many);
    SendMessageA(saved, LB_SETTOPINDEX, 10, 0);
    ASSERT_EQ(10, SendMessageA(saved, LB_GETTOPINDEX, 0, 0));

    RECT client;
    GetClientRect(saved, &client);
    POINT below = {client.right / 2, client.bottom + 5};
    ClientToScreen(saved, &below);
    EXPECT_EQ(TRUE, Notify(DL_BEGINDRAG, RowPoint(10)));
    // The list scrolls at most once in a short period; the first try may fall inside it. The
    // pause is part of the input: a hand holding the cursor below the list.
    Sleep(300);  // part of the input, as said above
    EXPECT_EQ(DL_STOPCURSOR, Notify(DL_DRAGGING, below));
    EXPECT_EQ(11, SendMessageA(saved, LB_GETTOPINDEX, 0, 0));
    Notify(DL_CANCELDRAG, below);
}

// ---- drawing a row -----------------------------------------------------------------------

class SavedRowDrawingTest : public ListDialogTest {
protected:
    // Draws one row through the dialog procedure, as the list box asks for it.
    void Draw(Canvas& canvas, int row, uint32_t rgb, UINT itemState)
    {
        HGDIOBJ old =
            SelectObject(canvas.Dc(), reinterpret_cast<HFONT>(SendMessageA(saved, WM_GETFONT, 0, 0)));
        DRAWITEMSTRUCT item = RowItem(saved, canvas.Dc(), row, rgb, itemState, kRow);
        EXPECT_EQ(FALSE,
                  MainDialogProc(dialog, WM_DRAWITEM, IDC_SAVED_LIST, reinterpret_cast<LPARAM>(&item)));
        SelectObject(canvas.Dc(), old);
    }

    // The hex text as it should stand: from the row's top, 24 pixels in, in the row's colours.
    std::vector<uint32_t> Expected(const char* text, int textColor, int backColor)
    {
        Canvas reference(kRow.right, kRow.bottom, GetSysColor(backColor));
        HGDIOBJ old =
            SelectObject(reference.Dc(), reinterpret_cast<HFONT>(SendMessageA(saved, WM_GETFONT, 0, 0)));
        SetTextColor(reference.Dc(), GetSysColor(textColor));
        SetBkColor(reference.Dc(), GetSysColor(backColor));
        RECT area = {24, 1, kRow.right, kRow.bottom - 1};
        DrawTextA(reference.Dc(), text, -1, &area, DT_LEFT | DT_TOP);
        SelectObject(reference.Dc(), old);
        return reference.Area(kTextArea);
    }

    void ExpectSwatch(const Canvas& canvas, COLORREF frame, COLORREF fill, COLORREF background)
    {
        // Background around the swatch: above, below, left and right of it.
        for (POINT p : {POINT{1, 8}, POINT{2, 0}, POINT{2, 15}, POINT{22, 8}, POINT{23, 0}})
            EXPECT_EQ(background, canvas.At(p.x, p.y)) << p.x << "," << p.y;
        // A one-pixel frame from (2, 1) to (21, 14).
        for (POINT p : {POINT{2, 1}, POINT{21, 1}, POINT{2, 14}, POINT{21, 14}, POINT{2, 8}, POINT{21, 8},
                        POINT{11, 1}})
            EXPECT_EQ(frame, canvas.At(p.x, p.y)) << p.x << "," << p.y;
        for (POINT p : {POINT{3, 2}, POINT{20, 13}, POINT{11, 8}})
            EXPECT_EQ(fill, canvas.At(p.x, p.y)) << p.x << "," << p.y;
    }

    const RECT kRow = {0, 0, 100, 16};
    const RECT kTextArea = {22, 0, 100, 16};
    const COLORREF kUntouched = RGB(1, 2, 3);
};

TEST_F(SavedRowDrawingTest, ARowIsAFramedSwatchAndTheHexTextInTheOptionsCase)
{
    Canvas canvas(kRow.right, kRow.bottom, kUntouched);
    state->options.Assign(HexUpperCase, true);
    Draw(canvas, 0, 0xFF8000, 0);
    ExpectSwatch(canvas, GetSysColor(COLOR_WINDOWTEXT), RGB(0xFF, 0x80, 0x00), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(Expected("FF8000", COLOR_WINDOWTEXT, COLOR_WINDOW), canvas.Area(kTextArea));

    state->options.Assign(HexUpperCase, false);
    Draw(canvas, 0, 0xFF8000, 0);
    EXPECT_EQ(Expected("ff8000", COLOR_WINDOWTEXT, COLOR_WINDOW), canvas.Area(kTextArea));
}

TEST_F(SavedRowDrawingTest, ASelectedRowUsesTheHighlightColors)
{
    Canvas canvas(kRow.right, kRow.bottom, kUntouched);
    state->options.Assign(HexUpperCase, true);
    Draw(canvas, 2, 0x0080FF, ODS_SELECTED | ODS_FOCUS);
    ExpectSwatch(canvas, GetSysColor(COLOR_HIGHLIGHTTEXT), RGB(0x00, 0x80, 0xFF),
                 GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(Expected("0080FF", COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT), canvas.Area(kTextArea));
}

TEST_F(SavedRowDrawingTest, NoRowDrawsNothing)
{
    Canvas canvas(kRow.right, kRow.bottom, kUntouched);
    Draw(canvas, -1, 0xFF8000, ODS_FOCUS);
    EXPECT_EQ(std::vector<uint32_t>(kRow.right * kRow.bottom, 0x010203), canvas.Area(kRow));
}

}  // namespace
