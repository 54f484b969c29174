#include "lists/list_rows.h"

#include "core/dpi.h"
#include "core/handles.h"

namespace {

// At 96 DPI. The swatch's frame stays a one-pixel line at any DPI.
const int kSwatchLeft = 2;
const int kSwatchWidth = 20;
const int kRowTextLeft = 24;
const int kRowInset = 1;  // above and below the swatch and the text

}  // namespace

int RowTextLeft(int dpi)
{
    return ScaleToDpi(kRowTextLeft, dpi);
}

bool RowColor(const DRAWITEMSTRUCT* item, ColorValue* color)
{
    if (item->itemID == static_cast<UINT>(-1))
        return false;
    color->Reset();
    color->SetRgb(static_cast<uint32_t>(item->itemData));
    return true;
}

RowColors DrawRowSwatch(const DRAWITEMSTRUCT* item, const ColorValue& color, int dpi)
{
    const RowColors colors = (item->itemState & ODS_SELECTED)
                                 ? RowColors{COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT}
                                 : RowColors{COLOR_WINDOWTEXT, COLOR_WINDOW};
    FillRect(item->hDC, &item->rcItem, GetSysColorBrush(colors.background));

    RECT swatch = item->rcItem;
    swatch.top += ScaleToDpi(kRowInset, dpi);
    swatch.bottom -= ScaleToDpi(kRowInset, dpi);
    swatch.left += ScaleToDpi(kSwatchLeft, dpi);
    swatch.right = swatch.left + ScaleToDpi(kSwatchWidth, dpi);
    FillRect(item->hDC, &swatch, GetSysColorBrush(colors.text));
    InflateRect(&swatch, -1, -1);

    GdiObject<HBRUSH> brush(CreateSolidBrush(color.GetColorRef()));
    FillRect(item->hDC, &swatch, brush);
    return colors;
}

void DrawRowText(const DRAWITEMSTRUCT* item, const RowColors& colors, const char* text, int dpi)
{
    RECT area = item->rcItem;
    area.top += ScaleToDpi(kRowInset, dpi);
    area.bottom -= ScaleToDpi(kRowInset, dpi);
    area.left += RowTextLeft(dpi);
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
