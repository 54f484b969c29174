#include "lists/list_rows.h"

#include "core/handles.h"

namespace {

const int kSwatchLeft = 2;
const int kSwatchWidth = 20;

}  // namespace

bool RowColor(const DRAWITEMSTRUCT* item, ColorValue* color)
{
    if (item->itemID == static_cast<UINT>(-1))
        return false;
    color->Reset();
    color->SetRgb(static_cast<uint32_t>(item->itemData));
    return true;
}

RowColors DrawRowSwatch(const DRAWITEMSTRUCT* item, const ColorValue& color)
{
    const RowColors colors = (item->itemState & ODS_SELECTED)
                                 ? RowColors{COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT}
                                 : RowColors{COLOR_WINDOWTEXT, COLOR_WINDOW};
    FillRect(item->hDC, &item->rcItem, GetSysColorBrush(colors.background));

    RECT swatch = item->rcItem;
    swatch.top += 1;
    swatch.bottom -= 1;
    swatch.left += kSwatchLeft;
    swatch.right = swatch.left + kSwatchWidth;
    FillRect(item->hDC, &swatch, GetSysColorBrush(colors.text));
    InflateRect(&swatch, -1, -1);

    GdiObject<HBRUSH> brush(CreateSolidBrush(color.GetColorRef()));
    FillRect(item->hDC, &swatch, brush);
    return colors;
}

void DrawRowText(const DRAWITEMSTRUCT* item, const RowColors& colors, const char* text)
{
    RECT area = item->rcItem;
    area.top += 1;
    area.bottom -= 1;
    area.left += kRowTextLeft;
    const COLORREF oldText = SetTextColor(item->hDC, GetSysColor(colors.text));
    const COLORREF oldBackground = SetBkColor(item->hDC, GetSysColor(colors.background));
    // DT_VCENTER alone: without DT_SINGLELINE the text keeps to the top of the row.
    DrawTextA(item->hDC, text, -1, &area, DT_VCENTER);
    SetTextColor(item->hDC, oldText);
    SetBkColor(item->hDC, oldBackground);
}

LRESULT ListBoxCall(HWND list, UINT message, WPARAM wparam, LPARAM lparam)
{
    const auto own = reinterpret_cast<WNDPROC>(GetClassLongPtrA(list, GCLP_WNDPROC));
    return CallWindowProcA(own, list, message, wparam, lparam);
}
