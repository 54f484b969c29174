#include "selector/selector.h"

#include <initializer_list>

#include "core/dpi.h"
#include "core/messages.h"
#include "core/redraw.h"
#include "resources/resource.h"

namespace {

void SetUpHeader(BITMAPINFOHEADER* header, LONG width, LONG height)
{
    *header = BITMAPINFOHEADER{};
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;  // positive: rows stored bottom-up
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
}

bool AllocatePixels(HeapBlock<uint32_t>* pixels, const BITMAPINFOHEADER& header)
{
    return pixels->Allocate(static_cast<size_t>(header.biWidth) * header.biHeight);
}

int Width(const RECT& r)
{
    return r.right - r.left;
}
int Height(const RECT& r)
{
    return r.bottom - r.top;
}

// Copies a strip's pixels 1:1 into the slider bitmap and frames it.
void PaintStrip(SelectorState* selector, const uint32_t* pixels, const BITMAPINFOHEADER& header, RECT* rect)
{
    StretchDIBits(selector->sliderDC, rect->left, rect->top, header.biWidth, header.biHeight, 0, 0,
                  header.biWidth, header.biHeight, pixels, reinterpret_cast<const BITMAPINFO*>(&header),
                  DIB_RGB_COLORS, SRCCOPY);
    DrawEdge(selector->sliderDC, rect, BDR_SUNKENOUTER, BF_RECT);
}

void PaintSliderArrows(SelectorState* selector, int position)
{
    const int arrowWidth = Width(selector->leftArrowRect), arrowHeight = Height(selector->leftArrowRect);
    // The columns beside the strips are cleared with the dialog's face colour so the arrows sit
    // on the same grey as everything around them.
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    RECT left = selector->sliderRect;
    left.right = selector->stripRect.left;
    FillRect(selector->sliderDC, &left, face);
    BitBlt(selector->sliderDC, 0, selector->stripRect.bottom - arrowHeight / 2 - position, arrowWidth,
           arrowHeight, selector->leftArrowDC, 0, 0, SRCAND);

    RECT right = selector->sliderRect;
    right.left = selector->referenceRect.right;
    FillRect(selector->sliderDC, &right, face);
    BitBlt(selector->sliderDC, Width(selector->sliderRect) - arrowWidth,
           selector->referenceRect.bottom - arrowHeight / 2 - position, arrowWidth, arrowHeight,
           selector->rightArrowDC, 0, 0, SRCAND);
}

// The arrow bitmap of `id` at 96 DPI; at any other the same triangle drawn at the size of `area`.
HBITMAP LoadSliderArrow(HINSTANCE instance, int id, int dpi, const RECT& area, bool pointingRight)
{
    if (dpi == kBaseDpi)
        return LoadBitmapA(instance, MAKEINTRESOURCEA(id));
    HeapBlock<uint8_t> bits;
    if (!bits.Allocate(static_cast<size_t>((Width(area) + 15) / 16 * 2) * Height(area)))
        return nullptr;
    DrawSliderArrowBits(bits.Data(), Width(area), Height(area), pointingRight);
    return CreateBitmap(Width(area), Height(area), 1, 1, bits.Data());
}

// The field's pixels into `dc`. A failure is said once: one that repeats would raise the box
// again with every repaint, the one after the box closes included, and the user could never get
// rid of it.
void DrawField(const DialogState* state, SelectorState* selector, HDC dc)
{
    // DDF_SAME_DRAW alone: the buffer was prepared by DrawDibBegin without a DC.
    if (!DrawDibDraw(selector->drawDib, dc, 0, 0, -1, -1, &selector->fieldHeader,
                     selector->fieldPixels.Data(), 0, 0, selector->fieldHeader.biWidth,
                     selector->fieldHeader.biHeight, DDF_SAME_DRAW) &&
        !selector->drawDibFailureShown) {
        selector->drawDibFailureShown = TRUE;
        ShowWarningMessage(state->instance, state->dialog, IDS_DRAWDIB_ERROR);
    }
}

void DrawSlider(const SelectorState* selector, HDC dc, const RECT& area)
{
    BitBlt(dc, area.left, area.top, Width(area), Height(area), selector->sliderDC, area.left, area.top,
           SRCCOPY);
}

DWORD* UiStateOf(SelectorState* selector, HWND control)
{
    return GetDlgCtrlID(control) == IDC_SLIDER ? &selector->sliderUiState : &selector->fieldUiState;
}

// The focus rectangle inside the control's edge, over the picture just drawn; only while the
// window shows focus cues (they stay hidden until the keyboard is used, where the system says
// so).
void DrawFocusCue(SelectorState* selector, HWND control, HDC dc, const RECT& client)
{
    if (control != selector->focused || (*UiStateOf(selector, control) & UISF_HIDEFOCUS))
        return;
    DrawFocusRect(dc, &client);
}

// Shows the `count` areas of a control's new picture (all of it with none) at once: straight
// into its window while it is on the screen, since under Wine an invalidation and the paint it
// brings are half a dozen requests to the server (update regions, the caret) where a window DC
// is one; otherwise at its next paint.
template <typename Draw>
void PaintNow(HWND control, Draw draw, const RECT* areas = nullptr, int count = 0)
{
    if (IsWindowVisible(control)) {
        if (WindowDC dc{control}) {
            if (count == 0)
                draw(dc.Get());
            for (int i = 0; i < count; ++i) {
                const int saved = SaveDC(dc);
                IntersectClipRect(dc, areas[i].left, areas[i].top, areas[i].right, areas[i].bottom);
                draw(dc.Get());
                RestoreDC(dc, saved);
            }
            return;
        }
    }
    for (int i = 0; i < count; ++i)
        InvalidateRect(control, &areas[i], FALSE);
    if (count == 0)
        InvalidateRect(control, nullptr, FALSE);
}

// Where the field's cross at (column, row from the bottom) lies in the control's client area.
RECT CrossArea(int column, int row, int height, int arm)
{
    const int y = height - 1 - row;
    return RECT{column - arm, y - arm, column + arm + 1, y + arm + 1};
}

}  // namespace

