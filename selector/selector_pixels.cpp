#include "selector/selector_pixels.h"

#include <emmintrin.h>

#include "color/color_axes.h"
#include "color/exact_double.h"
#include "color/hsb_sectors.h"

namespace {

// The field scales by shifts, so its full level is 65536 rather than ColorValue's 65535.
constexpr uint32_t kFieldFull = 65536;
// Columns whose terms are precomputed at a time, on the stack; at 96 DPI one block covers a
// whole row of the field.
constexpr int kBlock = 512;

// Checked once: a Pentium II or III still runs the plain loops, and so does a system whose
// kernel cannot answer (the function is looked up, as the oldest systems do not have it).
bool HaveSse2()
{
    static const bool have = [] {
        typedef BOOL(WINAPI * FeatureQuery)(DWORD);
        const auto query = reinterpret_cast<FeatureQuery>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsProcessorFeaturePresent")));
        return query && query(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE;
    }();
    return have;
}

#define SSE2_FUNCTION __attribute__((target("sse2"), force_align_arg_pointer))

// ---- modes 0-2: fixed component | column table | row table --------------------------------

// Columns from..count of one row; the whole row without SSE2, the last few columns with it.
inline void OrRun(uint32_t* out, int from, int count, const uint32_t* column, uint32_t bits)
{
    for (int x = from; x < count; ++x) {
        out[x] = bits | column[x];
    }
}

void OrRowsPlain(uint32_t* pixels, int width, int height, const uint32_t* column, const uint32_t* row,
                 uint32_t fixed)
{
    for (int y = 0; y < height; ++y) {
        OrRun(pixels + static_cast<size_t>(y) * width, 0, width, column, fixed | row[y]);
    }
}

SSE2_FUNCTION
void OrRowsSse2(uint32_t* pixels, int width, int height, const uint32_t* column, const uint32_t* row,
                uint32_t fixed)
{
    const int wide = width & ~7;
    for (int y = 0; y < height; ++y) {
        const uint32_t bits = fixed | row[y];
        const __m128i vbits = _mm_set1_epi32(static_cast<int>(bits));
        uint32_t* out = pixels + static_cast<size_t>(y) * width;
        int x = 0;
        for (; x < wide; x += 8) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column + x));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column + x + 4));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_or_si128(a, vbits));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 4), _mm_or_si128(b, vbits));
        }
        OrRun(out, x, width, column, bits);
    }
}

// ---- HSB sector terms ----------------------------------------------------------------------

struct Levels {
    uint32_t red;
    uint32_t green;
    uint32_t blue;
};

Levels SectorLevels(uint32_t h, uint32_t s)
{
    const uint32_t f = (h % kHueSectorSize) * 6;
    // Indexed by SectorLevel.
    const uint32_t levels[4] = {kFieldFull, 65535 - s, 65535 - ((s * f) >> 16),
                                65535 - ((s * (65535 - f)) >> 16)};
    const SectorLevel* sector = kSectorLevels[h / kHueSectorSize];
    return {levels[sector[0]], levels[sector[1]], levels[sector[2]]};
}

// (level * v) >> 24 per channel, placed straight into 0x00RRGGBB; level * v stays below 2^32.
inline uint32_t LevelPixel(uint32_t red, uint32_t green, uint32_t blue, uint32_t v)
{
    return (((red * v) >> 8) & 0xFF0000u) | (((green * v) >> 16) & 0xFF00u) | ((blue * v) >> 24);
}

// Modes 3 and 4: the levels vary by column, the brightness by row.
inline void LevelRun(uint32_t* out, int from, int count, const uint32_t* red, const uint32_t* green,
                     const uint32_t* blue, uint32_t v)
{
    for (int x = from; x < count; ++x) {
        out[x] = LevelPixel(red[x], green[x], blue[x], v);
    }
}

void LevelRowsPlain(uint32_t* pixels, int stride, int count, int height, const uint16_t* rowV,
                    const uint32_t* red, const uint32_t* green, const uint32_t* blue)
{
    for (int y = 0; y < height; ++y) {
        LevelRun(pixels + static_cast<size_t>(y) * stride, 0, count, red, green, blue, rowV[y]);
    }
}

// Levels run to 65536, one past 16 bits; since only the full level has bit 16 set,
// (level * v) >> 16 = mulhi(low 16 bits, v) + (full ? v : 0), all in 16-bit lanes.
struct LevelGroup {
    __m128i low[3];
    __m128i full[3];
};

