// The named colours: list 437 of the real dialog, its commands, and how its rows are drawn.
#include "lists/named_list.h"

#include <map>
#include <string>
#include <vector>

#include "color/named_colors.h"
#include "tests/shared/clipboard_text.h"
#include "tests/unit/list_test_support.h"

using namespace liststest;

namespace {

const int kAliceBlue = 0, kAqua = 2, kCyan = 20, kFuchsia = 45, kMagenta = 79;

typedef ListDialogTest NamedListTest;

// ---- rows and commands -------------------------------------------------------------------

TEST_F(NamedListTest, AColourChangeAsksToRepaintOnlyTheRowsThatLoseOrGainTheMark)
{
    ShowWindow(dialog, SW_SHOW);
    SendMessageA(named, LB_SETTOPINDEX, 0, 0);
    SetCurrent(0xF0F8FF);  // AliceBlue, row 0
    UpdateWindow(dialog);
    // Which visible rows the list is asked to repaint when the mark is brought up to date.
    auto invalidated = [&](uint32_t rgb) {
        state->currentColor.SetRgb(rgb);
        UpdateNamedListMark(state, &state->namedMark);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        GetUpdateRgn(named, region, FALSE);
        std::vector<int> rows;
        for (int row = 0; row < NAMED_COLOR_COUNT; ++row) {
            RECT r;
            if (SendMessageA(named, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r)) != LB_ERR &&
                PtInRegion(region, r.left + 1, (r.top + r.bottom) / 2))
                rows.push_back(row);
        }
        DeleteObject(region);
        ValidateRect(named, nullptr);
        return rows;
    };
    EXPECT_EQ((std::vector<int>{0, 1}), invalidated(0xFAEBD7));  // to AntiqueWhite
    // Aqua and Cyan have one colour; Cyan's row is scrolled out of sight.
    EXPECT_EQ((std::vector<int>{1, kAqua}), invalidated(0x00FFFF));
    EXPECT_EQ((std::vector<int>{kAqua}), invalidated(0x00FFFE)) << "bold turns italic";
    EXPECT_EQ(std::vector<int>(), invalidated(0x00FFFD)) << "the mark stays as it is";
}

TEST_F(NamedListTest, HoldsOneRowPerTableEntryInTableOrder)
{
    ASSERT_EQ(NAMED_COLOR_COUNT, SendMessageA(named, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < NAMED_COLOR_COUNT; ++i)
        EXPECT_EQ(NamedColorTable[i].value, static_cast<uint32_t>(SendMessageA(named, LB_GETITEMDATA, i, 0)))
            << i;
}

TEST_F(NamedListTest, ScrollsSidewaysFarEnoughForTheLongestNameInBold)
{
    // The longest name, measured in the list's own font made bold, as a marked row draws it.
    HDC dc = GetDC(named);
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(named, WM_GETFONT, 0, 0)), sizeof(font), &font);
    font.lfWeight = FW_BOLD;
    HFONT bold = CreateFontIndirectA(&font);
    HGDIOBJ old = SelectObject(dc, bold);
    SIZE longest = {};
    const char* name = "LightGoldenrodYellow";
    GetTextExtentPoint32A(dc, name, lstrlenA(name), &longest);
    SelectObject(dc, old);
    DeleteObject(bold);
    ReleaseDC(named, dc);

    RECT client;
    GetClientRect(named, &client);
    const LRESULT extent = SendMessageA(named, LB_GETHORIZONTALEXTENT, 0, 0);
    EXPECT_GT(extent, client.right) << "the name does not fit, so the list must scroll";
    EXPECT_GE(extent, 24 + longest.cx);
    EXPECT_LE(extent, 24 + longest.cx + 8) << "no scrolling past the end of the names";
}

TEST_F(NamedListTest, LoadAndDoubleClickMakeTheSelectedRowTheCurrentColor)
{
    SetCurrent(0x000000);
    Select(named, kAliceBlue);
    Click(IDC_NAMED_LOAD);
    EXPECT_EQ(0xF0F8FFu, state->currentColor.GetRgb());
    EXPECT_EQ(0, lstrcmpiA("F0F8FF", HexField().c_str())) << HexField();

    Select(named, kFuchsia);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_NAMED_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(named));
    EXPECT_EQ(0xFF00FFu, state->currentColor.GetRgb());
}

