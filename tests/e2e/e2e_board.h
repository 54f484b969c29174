// What the screen-grab drivers share: a window of the driver showing a board of known colours
// for the grab to read, and the magnifier popup's geometry.
#pragma once
#include <windows.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "tests/e2e/e2e_checks.h"
#include "tests/e2e/e2e_input.h"
#include "tests/e2e/e2e_program.h"
#include "tests/e2e/e2e_screen.h"
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

// Once the popup sits at topLeft, where the pointer's resting place puts it; a failure says where
// it is instead.
inline bool PopupSettlesAt(const Tintora& app, POINT topLeft)
{
    const RECT expected = {topLeft.x, topLeft.y, topLeft.x + kPopupSize, topLeft.y + kPopupSize};
    if (WaitNudgingPointer([&] { return WindowRect(FindPopup(app)) == expected; }))
        return true;
    ADD_FAILURE() << "the popup is at " << testing::PrintToString(WindowRect(FindPopup(app))) << ", not at "
                  << testing::PrintToString(expected);
    return false;
}

// The popup's client area as it is on the screen.
inline Pixels CaptureMagnifier(HWND popup)
{
    RECT client = ClientRect(popup);
    MapWindowPoints(popup, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return CaptureScreen(client);
}

// The popup's client area on the screen once shows(pixels) holds for it (or the hang guard ran
// out). The popup reads the screen when it paints, and what it read may be what a window had
// not yet repainted after the popup itself moved off it; a move of nothing makes it paint
// again, as the next move of a hand would.
template <typename Shows>
Pixels WaitForMagnifier(const Tintora& app, Shows shows)
{
    Pixels m;
    WaitUntil(kHangGuardMs, [&] {
        m = CaptureMagnifier(FindPopup(app));
        if (m.width == 98 && m.height == 98 && shows(m))
            return true;
        SendMouse(MOUSEEVENTF_MOVE);
        return false;
    });
    return m;
}

// ---- input and colours ---------------------------------------------------------------------

inline std::string HexOf(uint32_t rgb)
{
    return Lower(HexText(rgb));
}

inline uint32_t RgbOfSysColor(int index)
{
    const COLORREF c = GetSysColor(index);
    return static_cast<uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

// Ends a test with the mouse buttons up whatever happened on the way.
struct ButtonGuard {
    ~ButtonGuard()
    {
        if (GetAsyncKeyState(VK_LBUTTON) & 0x8000)
            LeftUp();
        if (GetAsyncKeyState(VK_RBUTTON) & 0x8000)
            SendMouse(MOUSEEVENTF_RIGHTUP);
    }
};

// Presses on the grab icon; true once the popup shows, which it does when the grab is set up.
inline bool PressGrabIcon(Tintora& app)
{
    if (!MoveTo(Centre(WindowRect(app.Item(kGrabIcon)))))
        return false;
    FreshLeftDown();
    return CHECKED_SOON(FindPopup(app) && IsWindowVisible(FindPopup(app)));
}

// ---- a board of known colours --------------------------------------------------------------

// Every pixel of the board has its own colour: red counts the columns, green the rows.
const int kBoardSize = 256;
const int kBoardBlue = 0x5A;

inline uint32_t BoardColor(int x, int y)
{
    return static_cast<uint32_t>(x) << 16 | static_cast<uint32_t>(y) << 8 | kBoardBlue;
}

typedef uint32_t (*BoardPattern)(int x, int y);

// A window of the driver on a thread of its own, so it repaints while the driver waits. Its
// pixels follow the pattern, every one of them turned by the mask (all bits it holds flipped), so
// the test can change what the screen shows under the pointer.
class Board {
public:
    explicit Board(POINT origin, BoardPattern pattern = BoardColor) : origin_(origin), pattern_(pattern)
    {
        Fill(0);
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, ready] {
            WNDCLASSA windowClass = {};
            windowClass.lpfnWndProc = Proc;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.lpszClassName = "Tintora e2e colour board";
            RegisterClassA(&windowClass);
            // Scenery only: a board that took the activation could take it back from the
            // program later, when its thread gets round to the focus event.
            window_ = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, windowClass.lpszClassName, "",
                                      WS_POPUP, origin_.x, origin_.y, kBoardSize, kBoardSize, nullptr,
                                      nullptr, windowClass.hInstance, this);
            if (window_) {
                ShowWindow(window_, SW_SHOWNOACTIVATE);
                UpdateWindow(window_);
            }
            SetEvent(ready);
            MSG msg;
            while (window_ && GetMessageA(&msg, nullptr, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        });
        WaitForSingleObject(ready, kHangGuardMs);
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
    // The colour the board shows at (x, y) now.
    uint32_t ColorAt(int x, int y) const { return (pattern_(x, y) ^ mask_) & 0xFFFFFF; }
    // From now on the board shows every pixel turned by `mask`; its thread repaints it.
    void Recolour(uint32_t mask) { SendMessageA(window_, kRecolour, mask, 0); }
    // True once the screen shows the board's pixel (x, y) as it is now.
    bool ShowsAt(int x, int y) const
    {
        const POINT p = At(x, y);
        return CaptureScreen(RECT{p.x, p.y, p.x + 1, p.y + 1}).At(0, 0) == ColorAt(x, y);
    }
    // True once the screen shows the board's own pixels.
    bool Shown() const
    {
        Pixels shot = CaptureScreen(Rect());
        return shot.width == kBoardSize && shot.At(0, 0) == ColorAt(0, 0) &&
               shot.At(kBoardSize - 1, kBoardSize - 1) == ColorAt(kBoardSize - 1, kBoardSize - 1) &&
               shot.At(123, 77) == ColorAt(123, 77) && shot.At(128, 128) == ColorAt(128, 128);
    }

private:
    static constexpr UINT kRecolour = WM_APP + 1;

    void Fill(uint32_t mask)
    {
        mask_ = mask;
        pixels_.resize(kBoardSize * kBoardSize);
        for (int y = 0; y < kBoardSize; ++y)
            for (int x = 0; x < kBoardSize; ++x)
                pixels_[y * kBoardSize + x] = ColorAt(x, y);
    }

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
    {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(
                window, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams));
        auto* self = reinterpret_cast<Board*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        switch (message) {
        case kRecolour:
            self->Fill(static_cast<uint32_t>(wparam));
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_PAINT: {
            const BITMAPINFO info = TopDownDibInfo(kBoardSize, kBoardSize);
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            SetDIBitsToDevice(dc, 0, 0, kBoardSize, kBoardSize, 0, 0, 0, kBoardSize, self->pixels_.data(),
                              &info, DIB_RGB_COLORS);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcA(window, message, wparam, lparam);
    }

    POINT origin_;
    BoardPattern pattern_;
    uint32_t mask_ = 0;
    std::vector<uint32_t> pixels_;
    HWND window_ = nullptr;
    std::thread thread_;
};

}  // namespace e2e
