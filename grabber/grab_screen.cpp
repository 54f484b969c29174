// What the grab reads of the screen: a block of pixels copied in one go, from the screen itself
// or from the copy of it taken when the grab froze it. Under Wine every single-pixel read is a
// round trip to the X server, which a block of them at a paint made slower than a frame.
#include <cstring>

#include "grabber/grabber.h"

namespace {

LONG Width(const RECT& r)
{
    return r.right - r.left;
}
LONG Height(const RECT& r)
{
    return r.bottom - r.top;
}

bool MakeDib(ScreenPixels* copy, LONG width, LONG height)
{
    FreeScreenPixels(copy);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    copy->bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    copy->dc.Reset(CreateCompatibleDC(nullptr));
    if (!copy->bitmap || !copy->dc || !SelectObject(copy->dc, copy->bitmap)) {
        FreeScreenPixels(copy);
        return false;
    }
    copy->bits = static_cast<uint32_t*>(bits);
    return true;
}

}  // namespace

bool CopyScreen(ScreenPixels* copy, const RECT& area, const RECT& screens)
{
    if (Width(area) <= 0 || Height(area) <= 0)
        return false;
    if (!copy->bits || Width(copy->area) != Width(area) || Height(copy->area) != Height(area)) {
        if (!MakeDib(copy, Width(area), Height(area)))
            return false;
    }
    copy->area = area;
    // Only what lies on the screens: what a blit would make of the rest is undefined.
    RECT part;
    if (!IntersectRect(&part, &area, &screens))
        return true;
    WindowDC screen(nullptr);
    if (!screen)
        return false;
    const bool copied = BitBlt(copy->dc, part.left - area.left, part.top - area.top, Width(part),
                               Height(part), screen, part.left, part.top, SRCCOPY) != FALSE;
    GdiFlush();
    return copied;
}

void FreeScreenPixels(ScreenPixels* copy)
{
    // The DC goes first, letting go of its bitmap.
    copy->dc.Reset();
    copy->bitmap.Reset();
    copy->bits = nullptr;
    copy->area = RECT{};
}

bool ReadGrabPixels(GrabberState* grabber, const RECT& area, uint32_t* pixels)
{
    const ScreenPixels* source = &grabber->frozen;
    if (!source->bits) {
        if (!CopyScreen(&grabber->block, area, grabber->screens.all))
            return false;
        source = &grabber->block;
    }
    RECT part;
    if (!IntersectRect(&part, &area, &source->area))
        return true;
    const size_t bytes = static_cast<size_t>(Width(part)) * sizeof(uint32_t);
    for (LONG y = part.top; y < part.bottom; ++y)
        memcpy(pixels + (y - area.top) * Width(area) + (part.left - area.left),
               source->bits + (y - source->area.top) * Width(source->area) + (part.left - source->area.left),
               bytes);
    return true;
}

RECT SampleSquare(uint32_t sampleSize, POINT at)
{
    const LONG size = static_cast<LONG>(ValidSampleSize(sampleSize)), half = size / 2;
    return RECT{at.x - half, at.y - half, at.x - half + size, at.y - half + size};
}

bool SampleOf(const GrabberState* grabber, POINT at, const RECT& area, const uint32_t* pixels, uint32_t* rgb)
{
    const RECT square = SampleSquare(grabber->sampleSize, at);
    const LONG size = square.right - square.left, width = area.right - area.left;
    uint32_t taken[GRAB_SAMPLE_LARGEST * GRAB_SAMPLE_LARGEST] = {};
    bool counted[GRAB_SAMPLE_LARGEST * GRAB_SAMPLE_LARGEST] = {};
    for (LONG y = 0; y < size; ++y) {
        for (LONG x = 0; x < size; ++x) {
            const POINT p = {square.left + x, square.top + y};
            const LONG i = y * size + x;
            // A point off every screen has no colour to take; in a larger sample, pixels off every
            // monitor are no part of what is under the pointer.
            counted[i] =
                size == 1 ? PtInRect(&grabber->screens.all, p) != FALSE : OnAMonitor(grabber->screens, p);
            counted[i] = counted[i] && PtInRect(&area, p);
            if (counted[i])
                taken[i] = pixels[(p.y - area.top) * width + (p.x - area.left)];
        }
    }
    return MeanOfPixels(taken, counted, static_cast<size_t>(size * size), rgb);
}