TEST_F(NamedListTest, FindSelectsTheNearestRowAndTheFirstOfEqualOnes)
{
    SetCurrent(0x00FFFF);
    Click(IDC_NAMED_FIND);
    EXPECT_EQ(kAqua, Selected(named));

    SetCurrent(0xF0F8FE);
    Click(IDC_NAMED_FIND);
    EXPECT_EQ(kAliceBlue, Selected(named));
    // The current colour itself is left alone.
    EXPECT_EQ(0xF0F8FEu, state->currentColor.GetRgb());
}

TEST_F(NamedListTest, CopyPutsTheRowsNameOnTheClipboardInTheOptionsCase)
{
    Select(named, kAliceBlue);
    Click(IDC_NAMED_COPY);
    EXPECT_EQ("AliceBlue", ClipboardText());

    state->options.Assign(NamedColorsLowerCase, true);
    Click(IDC_NAMED_COPY);
    EXPECT_EQ("aliceblue", ClipboardText());
    state->options.Assign(NamedColorsLowerCase, false);

    // The prefix option is for hex values only.
    state->options.Assign(UseHexPrefix, true);
    // Colours listed twice: each row copies its own name.
    Select(named, kCyan);
    Click(IDC_NAMED_COPY);
    EXPECT_EQ("Cyan", ClipboardText());
    Select(named, kAqua);
    Click(IDC_NAMED_COPY);
    EXPECT_EQ("Aqua", ClipboardText());
    Select(named, kMagenta);
    state->options.Assign(NamedColorsLowerCase, true);
    Click(IDC_NAMED_COPY);
    EXPECT_EQ("magenta", ClipboardText());
}

TEST_F(NamedListTest, WithoutASelectionLoadCopyAndDoubleClickSayNoColorSelected)
{
    ASSERT_TRUE(PutClipboardText(nullptr, "untouched"));
    SetCurrent(0x445566);
    MessageBoxCatcher catcher;
    Click(IDC_NAMED_LOAD);
    ExpectOneBox(catcher, "No color selected.", IDI_EXCLAMATION);
    Click(IDC_NAMED_COPY);
    ExpectOneBox(catcher, "No color selected.", IDI_EXCLAMATION);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_NAMED_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(named));
    ExpectOneBox(catcher, "No color selected.", IDI_EXCLAMATION);

    EXPECT_EQ("untouched", ClipboardText());
    EXPECT_EQ(0x445566u, state->currentColor.GetRgb());
}

TEST_F(NamedListTest, ACopyTheClipboardRefusesSaysSo)
{
    ASSERT_TRUE(PutClipboardText(nullptr, "untouched"));
    Select(named, kAliceBlue);
    // Held open by another window, the clipboard cannot be opened by the dialog.
    HWND holder = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(holder));
    MessageBoxCatcher catcher;
    Click(IDC_NAMED_COPY);
    CloseClipboard();
    DestroyWindow(holder);
    ExpectOneBox(catcher, "Cannot copy data to clipboard.", IDI_HAND);
    EXPECT_EQ("untouched", ClipboardText());
}

// ---- drawing: which font each row's name is drawn in ---------------------------------------

// A row drawn into an enhanced metafile: the fonts it made and the font of each text it drew.
struct RecordedRow {
    std::map<DWORD, LOGFONTW> fonts;                    // by object index
    DWORD listFont = 0;                                 // the index the list's own font got
    DWORD selected = 0;                                 // the font selected as the records go by
    std::vector<std::pair<std::wstring, DWORD>> texts;  // text and the font it was drawn in
    bool TextFont(const std::wstring& text, DWORD* index) const
    {
        for (const auto& t : texts)
            if (t.first == text) {
                *index = t.second;
                return true;
            }
        return false;
    }
};