SSE2_FUNCTION
void LevelRowsSse2(uint32_t* pixels, int stride, int count, int height, const uint16_t* rowV,
                   const uint32_t* red, const uint32_t* green, const uint32_t* blue)
{
    LevelGroup groups[kBlock / 8];
    const int groupCount = count / 8;
    const uint32_t* levels[3] = {red, green, blue};
    for (int g = 0; g < groupCount; ++g) {
        for (int c = 0; c < 3; ++c) {
            alignas(16) uint16_t low[8];
            alignas(16) uint16_t full[8];
            for (int i = 0; i < 8; ++i) {
                const uint32_t level = levels[c][g * 8 + i];
                low[i] = static_cast<uint16_t>(level);
                full[i] = level >> 16 ? 0xFFFF : 0;
            }
            groups[g].low[c] = _mm_load_si128(reinterpret_cast<const __m128i*>(low));
            groups[g].full[c] = _mm_load_si128(reinterpret_cast<const __m128i*>(full));
        }
    }

    const int wide = groupCount * 8;
    for (int y = 0; y < height; ++y) {
        const uint32_t v = rowV[y];
        const __m128i vv = _mm_set1_epi16(static_cast<short>(v));
        uint32_t* out = pixels + static_cast<size_t>(y) * stride;
        for (int g = 0; g < groupCount; ++g) {
            const LevelGroup& group = groups[g];
            __m128i ch[3];
            for (int c = 0; c < 3; ++c) {
                ch[c] = _mm_srli_epi16(
                    _mm_add_epi16(_mm_mulhi_epu16(group.low[c], vv), _mm_and_si128(group.full[c], vv)), 8);
            }
            const __m128i greenBlue = _mm_or_si128(ch[2], _mm_slli_epi16(ch[1], 8));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + g * 8), _mm_unpacklo_epi16(greenBlue, ch[0]));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + g * 8 + 4),
                             _mm_unpackhi_epi16(greenBlue, ch[0]));
        }
        LevelRun(out, wide, count, red, green, blue, v);
    }
}

// Mode 5: the brightness v is the same over the whole field, the hue runs along the columns and
// the saturation s up the rows. In each sector one channel is full, giving (65536 * v) >> 24 for
// the whole field; one is p = 65535 - s, the same along a row; only the third, q or t, varies
// from pixel to pixel: 65535 - ((s * factor) >> 16) with factor f or 65535 - f of the column.
struct BrightnessColumn {
    uint32_t full;    // the full channel's byte, in place
    uint32_t pShift;  // where the p channel goes in 0x00RRGGBB
    uint32_t shift;   // where the varying channel goes
    uint32_t factor;
};

BrightnessColumn BrightnessTerms(uint32_t h, uint32_t v)
{
    const uint32_t f = (h % kHueSectorSize) * 6;
    const SectorLevel* sector = kSectorLevels[h / kHueSectorSize];
    BrightnessColumn column = {};
    for (uint32_t c = 0; c < 3; ++c) {
        const uint32_t shift = 16 - 8 * c;
        switch (sector[c]) {
        case LevelFull:
            column.full = ((kFieldFull * v) >> 24) << shift;
            break;
        case LevelP:
            column.pShift = shift;
            break;
        case LevelQ:
            column.shift = shift;
            column.factor = f;
            break;
        case LevelT:
            column.shift = shift;
            column.factor = 65535 - f;
            break;
        }
    }
    return column;
}

// The varying channel's byte; the factor stays below 65536, so all of it fits 16-bit lanes.
inline uint32_t VaryingByte(uint32_t s, uint32_t factor, uint32_t v)
{
    return ((65535 - ((s * factor) >> 16)) * v) >> 24;
}

inline void BrightnessRun(uint32_t* out, int from, int count, const BrightnessColumn* columns, uint32_t s,
                          uint32_t v)
{
    const uint32_t p = ((65535 - s) * v) >> 24;
    for (int x = from; x < count; ++x) {
        const BrightnessColumn& c = columns[x];
        out[x] = c.full | (p << c.pShift) | (VaryingByte(s, c.factor, v) << c.shift);
    }
}

void BrightnessRowsPlain(uint32_t* pixels, int stride, int count, int height, const uint16_t* rowS,
                         const BrightnessColumn* columns, uint32_t v)
{
    for (int y = 0; y < height; ++y) {
        BrightnessRun(pixels + static_cast<size_t>(y) * stride, 0, count, columns, rowS[y], v);
    }
}

