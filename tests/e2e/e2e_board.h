// What the screen-grab drivers share: a window of the driver showing a board of known colours
// for the grab to read, the magnifier popup's geometry, and moving the pointer for a drag.
#pragma once
#include <windows.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "tests/e2e/e2e_support.h"
#include "tests/shared/dib_canvas.h"

namespace e2e {

// ---- the magnifier popup -------------------------------------------------------------------

const char kGrabberClass[] = "Ostrel ColorGrabber";
const int kPopupSize = 100;
const int kCell = 6;
// The magnifier's 98 x 98 client area: centre cell (8, 6), cross-hair through its middle,
// separator row and info band below the magnified area.
const int kCentreColumn = 8;
const int kCentreRow = 6;
const int kCrossX = 51;
const int kCrossY = 39;
const int kAreaHeight = 83;
const int kSeparatorY = 83;
const int kBandTop = 84;

inline HWND FindPopup(const Tintora& app)
{
    return FindTopLevel(app.ProcessId(), [](HWND window) { return ClassName(window) == kGrabberClass; });
}

// ---- the pointer ---------------------------------------------------------------------------

// An absolute move to the pixel p of any monitor.
//
// Under Wine the move also warps the X pointer, and the program receiving the pointer's X
// events turns them into mouse moves of its own when it next reads them. So after each move
// the program is given time to read what is pending; should a late event have put the cursor
// back, the move is made again.
inline bool MoveTo(POINT p, HWND program)
{
    const DWORD waitMs = 3000;
    for (int attempt = 0; attempt < 3; ++attempt) {
        SendMouseOnVirtualScreen(0, p);
        if (!WaitUntil(waitMs, [&] { return Cursor() == p; }))
            break;
        Sleep(40);
        DWORD_PTR ignored;
        SendMessageTimeoutA(program, WM_NULL, 0, 0, SMTO_NORMAL, waitMs, &ignored);
        if (Cursor() == p)
            return true;
    }
    FAIL("the cursor went to " + Show(Cursor()) + " instead of " + Show(p));
    return false;
}

// A drag in a few steps, as a hand would move.
inline bool DragTo(POINT to, HWND program)
{
    const POINT from = Cursor();
    for (int step = 1; step <= 4; ++step)
        if (!MoveTo(POINT{from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4}, program))
            return false;
    return true;
}

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
