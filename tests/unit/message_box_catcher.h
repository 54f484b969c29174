// Message boxes a test's own thread raises: each is recorded and answered with OK.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class MessageBoxCatcher {
public:
    struct Box {
        std::string caption;
        std::string text;
        HICON icon;
    };

    MessageBoxCatcher()
    {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~MessageBoxCatcher()
    {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    std::vector<Box> Take()
    {
        std::vector<Box> taken;
        taken.swap(boxes_);
        return taken;
    }

private:
    static BOOL CALLBACK FindIcon(HWND child, LPARAM lparam)
    {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            *reinterpret_cast<HICON*>(lparam) =
                reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
            return FALSE;
        }
        return TRUE;
    }

    static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam)
    {
        if (code == HCBT_ACTIVATE && current_) {
            HWND box = reinterpret_cast<HWND>(wparam);
            char className[32] = "";
            GetClassNameA(box, className, sizeof(className));
            HWND textControl = GetDlgItem(box, 0xFFFF);
            if (lstrcmpA(className, "#32770") == 0 && textControl) {
                Box seen;
                char text[512] = "";
                GetWindowTextA(box, text, sizeof(text));
                seen.caption = text;
                GetWindowTextA(textControl, text, sizeof(text));
                seen.text = text;
                seen.icon = nullptr;
                EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&seen.icon));
                current_->boxes_.push_back(seen);
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
        }
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }

    static inline MessageBoxCatcher* current_ = nullptr;
    HHOOK hook_ = nullptr;
    std::vector<Box> boxes_;
};
