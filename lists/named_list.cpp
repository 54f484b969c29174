#include "lists/named_list.h"

#include "color/color_value.h"
#include "color/hex_text.h"
#include "color/named_colors.h"
#include "core/clipboard.h"
#include "core/dpi.h"
#include "core/fonts.h"
#include "core/handles.h"
#include "core/messages.h"
#include "lists/list_rows.h"
#include "resources/resource.h"

namespace {

const int kNameSize = 100;

HWND NamedList(const DialogState* state)
{
    return DialogControl(state, IDC_NAMED_LIST);
}

// The DC's own font made bold (exact match) or italic (only nearest), at the same cell height.
HFONT CreateMarkFont(HDC dc, bool exact)
{
    LOGFONTA font;
    if (!DescribeDcFont(dc, &font))
        return nullptr;
    if (exact)
        font.lfWeight = FW_BOLD;
    else
        font.lfItalic = 1;
    return CreateFontIndirectA(&font);
}

// Most names are wider than the narrow list; an extent as wide as the longest name in bold (the
// widest a row gets) lets the horizontal scroll bar bring the rest of a name into view.
void SetNamedListExtent(HWND list, int dpi)
{
    LONG widest = 0;
    {
        WindowDC dc(list);
        if (!dc)
            return;
        HFONT listFont = reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0));
        LOGFONTA bold = {};
        if (!listFont || !GetObjectA(listFont, sizeof(bold), &bold))
            GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(bold), &bold);
        bold.lfWeight = FW_BOLD;
        GdiObject<HFONT> boldFont(CreateFontIndirectA(&bold));
        SelectedInto font(dc, boldFont);
        for (const NamedColor& entry : NamedColorTable) {
            SIZE size;
            if (GetTextExtentPoint32A(dc, entry.name, lstrlenA(entry.name), &size) && size.cx > widest)
                widest = size.cx;
        }
    }
    SendMessageA(list, LB_SETHORIZONTALEXTENT, RowTextLeft(dpi) + widest + ScaleToDpi(2, dpi), 0);
}

}  // namespace

void FillNamedList(const DialogState* state)
{
    HWND list = NamedList(state);
    // Storage reserved and redraw off: otherwise every row resizes the scroll bar.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_INITSTORAGE, NAMED_COLOR_COUNT, 0);
    for (int i = 0; i < NAMED_COLOR_COUNT; ++i)
        SendMessageA(list, LB_ADDSTRING, 0, static_cast<LPARAM>(GetNamedColorValue(i)));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    SetNamedListExtent(list, state->dpi);
}

void FindNearestNamedColor(const DialogState* state)
{
    SendMessageA(NamedList(state), LB_SETCURSEL, FindNamedColor(state->currentColor, true), 0);
}

void CopyNamedColor(const DialogState* state)
{
    HWND list = NamedList(state);
    const LRESULT row = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (row == LB_ERR) {
        ShowWarningMessage(state->instance, state->dialog, IDS_NO_COLOR_SELECTED);
        return;
    }
    // The row's own entry: looking its colour up would give Aqua for Cyan and Fuchsia for
    // Magenta, the first of two entries with one value.
    char name[kNameSize] = "";
    lstrcpynA(name, GetNamedColorName(static_cast<int32_t>(row)), kNameSize);
    if (state->options.Test(NamedColorsLowerCase))
        CharLowerA(name);
    if (!CopyTextToClipboard(state->dialog, name))
        ShowErrorMessage(state->instance, state->dialog, IDS_CLIPBOARD_ERROR);
}

void DrawNamedColorItem(const DialogState* state, const DRAWITEMSTRUCT* item)
{
    ColorValue color;
    // A list box may ask for every row it shows, also when only the mark's rows need it.
    if (!RowColor(item, &color) || !RectVisible(item->hDC, &item->rcItem))
        return;
    const RowColors colors = DrawRowSwatch(item, color, state->dpi);
    const uint32_t rgb = color.GetRgb();
    // Row i is entry i, so both rows of a colour listed twice show their own names.
    const char* name = GetNamedColorName(static_cast<int32_t>(item->itemID));

    const uint32_t nearest = GetNamedColorValue(FindNamedColor(state->currentColor, true));
    GdiObject<HFONT> markFont(rgb == nearest ? CreateMarkFont(item->hDC, rgb == state->currentColor.GetRgb())
                                             : nullptr);
    SelectedInto font(item->hDC, markFont);
    DrawRowText(item, colors, name, state->dpi);
}

void UpdateNamedListMark(const DialogState* state, NamedListMark* mark)
{
    // Asked for only when the mark moves or changes between bold and italic, and then only for
    // the rows that lose or gain it (a colour listed twice marks two), not the whole list.
    const ColorValue& cur = state->currentColor;
    const uint32_t nearest = GetNamedColorValue(FindNamedColor(cur, true));
    const BYTE exact = nearest == cur.GetRgb();
    if (mark->known && nearest == mark->color && exact == mark->exact)
        return;
    HWND list = NamedList(state);
    if (!mark->known) {
        InvalidateRect(list, nullptr, FALSE);
    } else {
        for (int32_t row = 0; row < NAMED_COLOR_COUNT; ++row) {
            const uint32_t value = GetNamedColorValue(row);
            RECT rect;
            if ((value == mark->color || value == nearest) &&
                SendMessageA(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect)) != LB_ERR)
                InvalidateRect(list, &rect, FALSE);
        }
    }
    mark->known = TRUE;
    mark->color = nearest;
    mark->exact = exact;
}