// Eight columns in 16-bit lanes, each pixel as its low half (green, blue) and high half (red):
// a byte goes to a half by a multiplier of 0, 1 or 256.
struct BrightnessGroup {
    __m128i factor;
    __m128i fullLow, fullHigh;
    __m128i pLow, pHigh;
    __m128i varyingLow, varyingHigh;
};

SSE2_FUNCTION
void BrightnessRowsSse2(uint32_t* pixels, int stride, int count, int height, const uint16_t* rowS,
                        const BrightnessColumn* columns, uint32_t v)
{
    BrightnessGroup groups[kBlock / 8];
    const int groupCount = count / 8;
    for (int g = 0; g < groupCount; ++g) {
        alignas(16) uint16_t lanes[7][8];
        for (int i = 0; i < 8; ++i) {
            const BrightnessColumn& c = columns[g * 8 + i];
            lanes[0][i] = static_cast<uint16_t>(c.factor);
            lanes[1][i] = static_cast<uint16_t>(c.full);
            lanes[2][i] = static_cast<uint16_t>(c.full >> 16);
            lanes[3][i] = static_cast<uint16_t>(c.pShift == 16 ? 0 : 1u << c.pShift);
            lanes[4][i] = static_cast<uint16_t>(c.pShift == 16 ? 1 : 0);
            lanes[5][i] = static_cast<uint16_t>(c.shift == 16 ? 0 : 1u << c.shift);
            lanes[6][i] = static_cast<uint16_t>(c.shift == 16 ? 1 : 0);
        }
        __m128i* fields[7] = {&groups[g].factor,     &groups[g].fullLow, &groups[g].fullHigh,
                              &groups[g].pLow,       &groups[g].pHigh,   &groups[g].varyingLow,
                              &groups[g].varyingHigh};
        for (int k = 0; k < 7; ++k)
            *fields[k] = _mm_load_si128(reinterpret_cast<const __m128i*>(lanes[k]));
    }

    const int wide = groupCount * 8;
    const __m128i vv = _mm_set1_epi16(static_cast<short>(v));
    const __m128i all = _mm_set1_epi16(-1);
    for (int y = 0; y < height; ++y) {
        const uint32_t s = rowS[y];
        const __m128i ss = _mm_set1_epi16(static_cast<short>(s));
        const __m128i pp = _mm_set1_epi16(static_cast<short>(((65535 - s) * v) >> 24));
        uint32_t* out = pixels + static_cast<size_t>(y) * stride;
        for (int g = 0; g < groupCount; ++g) {
            const BrightnessGroup& group = groups[g];
            const __m128i level = _mm_sub_epi16(all, _mm_mulhi_epu16(ss, group.factor));
            const __m128i varying = _mm_srli_epi16(_mm_mulhi_epu16(level, vv), 8);
            const __m128i low = _mm_or_si128(_mm_or_si128(group.fullLow, _mm_mullo_epi16(pp, group.pLow)),
                                             _mm_mullo_epi16(varying, group.varyingLow));
            const __m128i high = _mm_or_si128(_mm_or_si128(group.fullHigh, _mm_mullo_epi16(pp, group.pHigh)),
                                              _mm_mullo_epi16(varying, group.varyingHigh));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + g * 8), _mm_unpacklo_epi16(low, high));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + g * 8 + 4), _mm_unpackhi_epi16(low, high));
        }
        BrightnessRun(out, wide, count, columns, s, v);
    }
}

// ---- the fills per mode ------------------------------------------------------------------

void FillOr(uint32_t* pixels, int width, int height, const uint32_t* column, const uint32_t* row,
            uint32_t fixed)
{
    if (HaveSse2()) {
        OrRowsSse2(pixels, width, height, column, row, fixed);
    } else {
        OrRowsPlain(pixels, width, height, column, row, fixed);
    }
}

