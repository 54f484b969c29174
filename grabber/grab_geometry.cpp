// Where the grab popup goes, how its client area divides, and what a sample square averages:
// arithmetic only, no windows.
#include <algorithm>

#include "grabber/grabber.h"

namespace {

const LONG kSeparatorHeight = 1;

LONG SideOffset(uint32_t flip, uint32_t bit)
{
    return (flip & bit) ? -(GRAB_POPUP_SIZE + GRAB_POPUP_GAP) : GRAB_POPUP_GAP;
}

}  // namespace

POINT PlaceGrabPopup(POINT cursor, const RECT& desktop, uint32_t* flip)
{
    const LONG x = cursor.x + SideOffset(*flip, GF_LEFT);
    const LONG y = cursor.y + SideOffset(*flip, GF_ABOVE);
    // Tested in this order, so a desktop too small for either side ends up flipped.
    if (x < desktop.left)
        *flip &= ~GF_LEFT;
    if (x + GRAB_POPUP_SIZE > desktop.right)
        *flip |= GF_LEFT;
    if (y < desktop.top)
        *flip &= ~GF_ABOVE;
    if (y + GRAB_POPUP_SIZE > desktop.bottom)
        *flip |= GF_ABOVE;
    return POINT{cursor.x + SideOffset(*flip, GF_LEFT), cursor.y + SideOffset(*flip, GF_ABOVE)};
}

MagnifierLayout LayoutMagnifier(const RECT& client)
{
    MagnifierLayout m = {};
    const LONG bandTop = client.bottom - MAGNIFIER_BAND;
    const LONG separatorTop = bandTop - kSeparatorHeight;
    m.area = RECT{client.left, client.top, client.right, separatorTop};
    m.separator = RECT{client.left, separatorTop, client.right, bandTop};
    m.band = RECT{client.left, bandTop, client.right, client.bottom};

    const LONG width = std::max<LONG>(m.area.right - m.area.left, 0);
    const LONG height = std::max<LONG>(m.area.bottom - m.area.top, 0);
    m.centreColumn = (width / 2) / MAGNIFIER_CELL;
    m.centreRow = (height / 2) / MAGNIFIER_CELL;
    m.columns = (width + MAGNIFIER_CELL - 1) / MAGNIFIER_CELL;
    m.rows = (height + MAGNIFIER_CELL - 1) / MAGNIFIER_CELL;
    m.crossHair = POINT{m.area.left + MAGNIFIER_CELL * m.centreColumn + MAGNIFIER_CELL / 2,
                        m.area.top + MAGNIFIER_CELL * m.centreRow + MAGNIFIER_CELL / 2};
    return m;
}

RECT MagnifierCell(const MagnifierLayout& layout, int32_t column, int32_t row)
{
    const LONG left = layout.area.left + column * MAGNIFIER_CELL;
    const LONG top = layout.area.top + row * MAGNIFIER_CELL;
    return RECT{left, top, std::min<LONG>(left + MAGNIFIER_CELL, layout.area.right),
                std::min<LONG>(top + MAGNIFIER_CELL, layout.area.bottom)};
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
