// A pick from anywhere, driven as a hand does: the system-wide key, the still screen it brings
// up, and a window of another program that has the focus meanwhile.
#pragma once
#include <windows.h>

#include <cstdint>
#include <thread>

#include "grabber/grabber.h"
#include "settings/pick_key.h"
#include "tests/e2e/e2e_checks.h"
#include "tests/e2e/e2e_input.h"
#include "tests/e2e/e2e_program.h"
#include "tests/e2e/e2e_screen.h"

namespace e2e {

// The key's chord as a hand presses it: modifiers down, the key, modifiers up.
inline void PressPickKey(uint32_t key = DEFAULT_PICK_KEY)
{
    // The window in front reads its events first: under Wine a focus it has just gained brings
    // the keyboard's state along, which landing in the middle of the chord would let go of Shift.
    DWORD_PTR answered;
    if (HWND front = GetForegroundWindow())
        SendMessageTimeoutA(front, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kHangGuardMs, &answered);
    const UINT flags = key >> 8 & 0xFF;
    const WORD modifiers[] = {
        static_cast<WORD>(key & PICK_KEY_WIN ? VK_LWIN : 0),
        static_cast<WORD>(flags & HOTKEYF_CONTROL ? VK_CONTROL : 0),
        static_cast<WORD>(flags & HOTKEYF_ALT ? VK_MENU : 0),
        static_cast<WORD>(flags & HOTKEYF_SHIFT ? VK_SHIFT : 0),
    };
    for (WORD modifier : modifiers)
        if (modifier)
            HoldKey(modifier, true);
    Key(static_cast<WORD>(key & 0xFF));
    for (int i = 3; i >= 0; --i)
        if (modifiers[i])
            HoldKey(modifiers[i], false);
}

// The still screen of a pick that runs, shown; null when none is.
inline HWND FindPickScreen(const Tintora& app)
{
    return FindTopLevel(app.ProcessId(), [](HWND window) {
        return ClassName(window) == GRAB_SCREEN_CLASS_NAME && IsWindowVisible(window);
    });
}

// The magnifier on the still screen.
inline HWND FindMagnifier(const Tintora& app)
{
    HWND magnifier = FindWindowExA(FindPickScreen(app), nullptr, GRABBER_CLASS_NAME, nullptr);
    return magnifier && IsWindowVisible(magnifier) ? magnifier : nullptr;
}

// True once a pick runs: the still screen over every monitor and the magnifier above it.
inline bool PickRuns(const Tintora& app)
{
    const RECT all = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    return CHECKED_SOON(FindPickScreen(app) && FindMagnifier(app)) &&
           CHECKED(WindowRect(FindPickScreen(app)) == all);
}

// A window of the driver, as another program's, that takes the focus: where the user works when
// the key is pressed. Its thread keeps it answering while the driver waits.
class OtherProgram {
public:
    explicit OtherProgram(POINT at)
    {
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, at, ready] {
            WNDCLASSA windowClass = {};
            windowClass.lpfnWndProc = DefWindowProcA;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
            windowClass.lpszClassName = "Tintora e2e other program";
            RegisterClassA(&windowClass);
            threadId_ = GetCurrentThreadId();
            window_ = CreateWindowExA(0, windowClass.lpszClassName, "Other program", WS_POPUP | WS_BORDER,
                                      at.x, at.y, 120, 60, nullptr, nullptr, windowClass.hInstance, nullptr);
            if (window_)
                ShowWindow(window_, SW_SHOW);
            SetEvent(ready);
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0)
                DispatchMessageA(&msg);
            if (window_)
                DestroyWindow(window_);
        });
        WaitForSingleObject(ready, kHangGuardMs);
        CloseHandle(ready);
    }
    ~OtherProgram()
    {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    HWND Window() const { return window_; }
    // Brought to the front with the focus; true once the system says it has them.
    bool TakeFocus()
    {
        SetForegroundWindow(window_);
        return CHECKED_SOON(GetForegroundWindow() == window_);
    }

private:
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
    std::thread thread_;
};

}  // namespace e2e
