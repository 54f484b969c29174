// A top-down 32-bit DIB section selected into a memory DC: something to draw into and read
// back, one 0x00RRGGBB word a pixel, rows from the top.
#pragma once
#include <windows.h>

#include <cstdint>

inline BITMAPINFO TopDownDibInfo(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

class DibCanvas {
public:
    DibCanvas(int width, int height) : width_(width), height_(height)
    {
        const BITMAPINFO info = TopDownDibInfo(width, height);
        dc_ = CreateCompatibleDC(nullptr);
        void* memory = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
        if (dc_ && bitmap_) {
            bits_ = static_cast<uint32_t*>(memory);
            old_ = SelectObject(dc_, bitmap_);
        }
    }
    ~DibCanvas()
    {
        if (old_)
            SelectObject(dc_, old_);
        if (bitmap_)
            DeleteObject(bitmap_);
        if (dc_)
            DeleteDC(dc_);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    bool Ok() const { return bits_ != nullptr; }
    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The pixels as stored; read them only after GdiFlush, once GDI has finished drawing.
    uint32_t* Bits() const { return bits_; }
    // One pixel as 0x00RRGGBB, after what GDI still had to draw.
    uint32_t Word(int x, int y) const
    {
        GdiFlush();
        return bits_[static_cast<size_t>(y) * width_ + x] & 0x00FFFFFF;
    }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};