// Modes 3 and 4; `fixed` is the hue (mode 3) or the saturation (mode 4).
void FillLevels(uint32_t* pixels, int width, int height, bool hueFixed, uint32_t fixed,
                const SelectorTables& tables)
{
    uint32_t red[kBlock];
    uint32_t green[kBlock];
    uint32_t blue[kBlock];
    for (int x0 = 0; x0 < width; x0 += kBlock) {
        const int count = width - x0 < kBlock ? width - x0 : kBlock;
        for (int x = 0; x < count; ++x) {
            const uint32_t ramp = tables.columnRamp16[x0 + x];
            const Levels levels = hueFixed ? SectorLevels(fixed, ramp) : SectorLevels(ramp, fixed);
            red[x] = levels.red;
            green[x] = levels.green;
            blue[x] = levels.blue;
        }
        if (HaveSse2()) {
            LevelRowsSse2(pixels + x0, width, count, height, tables.rowRamp16.Data(), red, green, blue);
        } else {
            LevelRowsPlain(pixels + x0, width, count, height, tables.rowRamp16.Data(), red, green, blue);
        }
    }
}

void FillBrightness(uint32_t* pixels, int width, int height, uint32_t v, const SelectorTables& tables)
{
    BrightnessColumn columns[kBlock];
    for (int x0 = 0; x0 < width; x0 += kBlock) {
        const int count = width - x0 < kBlock ? width - x0 : kBlock;
        for (int x = 0; x < count; ++x) {
            columns[x] = BrightnessTerms(tables.columnRamp16[x0 + x], v);
        }
        if (HaveSse2()) {
            BrightnessRowsSse2(pixels + x0, width, count, height, tables.rowRamp16.Data(), columns, v);
        } else {
            BrightnessRowsPlain(pixels + x0, width, count, height, tables.rowRamp16.Data(), columns, v);
        }
    }
}

void FillRow(uint32_t* row, int width, uint32_t color)
{
    for (int x = 0; x < width; ++x) {
        row[x] = color;
    }
}

// The packed channel tables of a field axis: columns carry red or green, rows green or blue.
const uint32_t* ColumnChannel(const SelectorTables& tables, uint32_t axis)
{
    return axis == AxisRed ? tables.columnRed.Data() : tables.columnGreen.Data();
}

const uint32_t* RowChannel(const SelectorTables& tables, uint32_t axis)
{
    return axis == AxisGreen ? tables.rowGreen.Data() : tables.rowBlue.Data();
}

// The legend beside the strip of each slider axis, top and bottom; the hue's runs round the
// circle instead.
const struct {
    uint32_t top;
    uint32_t bottom;
} kLegends[COLOR_AXIS_COUNT] = {
    {0xFF0000, 0x000000},
    {0x00FF00, 0x000000},
    {0x0000FF, 0x000000},
    {0, 0},
    // Pure red over white: the saturation axis at hue 0, full brightness.
    {0xFF0000, 0xFFFFFF},
    {0xFFFFFF, 0x000000},
};

}  // namespace

bool BuildSelectorTables(SelectorTables* tables, int width, int height)
{
    FreeSelectorTables(tables);
    if (width < 2 || height < 2) {
        return false;
    }
    const size_t columns = static_cast<size_t>(width), rows = static_cast<size_t>(height);
    if (!tables->columnRamp16.Allocate(columns) || !tables->rowRamp16.Allocate(rows) ||
        !tables->columnRamp8.Allocate(columns) || !tables->rowRamp8.Allocate(rows) ||
        !tables->columnRed.Allocate(columns) || !tables->columnGreen.Allocate(columns) ||
        !tables->rowGreen.Allocate(rows) || !tables->rowBlue.Allocate(rows)) {
        return false;
    }
    const uint32_t lastColumn = static_cast<uint32_t>(width) - 1;
    const uint32_t lastRow = static_cast<uint32_t>(height) - 1;
    for (uint32_t x = 0; x <= lastColumn; ++x) {
        const uint32_t ramp8 = x * 255 / lastColumn;
        tables->columnRamp16[x] = static_cast<uint16_t>(x * 65535 / lastColumn);
        tables->columnRamp8[x] = static_cast<uint8_t>(ramp8);
        tables->columnRed[x] = ramp8 << 16;
        tables->columnGreen[x] = ramp8 << 8;
    }
    for (uint32_t y = 0; y <= lastRow; ++y) {
        const uint32_t ramp8 = y * 255 / lastRow;
        tables->rowRamp16[y] = static_cast<uint16_t>(y * 65535 / lastRow);
        tables->rowRamp8[y] = static_cast<uint8_t>(ramp8);
        tables->rowGreen[y] = ramp8 << 8;
        tables->rowBlue[y] = ramp8;
    }
    return true;
}

