// Where the grab popup goes, how its client area divides, and what a sample square averages:
// arithmetic only, no windows.
#include <algorithm>

#include "core/dpi.h"
#include "grabber/grabber.h"

namespace {

const LONG kSeparatorHeight = 1;

LONG SideOffset(uint32_t flip, uint32_t bit, const GrabSizes& sizes)
{
    return (flip & bit) ? -(sizes.popup + sizes.gap) : sizes.gap;
}

}  // namespace

GrabSizes GrabSizesFor(int dpi)
{
    return GrabSizes{ScaleToDpi(kGrabSizes96.popup, dpi), ScaleToDpi(kGrabSizes96.gap, dpi),
                     ScaleToDpi(kGrabSizes96.cell, dpi), ScaleToDpi(kGrabSizes96.band, dpi)};
}

POINT PlaceGrabPopup(POINT cursor, const RECT& desktop, uint32_t* flip, const GrabSizes& sizes)
{
    const LONG x = cursor.x + SideOffset(*flip, GF_LEFT, sizes);
    const LONG y = cursor.y + SideOffset(*flip, GF_ABOVE, sizes);
    // Tested in this order, so a desktop too small for either side ends up flipped.
    if (x < desktop.left)
        *flip &= ~GF_LEFT;
    if (x + sizes.popup > desktop.right)
        *flip |= GF_LEFT;
    if (y < desktop.top)
        *flip &= ~GF_ABOVE;
    if (y + sizes.popup > desktop.bottom)
        *flip |= GF_ABOVE;
    return POINT{cursor.x + SideOffset(*flip, GF_LEFT, sizes), cursor.y + SideOffset(*flip, GF_ABOVE, sizes)};
}

MagnifierLayout LayoutMagnifier(const RECT& client, const GrabSizes& sizes)
{
    MagnifierLayout m = {};
    const LONG cell = sizes.cell;
    m.cell = cell;
    const LONG bandTop = client.bottom - sizes.band;
    const LONG separatorTop = bandTop - kSeparatorHeight;
    m.area = RECT{client.left, client.top, client.right, separatorTop};
    m.separator = RECT{client.left, separatorTop, client.right, bandTop};
    m.band = RECT{client.left, bandTop, client.right, client.bottom};

    const LONG width = std::max<LONG>(m.area.right - m.area.left, 0);
    const LONG height = std::max<LONG>(m.area.bottom - m.area.top, 0);
    m.centreColumn = (width / 2) / cell;
    m.centreRow = (height / 2) / cell;
    m.columns = (width + cell - 1) / cell;
    m.rows = (height + cell - 1) / cell;
    m.crossHair =
        POINT{m.area.left + cell * m.centreColumn + cell / 2, m.area.top + cell * m.centreRow + cell / 2};
    return m;
}

RECT MagnifierCell(const MagnifierLayout& layout, int32_t column, int32_t row)
{
    const LONG left = layout.area.left + column * layout.cell;
    const LONG top = layout.area.top + row * layout.cell;
    return RECT{left, top, std::min<LONG>(left + layout.cell, layout.area.right),
                std::min<LONG>(top + layout.cell, layout.area.bottom)};
}

POINT MagnifierSource(const MagnifierLayout& layout, POINT cursor, int32_t column, int32_t row)
{
    return POINT{cursor.x + column - layout.centreColumn, cursor.y + row - layout.centreRow};
}

uint32_t ValidSampleSize(uint32_t size)
{
    return size == 3 || size == 5 ? size : 1;
}

bool MeanOfPixels(const uint32_t* pixels, const bool* counted, size_t count, uint32_t* mean)
{
    uint32_t red = 0, green = 0, blue = 0, n = 0;
    for (size_t i = 0; i < count; ++i) {
        if (!counted[i])
            continue;
        red += pixels[i] >> 16 & 0xFF;
        green += pixels[i] >> 8 & 0xFF;
        blue += pixels[i] & 0xFF;
        ++n;
    }
    if (n == 0)
        return false;
    auto rounded = [n](uint32_t sum) { return (sum + n / 2) / n; };
    *mean = rounded(red) << 16 | rounded(green) << 8 | rounded(blue);
    return true;
}
