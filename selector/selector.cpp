#include "selector/selector.h"

#include <initializer_list>

#include "color/hex_text.h"
#include "color/named_colors.h"
#include "flatcolor/flat_color.h"
#include "resources/resource.h"
#include "shell/main_dialog.h"
#include "shell/messages.h"

namespace {

// Arrow bitmaps are 5 x 10; their tips sit on rows 4-5, half the arrow height above the strip.
const int kArrowWidth = 5;
const int kArrowHeight = 10;

void SetUpHeader(BITMAPINFOHEADER* header, LONG width, LONG height)
{
    *header = BITMAPINFOHEADER{};
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;   // positive: rows stored bottom-up
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
}

uint32_t* AllocatePixels(const BITMAPINFOHEADER& header)
{
    return static_cast<uint32_t*>(
        HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(header.biWidth) * header.biHeight * 4));
}

void FreePixels(uint32_t*& pixels)
{
    if (pixels)
        HeapFree(GetProcessHeap(), 0, pixels);
    pixels = nullptr;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

void SetSwatch(AppState* state, int id, const ColorValue& color)
{
    SendMessageA(DialogControl(state, id), FCM_SETCOLOR, color.GetColorRef(), 0);
}

void UpdateSwatches(AppState* state)
{
    const ColorValue& cur = state->currentColor;
    SetSwatch(state, IDC_CURRENT_SWATCH, cur);
    ColorValue webSafe = cur;
    RoundToWebSafe(webSafe);
    SetSwatch(state, IDC_WEBSAFE_SWATCH, webSafe);
    ColorValue component{};
    component.SetRgb(cur.GetRed() << 16);
    SetSwatch(state, IDC_RED_SWATCH, component);
    component.SetRgb(cur.GetGreen() << 8);
    SetSwatch(state, IDC_GREEN_SWATCH, component);
    component.SetRgb(cur.GetBlue());
    SetSwatch(state, IDC_BLUE_SWATCH, component);
}

// Copies a strip's pixels 1:1 into the slider bitmap and frames it.
void PaintStrip(AppState* state, const uint32_t* pixels, const BITMAPINFOHEADER& header, RECT* rect)
{
    StretchDIBits(state->sliderDC, rect->left, rect->top, header.biWidth, header.biHeight, 0, 0,
                  header.biWidth, header.biHeight, pixels,
                  reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS, SRCCOPY);
    DrawEdge(state->sliderDC, rect, BDR_SUNKENOUTER, BF_RECT);
    InvalidateRect(DialogControl(state, IDC_SLIDER), rect, FALSE);
}

void PaintSliderArrows(AppState* state, int position)
{
    // The columns beside the strips are cleared with the dialog's face colour so the arrows sit
    // on the same grey as everything around them.
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    RECT left = state->sliderRect;
    left.right = state->stripRect.left;
    FillRect(state->sliderDC, &left, face);
    BitBlt(state->sliderDC, 0, state->stripRect.bottom - kArrowHeight / 2 - position, kArrowWidth,
           kArrowHeight, state->leftArrowDC, 0, 0, SRCAND);

    RECT right = state->sliderRect;
    right.left = state->referenceRect.right;
    FillRect(state->sliderDC, &right, face);
    BitBlt(state->sliderDC, Width(state->sliderRect) - kArrowWidth,
           state->referenceRect.bottom - kArrowHeight / 2 - position, kArrowWidth, kArrowHeight,
           state->rightArrowDC, 0, 0, SRCAND);
    InvalidateRect(DialogControl(state, IDC_SLIDER), nullptr, FALSE);
}

void WriteValueFields(AppState* state, bool includeFocused)
{
    HWND focus = GetFocus();
    for (int id = IDC_RED_EDIT; id <= IDC_HEX_EDIT; ++id) {
        if (DialogControl(state, id) == focus && !includeFocused)
            continue;
        WriteValueField(state, id);
    }
}

}  // namespace