int CALLBACK RecordProc(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM lparam)
{
    auto* row = reinterpret_cast<RecordedRow*>(lparam);
    switch (record->iType) {
    case EMR_EXTCREATEFONTINDIRECTW: {
        auto* create = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
        row->fonts[create->ihFont] = create->elfw.elfLogFont;
        if (!row->listFont)
            row->listFont = create->ihFont;
        break;
    }
    case EMR_SELECTOBJECT: {
        auto* select = reinterpret_cast<const EMRSELECTOBJECT*>(record);
        if (row->fonts.count(select->ihObject))
            row->selected = select->ihObject;
        break;
    }
    case EMR_EXTTEXTOUTW: {
        auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        auto* chars =
            reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(record) + text->emrtext.offString);
        row->texts.push_back({std::wstring(chars, text->emrtext.nChars), row->selected});
        break;
    }
    }
    return 1;
}

class NamedRowDrawingTest : public ListDialogTest {
protected:
    HFONT ListFont() { return reinterpret_cast<HFONT>(SendMessageA(named, WM_GETFONT, 0, 0)); }

    // Draws the row through the dialog procedure into a metafile DC holding the list's font.
    RecordedRow Record(int row)
    {
        RecordedRow recorded;
        HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
        EXPECT_NE(nullptr, dc);
        if (!dc)
            return recorded;
        SelectObject(dc, ListFont());
        DRAWITEMSTRUCT item = RowItem(named, dc, row, GetNamedColorValue(row), 0, {0, 0, 120, 16});
        EXPECT_EQ(FALSE,
                  MainDialogProc(dialog, WM_DRAWITEM, IDC_NAMED_LIST, reinterpret_cast<LPARAM>(&item)));
        HENHMETAFILE meta = CloseEnhMetaFile(dc);
        EnumEnhMetaFile(nullptr, meta, RecordProc, &recorded, nullptr);
        DeleteEnhMetaFile(meta);
        return recorded;
    }

    // The list font's metrics, from which the marked rows' font is made.
    TEXTMETRICW ListMetrics()
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, ListFont());
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        DeleteDC(dc);
        return metrics;
    }

    // The font the row's name was drawn in; fails the test when the name was not drawn.
    LOGFONTW NameFont(const RecordedRow& row, const std::wstring& name, bool* plain)
    {
        DWORD index = 0;
        EXPECT_TRUE(row.TextFont(name, &index)) << "the name was not drawn";
        *plain = index == row.listFont;
        return row.fonts.count(index) ? row.fonts.at(index) : LOGFONTW{};
    }
};

TEST_F(NamedRowDrawingTest, TheExactRowIsBoldAndUpright)
{
    SetCurrent(0xF0F8FF);
    bool plain = true;
    LOGFONTW font = NameFont(Record(kAliceBlue), L"AliceBlue", &plain);
    EXPECT_FALSE(plain);
    const TEXTMETRICW metrics = ListMetrics();
    EXPECT_EQ(FW_BOLD, font.lfWeight);
    EXPECT_EQ(metrics.tmItalic, font.lfItalic);
    EXPECT_EQ(metrics.tmHeight, font.lfHeight);
    EXPECT_EQ(ANTIALIASED_QUALITY, font.lfQuality);
    EXPECT_EQ(metrics.tmCharSet, font.lfCharSet);

    LOGFONTW list = {};
    GetObjectW(ListFont(), sizeof(list), &list);
    EXPECT_EQ(std::wstring(list.lfFaceName), std::wstring(font.lfFaceName));
}

TEST_F(NamedRowDrawingTest, TheNearestRowIsItalicAtTheListsWeight)
{
    SetCurrent(0xF0F8FE);
    bool plain = true;
    LOGFONTW font = NameFont(Record(kAliceBlue), L"AliceBlue", &plain);
    EXPECT_FALSE(plain);
    EXPECT_EQ(1, font.lfItalic);
    EXPECT_EQ(ListMetrics().tmWeight, font.lfWeight);
    EXPECT_EQ(ListMetrics().tmHeight, font.lfHeight);
    EXPECT_EQ(ANTIALIASED_QUALITY, font.lfQuality);
}