bool CreateSelectorPictures(const DialogState* state, SelectorState* selector)
{
    WindowDC dialogDC(state->dialog);
    selector->leftArrowDC.Reset(CreateCompatibleDC(dialogDC));
    selector->rightArrowDC.Reset(CreateCompatibleDC(dialogDC));
    selector->sliderDC.Reset(CreateCompatibleDC(dialogDC));
    if (!selector->leftArrowDC || !selector->rightArrowDC || !selector->sliderDC)
        return false;

    GetClientRect(DialogControl(state, IDC_SLIDER), &selector->sliderRect);
    const int w = Width(selector->sliderRect), h = Height(selector->sliderRect);
    const SliderLayout layout = LayOutSlider(w, h, state->dpi);
    selector->leftArrowRect = layout.leftArrow;
    selector->rightArrowRect = layout.rightArrow;
    selector->stripRect = layout.strip;
    selector->referenceRect = layout.reference;
    GetClientRect(DialogControl(state, IDC_FIELD), &selector->fieldRect);
    selector->markerArm = FieldMarkerArm(state->dpi);

    selector->leftArrowBitmap.Reset(
        LoadSliderArrow(state->instance, IDB_ARROW_LEFT, state->dpi, layout.leftArrow, true));
    selector->rightArrowBitmap.Reset(
        LoadSliderArrow(state->instance, IDB_ARROW_RIGHT, state->dpi, layout.rightArrow, false));
    selector->sliderBitmap.Reset(CreateCompatibleBitmap(dialogDC, w, h));
    if (!selector->leftArrowBitmap || !selector->rightArrowBitmap || !selector->sliderBitmap)
        return false;
    // Selected for good: each memory DC holds its bitmap until the DC goes.
    if (!SelectObject(selector->leftArrowDC, selector->leftArrowBitmap) ||
        !SelectObject(selector->rightArrowDC, selector->rightArrowBitmap) ||
        !SelectObject(selector->sliderDC, selector->sliderBitmap))
        return false;

    SetUpHeader(&selector->fieldHeader, Width(selector->fieldRect), Height(selector->fieldRect));
    SetUpHeader(&selector->stripHeader, Width(selector->stripRect), Height(selector->stripRect));
    SetUpHeader(&selector->referenceHeader, Width(selector->referenceRect), Height(selector->referenceRect));
    if (!AllocatePixels(&selector->fieldPixels, selector->fieldHeader) ||
        !AllocatePixels(&selector->stripPixels, selector->stripHeader) ||
        !AllocatePixels(&selector->referencePixels, selector->referenceHeader))
        return false;

    selector->drawDib = DrawDibOpen();
    if (!selector->drawDib)
        return false;
    if (!DrawDibBegin(selector->drawDib, nullptr, -1, -1, &selector->fieldHeader,
                      selector->fieldHeader.biWidth, selector->fieldHeader.biHeight, DDF_BUFFER))
        return false;

    FillRect(selector->sliderDC, &selector->sliderRect, GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

bool CreateSelectorTables(SelectorState* selector)
{
    return BuildSelectorTables(&selector->tables, Width(selector->fieldRect), Height(selector->fieldRect));
}

void ReleaseSelectorPictures(SelectorState* selector)
{
    if (selector->drawDib) {
        DrawDibEnd(selector->drawDib);
        DrawDibClose(selector->drawDib);
        selector->drawDib = nullptr;
    }
    selector->fieldPixels.Free();
    selector->stripPixels.Free();
    selector->referencePixels.Free();
    // Deleting the DCs first lets go of the bitmaps selected into them.
    for (MemoryDC* dc : {&selector->leftArrowDC, &selector->rightArrowDC, &selector->sliderDC})
        dc->Reset();
    for (GdiObject<HBITMAP>* bitmap :
         {&selector->leftArrowBitmap, &selector->rightArrowBitmap, &selector->sliderBitmap})
        bitmap->Reset();
}

void ReleaseSelectorTables(SelectorState* selector)
{
    FreeSelectorTables(&selector->tables);
}

void RedrawSelector(const DialogState* state, SelectorState* selector, WPARAM bits)
{
    const ColorValue& cur = state->currentColor;
    const int fieldWidth = selector->fieldHeader.biWidth, fieldHeight = selector->fieldHeader.biHeight;

    if (bits & RB_FIELD)
        FillField(selector->fieldPixels.Data(), fieldWidth, fieldHeight, state->sliderMode, cur,
                  selector->tables);
    // Without a refill only the two crosses change: the old one wiped, the new one drawn.
    RECT crosses[2];
    if (bits & RB_FIELDMARK) {
        const POINT marker = FieldMarkerPosition(state->sliderMode, cur, fieldWidth, fieldHeight);
        const int arm = selector->markerArm;
        // A refill has already wiped the old cross.
        if (!(bits & RB_FIELD))
            XorFieldMarker(selector->fieldPixels.Data(), fieldWidth, fieldHeight, selector->markerColumn,
                           selector->markerRow, arm);
        crosses[0] = CrossArea(selector->markerColumn, selector->markerRow, fieldHeight, arm);
        XorFieldMarker(selector->fieldPixels.Data(), fieldWidth, fieldHeight, marker.x, marker.y, arm);
        selector->markerColumn = marker.x;
        selector->markerRow = marker.y;
        crosses[1] = CrossArea(marker.x, marker.y, fieldHeight, arm);
    }
    HWND field = DialogControl(state, IDC_FIELD);
    if (bits & (RB_FIELD | RB_FIELDMARK))
        PaintNow(
            field,
            [&](HDC dc) {
            DrawField(state, selector, dc);
            DrawFocusCue(selector, field, dc, selector->fieldRect);
            },
            bits & RB_FIELD ? nullptr : crosses, bits & RB_FIELD ? 0 : 2);

    if (bits & RB_SLIDERSTRIP) {
        FillSliderStrip(selector->stripPixels.Data(), selector->stripHeader, state->sliderMode, cur);
        PaintStrip(selector, selector->stripPixels.Data(), selector->stripHeader, &selector->stripRect);
    }
    if (bits & RB_REFSTRIP) {
        FillReferenceStrip(selector->referencePixels.Data(), selector->referenceHeader, state->sliderMode);
        PaintStrip(selector, selector->referencePixels.Data(), selector->referenceHeader,
                   &selector->referenceRect);
    }
    if (bits & RB_SLIDERMARK)
        PaintSliderArrows(selector, SliderPosition(state->sliderMode, cur, selector->stripHeader.biHeight));
    HWND slider = DialogControl(state, IDC_SLIDER);
    if (bits & (RB_SLIDERSTRIP | RB_REFSTRIP | RB_SLIDERMARK))
        PaintNow(slider, [&](HDC dc) {
            DrawSlider(selector, dc, selector->sliderRect);
            DrawFocusCue(selector, slider, dc, selector->sliderRect);
        });
}

void SetSelectorFocus(SelectorState* selector, HWND control, bool focused)
{
    if (focused)
        selector->focused = control;
    else if (selector->focused == control)
        selector->focused = nullptr;
    InvalidateRect(control, nullptr, FALSE);
}

void SetSelectorUiState(SelectorState* selector, HWND control, WPARAM change)
{
    // Kept from the message itself: not every system keeps the state for the control to ask.
    DWORD* state = UiStateOf(selector, control);
    const DWORD flags = HIWORD(change);
    if (LOWORD(change) == UIS_SET)
        *state |= flags;
    else if (LOWORD(change) == UIS_CLEAR)
        *state &= ~flags;
    else
        *state = static_cast<DWORD>(SendMessageA(control, WM_QUERYUISTATE, 0, 0));
    InvalidateRect(control, nullptr, FALSE);
}

bool DrawSelectorItem(const DialogState* state, SelectorState* selector, const DRAWITEMSTRUCT* item)
{
    if (item->CtlID == IDC_FIELD) {
        DrawField(state, selector, item->hDC);
        DrawFocusCue(selector, item->hwndItem, item->hDC, selector->fieldRect);
        return true;
    }
    if (item->CtlID == IDC_SLIDER) {
        DrawSlider(selector, item->hDC, item->rcItem);
        DrawFocusCue(selector, item->hwndItem, item->hDC, selector->sliderRect);
        return true;
    }
    return false;
}
