// Pixel work of the colour selector: lookup tables, field and strip fills, markers, and the
// mapping between positions and colour components. Plain data in, plain data out.
#pragma once
#include <windows.h>

#include <cstdint>

#include "color/color_axes.h"
#include "color/color_value.h"
#include "core/dpi.h"
#include "core/handles.h"

// A slider mode is a ColorAxis, the component the slider carries; the field shows the other two
// of the same model (GetModeAxes). Functions given a mode outside 0..5 leave their output alone.

// The slider control's parts, in its client coordinates: an arrow at each side, the strip the
// mode's component runs along, and the narrow legend beside it.
enum {
    kSliderArrowWidth = 5,    // at 96 DPI, the arrow bitmaps' size
    kSliderArrowHeight = 10,  // the tip sits on rows 4-5
};
struct SliderLayout {
    RECT leftArrow;
    RECT rightArrow;
    RECT strip;
    RECT reference;
};
// The arrows grow with the DPI and stay 45-degree triangles: half as wide as high, rounded up.
SliderLayout LayOutSlider(int width, int height, int dpi = kBaseDpi);

// A slider arrow of width x height as a monochrome bitmap's rows (top row first, each padded to
// 16 bits): a black triangle (bits 0) on white (bits 1), its tip at the middle row(s) of its
// last column (pointing right) or its first (pointing left). As the arrow bitmaps hold it at 96
// DPI; `bits` holds ((width + 15) / 16) * 2 * height bytes.
void DrawSliderArrowBits(uint8_t* bits, int width, int height, bool pointingRight);

// Per-column and per-row tables of a W x H field, so no pixel or mouse move divides.
struct SelectorTables {
    HeapBlock<uint16_t> columnRamp16;  // [x] = x * 65535 / (W - 1)
    HeapBlock<uint16_t> rowRamp16;     // [y] = y * 65535 / (H - 1)
    HeapBlock<uint8_t> columnRamp8;    // [x] = x * 255 / (W - 1)
    HeapBlock<uint8_t> rowRamp8;       // [y] = y * 255 / (H - 1)
    HeapBlock<uint32_t> columnRed;     // [x] = ColumnRamp8 << 16
    HeapBlock<uint32_t> columnGreen;   // [x] = ColumnRamp8 << 8
    HeapBlock<uint32_t> rowGreen;      // [y] = RowRamp8 << 8
    HeapBlock<uint32_t> rowBlue;       // [y] = RowRamp8
};

// Allocates and fills the tables, dropping what they held; false when a block cannot be had.
// W and H must be at least 2.
bool BuildSelectorTables(SelectorTables* tables, int width, int height);
void FreeSelectorTables(SelectorTables* tables);

// Fills a bottom-up W x H buffer of 0x00RRGGBB words with the field of `mode` for `current`.
void FillField(uint32_t* pixels, int width, int height, uint32_t mode, const ColorValue& current,
               const SelectorTables& tables);

// Where the field marker of `current` sits: column from the left, row from the bottom.
POINT FieldMarkerPosition(uint32_t mode, const ColorValue& current, int width, int height);

// How far the marker's bars reach from its centre: at 96 DPI, and at `dpi`.
constexpr int kFieldMarkerArm = 5;
int FieldMarkerArm(int dpi);

// Inverts a hollow cross of two one-pixel bars reaching `arm` pixels each way from (column, row),
// clipped to the buffer; drawing it twice at the same place restores the picture.
void XorFieldMarker(uint32_t* pixels, int width, int height, int column, int row, int arm = kFieldMarkerArm);

// Rows from `bottom` (row 0, exact) towards `top` (the top row is one step short of it).
void FillGradientStrip(uint32_t top, uint32_t bottom, uint32_t* pixels, const BITMAPINFOHEADER& header);

// The slider's strip: the current colour with the slider's component running bottom to top.
void FillSliderStrip(uint32_t* pixels, const BITMAPINFOHEADER& header, uint32_t mode,
                     const ColorValue& current);

// The narrow legend beside the strip; depends only on the mode.
void FillReferenceStrip(uint32_t* pixels, const BITMAPINFOHEADER& header, uint32_t mode);

// Arrow position in pixels above the strip's bottom edge, for a strip `stripHeight` rows high.
int SliderPosition(uint32_t mode, const ColorValue& current, int stripHeight);

// Sets the slider's component from a point `y` (slider client coordinates) on a bar whose bottom
// edge is `barBottom` and which is `barHeight` rows high; clamps to the bar.
void ApplySliderPoint(ColorValue* color, uint32_t mode, int y, int barBottom, int barHeight);

// Sets the field's two components from a point (field client coordinates) of a W x H field;
// clamps each axis separately.
void ApplyFieldPoint(ColorValue* color, uint32_t mode, int x, int y, int width, int height,
                     const SelectorTables& tables);