void FreeSelectorTables(SelectorTables* tables)
{
    tables->columnRamp16.Free();
    tables->rowRamp16.Free();
    tables->columnRamp8.Free();
    tables->rowRamp8.Free();
    tables->columnRed.Free();
    tables->columnGreen.Free();
    tables->rowGreen.Free();
    tables->rowBlue.Free();
}

void FillField(uint32_t* pixels, int width, int height, uint32_t mode, const ColorValue& current,
               const SelectorTables& tables)
{
    if (width <= 0 || height <= 0 || mode >= COLOR_AXIS_COUNT) {
        return;
    }
    const ModeAxes& axes = GetModeAxes(mode);
    const uint32_t fixed = GetAxisValue(current, axes.slider);
    if (IsRgbAxis(axes.slider)) {
        FillOr(pixels, width, height, ColumnChannel(tables, axes.column), RowChannel(tables, axes.row),
               fixed << GetAxisRange(axes.slider).packedShift);
    } else if (axes.slider == AxisBrightness) {
        FillBrightness(pixels, width, height, fixed, tables);
    } else {
        FillLevels(pixels, width, height, axes.slider == AxisHue, fixed, tables);
    }
}

POINT FieldMarkerPosition(uint32_t mode, const ColorValue& current, int width, int height)
{
    if (mode >= COLOR_AXIS_COUNT) {
        return {0, 0};
    }
    const ModeAxes& axes = GetModeAxes(mode);
    auto scaled = [&](uint32_t axis, int last) {
        return static_cast<int>(GetAxisValue(current, axis)) * last /
               static_cast<int>(GetAxisRange(axis).full);
    };
    return {scaled(axes.column, width - 1), scaled(axes.row, height - 1)};
}

int FieldMarkerArm(int dpi)
{
    return ScaleToDpi(kFieldMarkerArm, dpi);
}

void XorFieldMarker(uint32_t* pixels, int width, int height, int column, int row, int arm)
{
    // The centre lies on both bars, so it is inverted twice and keeps the field's colour.
    if (row >= 0 && row < height) {
        const int from = column - arm > 0 ? column - arm : 0;
        const int to = column + arm + 1 < width ? column + arm + 1 : width;
        uint32_t* line = pixels + static_cast<size_t>(row) * width;
        for (int x = from; x < to; ++x) {
            line[x] ^= 0xFFFFFFu;
        }
    }
    if (column >= 0 && column < width) {
        const int from = row - arm > 0 ? row - arm : 0;
        const int to = row + arm + 1 < height ? row + arm + 1 : height;
        for (int y = from; y < to; ++y) {
            pixels[static_cast<size_t>(y) * width + column] ^= 0xFFFFFFu;
        }
    }
}

void FillGradientStrip(uint32_t top, uint32_t bottom, uint32_t* pixels, const BITMAPINFOHEADER& header)
{
    const int width = header.biWidth;
    const int height = header.biHeight;
    if (width <= 0 || height <= 0) {
        return;
    }
    int bottomChannel[3];
    int span[3];
    for (int c = 0; c < 3; ++c) {
        const int shift = 16 - 8 * c;
        bottomChannel[c] = static_cast<int>((bottom >> shift) & 0xFF);
        span[c] = static_cast<int>((top >> shift) & 0xFF) - bottomChannel[c];
    }
    for (int i = 0; i < height; ++i) {
        const double f = Rounded(static_cast<double>(i) / static_cast<double>(height));
        uint32_t color = 0;
        for (int c = 0; c < 3; ++c) {
            const int step = static_cast<int>(Rounded(static_cast<double>(span[c]) * f));
            color |= static_cast<uint32_t>(bottomChannel[c] + step) << (16 - 8 * c);
        }
        FillRow(pixels + static_cast<size_t>(i) * width, width, color);
    }
}

void FillSliderStrip(uint32_t* pixels, const BITMAPINFOHEADER& header, uint32_t mode,
                     const ColorValue& current)
{
    const int width = header.biWidth;
    const int height = header.biHeight;
    if (width <= 0 || height <= 0 || mode >= COLOR_AXIS_COUNT) {
        return;
    }
    if (mode == AxisHue) {
        // After the first row the copy is in Hsb form, so only its hue changes.
        ColorValue color = current;
        for (int y = 0; y < height; ++y) {
            color.SetHue(static_cast<uint32_t>(y) * 65535u / static_cast<uint32_t>(height));
            FillRow(pixels + static_cast<size_t>(y) * width, width, color.GetRgb());
        }
        return;
    }
    ColorValue top = current;
    ColorValue bottom = current;
    SetAxisValue(&top, mode, GetAxisRange(mode).full);
    SetAxisValue(&bottom, mode, 0);
    FillGradientStrip(top.GetRgb(), bottom.GetRgb(), pixels, header);
}

