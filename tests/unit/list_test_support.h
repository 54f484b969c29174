// What the colour-list tests share: the real main dialog with a clean saved-colours file, a
// catcher for the message boxes it raises, and a canvas to draw rows into.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/redraw.h"
#include "selector/selector.h"
#include "tests/shared/dib_canvas.h"
#include "tests/shared/text_file.h"
#include "tests/unit/main_dialog_fixture.h"
#include "tests/unit/message_box_catcher.h"

namespace liststest {

inline void WriteTextFile(const std::string& path, const std::string& text)
{
    ASSERT_TRUE(WriteWholeFile(path, text)) << path;
}

// The file's text; empty when there is none.
inline std::string ReadTextFile(const std::string& path)
{
    std::string text;
    ReadWholeFile(path, &text);
    return text;
}

inline std::vector<uint32_t> Rows(HWND list)
{
    std::vector<uint32_t> rows;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        rows.push_back(static_cast<uint32_t>(SendMessageA(list, LB_GETITEMDATA, i, 0)));
    return rows;
}

inline void SetRows(HWND list, const std::vector<uint32_t>& rows)
{
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (uint32_t rgb : rows)
        SendMessageA(list, LB_ADDSTRING, 0, static_cast<LPARAM>(rgb));
}

// The main dialog as on a first start, and leaving no saved-colours file behind.
class ListDialogTest : public MainDialogFixture {
protected:
    void SetUp() override
    {
        ResetStoredState();
        Create();
    }

    void TearDown() override
    {
        Destroy();
        DeleteFileA(StoredColorsFile().c_str());
    }

    // The dialog made again, as the next start makes it.
    void Create()
    {
        MainDialogFixture::Create();
        saved = GetDlgItem(dialog, IDC_SAVED_LIST);
        named = GetDlgItem(dialog, IDC_NAMED_LIST);
    }

    void Click(int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }

    void SetCurrent(uint32_t rgb)
    {
        state->currentColor.SetRgb(rgb);
        SendMessageA(dialog, SELECTOR_REDRAW, RB_ALL, 0);
    }

    void Select(HWND list, int row) { SendMessageA(list, LB_SETCURSEL, row, 0); }
    LRESULT Selected(HWND list) { return SendMessageA(list, LB_GETCURSEL, 0, 0); }

    std::string HexField()
    {
        char text[16] = "";
        GetDlgItemTextA(dialog, IDC_HEX_EDIT, text, sizeof(text));
        return text;
    }

    // Exactly one box, with the program's caption, this string's text and the given icon.
    void ExpectOneBox(MessageBoxCatcher& catcher, const char* text, LPCSTR icon)
    {
        std::vector<MessageBoxCatcher::Box> boxes = catcher.Take();
        ASSERT_EQ(1u, boxes.size()) << "expected the box \"" << text << "\"";
        EXPECT_EQ("Ostrel Tintora", boxes[0].caption);
        EXPECT_EQ(text, boxes[0].text);
        EXPECT_EQ(LoadIconA(nullptr, icon), boxes[0].icon);
    }

    HWND saved = nullptr;
    HWND named = nullptr;
};

// A canvas filled with one colour to draw rows into and read back.
class Canvas : public DibCanvas {
public:
    Canvas(int width, int height, COLORREF fill) : DibCanvas(width, height) { Fill(fill); }

    void Fill(COLORREF color)
    {
        RECT all = {0, 0, Width(), Height()};
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(Dc(), &all, brush);
        DeleteObject(brush);
    }
    // As a COLORREF, to compare with GetSysColor and brushes.
    COLORREF At(int x, int y) const
    {
        const uint32_t p = Word(x, y);
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    std::vector<uint32_t> Area(const RECT& r) const
    {
        GdiFlush();
        std::vector<uint32_t> pixels;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                pixels.push_back(Bits()[y * Width() + x] & 0xFFFFFF);
        return pixels;
    }
};

inline DRAWITEMSTRUCT RowItem(HWND list, HDC dc, int row, uint32_t data, UINT itemState, const RECT& rect)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_LISTBOX;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(list));
    item.itemID = static_cast<UINT>(row);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = itemState;
    item.hwndItem = list;
    item.hDC = dc;
    item.rcItem = rect;
    item.itemData = data;
    return item;
}

}  // namespace liststest