TEST_F(NamedRowDrawingTest, OtherRowsUseTheListsFontAndEqualColorsAreBothMarked)
{
    SetCurrent(0x00FFFF);
    bool plain = false;
    NameFont(Record(kAliceBlue), L"AliceBlue", &plain);
    EXPECT_TRUE(plain);
    NameFont(Record(kFuchsia), L"Fuchsia", &plain);
    EXPECT_TRUE(plain);

    // Aqua and Cyan are one colour: each row shows its own name, both in bold.
    for (int row : {kAqua, kCyan}) {
        SCOPED_TRACE(row);
        LOGFONTW font = NameFont(Record(row), row == kAqua ? L"Aqua" : L"Cyan", &plain);
        EXPECT_FALSE(plain);
        EXPECT_EQ(FW_BOLD, font.lfWeight);
    }
    SetCurrent(0xFF00FF);
    NameFont(Record(kMagenta), L"Magenta", &plain);
    EXPECT_FALSE(plain);
}

// ---- drawing: what the marks look like ---------------------------------------------------

TEST_F(NamedRowDrawingTest, BoldAndItalicNamesLookUnlikeThePlainOne)
{
    const RECT row = {0, 0, 120, 16};
    const RECT text = {24, 0, 120, 16};
    auto draw = [&](uint32_t current) {
        SetCurrent(current);
        Canvas canvas(row.right, row.bottom, RGB(1, 2, 3));
        HGDIOBJ old = SelectObject(canvas.Dc(), ListFont());
        DRAWITEMSTRUCT item = RowItem(named, canvas.Dc(), kAliceBlue, 0xF0F8FF, 0, row);
        MainDialogProc(dialog, WM_DRAWITEM, IDC_NAMED_LIST, reinterpret_cast<LPARAM>(&item));
        SelectObject(canvas.Dc(), old);
        return canvas.Area(text);
    };
    const uint32_t background = GetSysColor(COLOR_WINDOW);
    const uint32_t backgroundPixel =
        ((background & 0xFF) << 16) | (background & 0xFF00) | ((background >> 16) & 0xFF);
    auto ink = [&](const std::vector<uint32_t>& pixels) {
        size_t count = 0;
        for (uint32_t p : pixels)
            count += p != backgroundPixel;
        return count;
    };

    const std::vector<uint32_t> plain = draw(0x000000);
    const std::vector<uint32_t> bold = draw(0xF0F8FF);
    const std::vector<uint32_t> italic = draw(0xF0F8FE);
    ASSERT_GT(ink(plain), 20u);
    EXPECT_GT(ink(bold), ink(plain) * 11 / 10);
    EXPECT_NE(plain, italic);
    EXPECT_NE(bold, italic);
}

TEST_F(NamedRowDrawingTest, NoRowAndARowOutsideThePaintDrawNothing)
{
    Canvas canvas(120, 32, RGB(1, 2, 3));
    DRAWITEMSTRUCT item = RowItem(named, canvas.Dc(), -1, 0, ODS_FOCUS, {0, 0, 120, 16});
    EXPECT_EQ(FALSE, MainDialogProc(dialog, WM_DRAWITEM, IDC_NAMED_LIST, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(std::vector<uint32_t>(120 * 32, 0x010203), canvas.Area({0, 0, 120, 32}));

    // A paint that covers only the second row leaves the first alone (a list box may ask for
    // every row it shows, whatever needs repainting).
    IntersectClipRect(canvas.Dc(), 0, 16, 120, 32);
    for (int top : {0, 16}) {
        DRAWITEMSTRUCT row = RowItem(named, canvas.Dc(), kAliceBlue, 0xF0F8FF, 0, {0, top, 120, top + 16});
        MainDialogProc(dialog, WM_DRAWITEM, IDC_NAMED_LIST, reinterpret_cast<LPARAM>(&row));
    }
    EXPECT_EQ(std::vector<uint32_t>(120 * 16, 0x010203), canvas.Area({0, 0, 120, 16}));
    EXPECT_NE(std::vector<uint32_t>(120 * 16, 0x010203), canvas.Area({0, 16, 120, 32}));
}

}  // namespace
