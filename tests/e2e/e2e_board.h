// A window of the driver showing a board of known colours, for the screen grab to read.
#pragma once
#include <windows.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "tests/e2e/e2e_support.h"
#include "tests/shared/dib_canvas.h"

namespace e2e {

// ---- a board of known colours --------------------------------------------------------------

// Every pixel of the board has its own colour: red counts the columns, green the rows.
const int kBoardSize = 256;
const int kBoardBlue = 0x5A;

inline uint32_t BoardColor(int x, int y)
{
    return static_cast<uint32_t>(x) << 16 | static_cast<uint32_t>(y) << 8 | kBoardBlue;
}

inline LRESULT CALLBACK BoardProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_PAINT) {
        static std::vector<uint32_t> pixels = [] {
            std::vector<uint32_t> p(kBoardSize * kBoardSize);
            for (int y = 0; y < kBoardSize; ++y)
                for (int x = 0; x < kBoardSize; ++x)
                    p[y * kBoardSize + x] = BoardColor(x, y);
            return p;
        }();
        const BITMAPINFO info = TopDownDibInfo(kBoardSize, kBoardSize);
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        SetDIBitsToDevice(dc, 0, 0, kBoardSize, kBoardSize, 0, 0, 0, kBoardSize, pixels.data(), &info,
                          DIB_RGB_COLORS);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

// A window of the driver on a thread of its own, so it repaints while the driver waits.
class Board {
public:
    explicit Board(POINT origin) : origin_(origin)
    {
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, ready] {
            WNDCLASSA windowClass = {};
            windowClass.lpfnWndProc = BoardProc;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.lpszClassName = "Tintora e2e colour board";
            RegisterClassA(&windowClass);
            window_ = CreateWindowExA(WS_EX_TOOLWINDOW, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE,
                                      origin_.x, origin_.y, kBoardSize, kBoardSize, nullptr, nullptr,
                                      windowClass.hInstance, nullptr);
            if (window_)
                UpdateWindow(window_);
            SetEvent(ready);
            MSG msg;
            while (window_ && GetMessageA(&msg, nullptr, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        });
        WaitForSingleObject(ready, 5000);
        CloseHandle(ready);
    }
    ~Board()
    {
        if (window_)
            PostMessageA(window_, WM_CLOSE, 0, 0);
        thread_.join();
    }
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    bool Ready() const { return window_ != nullptr; }
    RECT Rect() const { return RECT{origin_.x, origin_.y, origin_.x + kBoardSize, origin_.y + kBoardSize}; }
    POINT At(int x, int y) const { return POINT{origin_.x + x, origin_.y + y}; }
    // True once the screen shows the board's own pixels.
    bool Shown() const
    {
        Pixels shot = CaptureScreen(Rect());
        return shot.width == kBoardSize && shot.At(0, 0) == BoardColor(0, 0) &&
               shot.At(kBoardSize - 1, kBoardSize - 1) == BoardColor(kBoardSize - 1, kBoardSize - 1) &&
               shot.At(123, 77) == BoardColor(123, 77);
    }

private:
    POINT origin_;
    HWND window_ = nullptr;
    std::thread thread_;
};

}  // namespace e2e