void FillReferenceStrip(uint32_t* pixels, const BITMAPINFOHEADER& header, uint32_t mode)
{
    const int width = header.biWidth;
    const int height = header.biHeight;
    if (width <= 0 || height <= 0 || mode >= COLOR_AXIS_COUNT) {
        return;
    }
    if (mode == AxisHue) {
        for (int y = 0; y < height; ++y) {
            ColorValue color{};
            color.SetHsb(static_cast<uint32_t>(y) * 65535u / static_cast<uint32_t>(height), 65535, 65535);
            FillRow(pixels + static_cast<size_t>(y) * width, width, color.GetRgb());
        }
        return;
    }
    FillGradientStrip(kLegends[mode].top, kLegends[mode].bottom, pixels, header);
}

int SliderPosition(uint32_t mode, const ColorValue& current, int stripHeight)
{
    if (mode >= COLOR_AXIS_COUNT) {
        return 0;
    }
    const uint32_t component = GetAxisValue(current, mode);
    return static_cast<int>(component * static_cast<uint32_t>(stripHeight) >> GetAxisRange(mode).bits);
}

void ApplySliderPoint(ColorValue* color, uint32_t mode, int y, int barBottom, int barHeight)
{
    if (barHeight <= 0 || mode >= COLOR_AXIS_COUNT) {
        return;
    }
    int v = barBottom - y;
    if (v < 0) {
        v = 0;
    }
    if (v > barHeight) {
        v = barHeight;
    }
    SetAxisValue(color, mode,
                 static_cast<uint32_t>(v) * GetAxisRange(mode).full / static_cast<uint32_t>(barHeight));
}

void ApplyFieldPoint(ColorValue* color, uint32_t mode, int x, int y, int width, int height,
                     const SelectorTables& tables)
{
    if (width <= 0 || height <= 0 || mode >= COLOR_AXIS_COUNT) {
        return;
    }
    const int column = x < 0 ? 0 : (x > width - 1 ? width - 1 : x);
    int row = height - y;
    row = row < 0 ? 0 : (row > height - 1 ? height - 1 : row);
    const ModeAxes& axes = GetModeAxes(mode);
    const bool eightBit = GetAxisRange(axes.column).bits == 8;
    SetAxisValue(color, axes.column, eightBit ? tables.columnRamp8[column] : tables.columnRamp16[column]);
    SetAxisValue(color, axes.row, eightBit ? tables.rowRamp8[row] : tables.rowRamp16[row]);
}

SliderLayout LayOutSlider(int width, int height, int dpi)
{
    const int arrowHeight = ScaleToDpi(kSliderArrowHeight, dpi);
    const int arrowWidth = (arrowHeight + 1) / 2;
    SliderLayout layout;
    layout.leftArrow = {0, 0, arrowWidth, arrowHeight};
    layout.rightArrow = {width - arrowWidth, 0, width, arrowHeight};
    // At the lowest value the arrows' tips (row arrowHeight / 2) sit on the strips' bottom edge
    // and the arrows end on the control's last row; at the highest they reach its top.
    layout.strip = {arrowWidth, arrowHeight / 2, layout.rightArrow.left - ScaleToDpi(7, dpi),
                    height - (arrowHeight - arrowHeight / 2)};
    layout.reference = {layout.strip.right + 1, layout.strip.top, layout.rightArrow.left,
                        layout.strip.bottom};
    return layout;
}

void DrawSliderArrowBits(uint8_t* bits, int width, int height, bool pointingRight)
{
    const int stride = (width + 15) / 16 * 2;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bits + static_cast<size_t>(y) * stride;
        for (int i = 0; i < stride; ++i)
            row[i] = 0xFF;
        // Black from the base to the slope: one column more per row towards the middle.
        const int reach = y < height - 1 - y ? y : height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const int fromBase = pointingRight ? x : width - 1 - x;
            if (fromBase <= reach)
                row[x / 8] &= static_cast<uint8_t>(~(0x80 >> (x % 8)));
        }
    }
}