bool CreateSelectorPictures(AppState* state)
{
    HDC dialogDC = GetDC(state->dialog);
    state->leftArrowDC = CreateCompatibleDC(dialogDC);
    state->rightArrowDC = CreateCompatibleDC(dialogDC);
    state->sliderDC = CreateCompatibleDC(dialogDC);
    if (!state->leftArrowDC || !state->rightArrowDC || !state->sliderDC) {
        ReleaseDC(state->dialog, dialogDC);
        return false;
    }

    GetClientRect(DialogControl(state, IDC_SLIDER), &state->sliderRect);
    const int w = Width(state->sliderRect), h = Height(state->sliderRect);
    state->leftArrowRect = {0, 0, kArrowWidth, kArrowHeight};
    state->rightArrowRect = {w - kArrowWidth, 0, w, kArrowHeight};
    state->stripRect = {kArrowWidth, kArrowHeight / 2, state->rightArrowRect.left - 7, h - kArrowHeight / 2};
    state->referenceRect = {state->stripRect.right + 1, state->stripRect.top, state->rightArrowRect.left,
                            state->stripRect.bottom};
    GetClientRect(DialogControl(state, IDC_FIELD), &state->fieldRect);

    state->leftArrowBitmap = LoadBitmapA(state->instance, MAKEINTRESOURCEA(IDB_ARROW_LEFT));
    state->rightArrowBitmap = LoadBitmapA(state->instance, MAKEINTRESOURCEA(IDB_ARROW_RIGHT));
    if (!state->leftArrowBitmap || !state->rightArrowBitmap) {
        ReleaseDC(state->dialog, dialogDC);
        return false;
    }
    state->sliderBitmap = CreateCompatibleBitmap(dialogDC, w, h);
    ReleaseDC(state->dialog, dialogDC);
    if (!state->sliderBitmap)
        return false;
    if (!SelectObject(state->leftArrowDC, state->leftArrowBitmap) ||
        !SelectObject(state->rightArrowDC, state->rightArrowBitmap) ||
        !SelectObject(state->sliderDC, state->sliderBitmap))
        return false;

    SetUpHeader(&state->fieldHeader, Width(state->fieldRect), Height(state->fieldRect));
    if (!(state->fieldPixels = AllocatePixels(state->fieldHeader)))
        return false;
    SetUpHeader(&state->stripHeader, Width(state->stripRect), Height(state->stripRect));
    if (!(state->stripPixels = AllocatePixels(state->stripHeader)))
        return false;
    SetUpHeader(&state->referenceHeader, Width(state->referenceRect), Height(state->referenceRect));
    if (!(state->referencePixels = AllocatePixels(state->referenceHeader)))
        return false;

    state->drawDib = DrawDibOpen();
    if (!state->drawDib)
        return false;
    if (!DrawDibBegin(state->drawDib, nullptr, -1, -1, &state->fieldHeader, state->fieldHeader.biWidth,
                      state->fieldHeader.biHeight, DDF_BUFFER))
        return false;

    FillRect(state->sliderDC, &state->sliderRect, GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

bool CreateSelectorTables(AppState* state)
{
    return BuildSelectorTables(&state->tables, Width(state->fieldRect), Height(state->fieldRect));
}

void ReleaseSelectorPictures(AppState* state)
{
    if (state->drawDib) {
        DrawDibEnd(state->drawDib);
        DrawDibClose(state->drawDib);
        state->drawDib = nullptr;
    }
    FreePixels(state->fieldPixels);
    FreePixels(state->stripPixels);
    FreePixels(state->referencePixels);
    // Deleting the DCs first lets go of the bitmaps selected into them.
    for (HDC* dc : {&state->leftArrowDC, &state->rightArrowDC, &state->sliderDC}) {
        if (*dc)
            DeleteDC(*dc);
        *dc = nullptr;
    }
    for (HBITMAP* bitmap : {&state->leftArrowBitmap, &state->rightArrowBitmap, &state->sliderBitmap}) {
        if (*bitmap)
            DeleteObject(*bitmap);
        *bitmap = nullptr;
    }
}

void ReleaseSelectorTables(AppState* state)
{
    FreeSelectorTables(&state->tables);
}

void WriteValueField(AppState* state, int id)
{
    const ColorValue& cur = state->currentColor;
    char text[16];
    if (id == IDC_HEX_EDIT) {
        FormatHex(cur, text, state->options.Test(HexUpperCase));
    } else {
        const UINT values[6] = {
            cur.GetRed(), cur.GetGreen(), cur.GetBlue(), HueToDegrees(cur.GetHue()),
            LevelToPercent(cur.GetSaturation()), LevelToPercent(cur.GetBrightness()),
        };
        wsprintfA(text, "%u", values[id - IDC_RED_EDIT]);
    }
    // Rewriting the same text would only repaint the field and echo back through EN_UPDATE;
    // during a drag that is most of the fields on every move.
    HWND field = DialogControl(state, id);
    char shown[16];
    if (GetWindowTextA(field, shown, sizeof(shown)) && lstrcmpA(shown, text) == 0)
        return;
    SetWindowTextA(field, text);
    UpdateWindow(field);
}

void OnSelectorRedraw(AppState* state, WPARAM bits)
{
    const ColorValue& cur = state->currentColor;
    const int fieldWidth = state->fieldHeader.biWidth, fieldHeight = state->fieldHeader.biHeight;
    HWND field = DialogControl(state, IDC_FIELD);
    HWND slider = DialogControl(state, IDC_SLIDER);

    UpdateSwatches(state);

    if (bits & RB_FIELD)
        FillField(state->fieldPixels, fieldWidth, fieldHeight, state->sliderMode, cur, state->tables);
    POINT marker = {};
    if (bits & RB_FIELDMARK)
        marker = FieldMarkerPosition(state->sliderMode, cur, fieldWidth, fieldHeight);
    if (bits & RB_SLIDERSTRIP)
        FillSliderStrip(state->stripPixels, state->stripHeader, state->sliderMode, cur);
    if (bits & RB_REFSTRIP)
        FillReferenceStrip(state->referencePixels, state->referenceHeader, state->sliderMode);

    if (bits & RB_FIELD)
        InvalidateRect(field, nullptr, FALSE);
    if (bits & RB_FIELDMARK) {
        // A refill has already wiped the old cross.
        if (!(bits & RB_FIELD))
            XorFieldMarker(state->fieldPixels, fieldWidth, fieldHeight, state->markerColumn, state->markerRow);
        XorFieldMarker(state->fieldPixels, fieldWidth, fieldHeight, marker.x, marker.y);
        state->markerColumn = marker.x;
        state->markerRow = marker.y;
        InvalidateRect(field, nullptr, FALSE);
    }
    UpdateWindow(field);

    if (bits & RB_SLIDERSTRIP)
        PaintStrip(state, state->stripPixels, state->stripHeader, &state->stripRect);
    if (bits & RB_REFSTRIP)
        PaintStrip(state, state->referencePixels, state->referenceHeader, &state->referenceRect);
    if (bits & RB_SLIDERMARK)
        PaintSliderArrows(state, SliderPosition(state->sliderMode, cur, state->stripHeader.biHeight));
    UpdateWindow(slider);

    // Setting the same icon again still repaints the control.
    const HICON mark = IsWebSafe(cur) ? nullptr : state->notWebSafeIcon;
    HWND webSafeMark = DialogControl(state, IDC_WEBSAFE_MARK);
    if (reinterpret_cast<HICON>(SendMessageA(webSafeMark, STM_GETICON, 0, 0)) != mark)
        SendMessageA(webSafeMark, STM_SETICON, reinterpret_cast<WPARAM>(mark), 0);

    WriteValueFields(state, (bits & RB_FOCUSEDEDIT) != 0);

    // The named list marks the row nearest to the colour; repainting it costs about as much as
    // a swatch, so it is asked for only when the mark moves or changes between bold and italic.
    // The saved list shows nothing that depends on the current colour; what it does depend on,
    // the hex case option, is repainted by the settings command.
    const uint32_t nearest = GetNamedColorValue(FindNamedColor(cur, true));
    const BYTE exact = nearest == cur.GetRgb();
    if (!state->namedMarkKnown || nearest != state->namedMarkColor || exact != state->namedMarkExact) {
        state->namedMarkKnown = TRUE;
        state->namedMarkColor = nearest;
        state->namedMarkExact = exact;
        InvalidateRect(DialogControl(state, IDC_NAMED_LIST), nullptr, FALSE);
    }
}

bool DrawSelectorItem(AppState* state, const DRAWITEMSTRUCT* item)
{
    if (item->CtlID == IDC_FIELD) {
        // DDF_SAME_DRAW alone: the buffer was prepared by DrawDibBegin without a DC.
        // Said once: a failure that repeats would raise the box again with every repaint,
        // the one after the box closes included, and the user could never get rid of it.
        if (!DrawDibDraw(state->drawDib, item->hDC, 0, 0, -1, -1, &state->fieldHeader, state->fieldPixels, 0, 0,
                         state->fieldHeader.biWidth, state->fieldHeader.biHeight, DDF_SAME_DRAW) &&
            !state->drawDibFailureShown) {
            state->drawDibFailureShown = TRUE;
            ShowWarningMessage(state->instance, state->dialog, IDS_DRAWDIB_ERROR);
        }
        return true;
    }
    if (item->CtlID == IDC_SLIDER) {
        const RECT& r = item->rcItem;
        BitBlt(item->hDC, r.left, r.top, Width(r), Height(r), state->sliderDC, r.left, r.top, SRCCOPY);
        return true;
    }
    return false;
}
