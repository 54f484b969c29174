// What the colour-list tests share: the real main dialog with a clean saved-colours file, a
// catcher for the message boxes it raises, and a canvas to draw rows into.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "flatcolor/flat_color.h"
#include "resources/resource.h"
#include "selector/selector.h"
#include "shell/main_dialog.h"

namespace liststest {

// The file the program reads without a directory: Tintora.ini in the Windows directory (of the
// test prefix).
inline std::string ProductIniPath()
{
    char path[MAX_PATH] = "";
    GetWindowsDirectoryA(path, MAX_PATH);
    return std::string(path) + "\\Tintora.ini";
}

inline void WriteTextFile(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(text.size(), written);
}

inline std::string ReadTextFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read)
        text.append(buffer, read);
    CloseHandle(file);
    return text;
}

// The file's lines without their line ends, empty lines dropped.
inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\r')
            continue;
        if (c == '\n') {
            if (!line.empty())
                lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

inline std::vector<uint32_t> Rows(HWND list)
{
    std::vector<uint32_t> rows;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        rows.push_back(static_cast<uint32_t>(SendMessageA(list, LB_GETITEMDATA, i, 0)));
    return rows;
}

inline void SetRows(HWND list, const std::vector<uint32_t>& rows)
{
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (uint32_t rgb : rows)
        SendMessageA(list, LB_ADDSTRING, 0, static_cast<LPARAM>(rgb));
}

// Message boxes raised on this thread while it lives: each is recorded and answered with OK.
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
            *reinterpret_cast<HICON*>(lparam) = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
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

// The main dialog created in-process from the real template, starting without a saved-colours
// file and leaving none behind.
class ListDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteFileA(ProductIniPath().c_str());
        Create();
    }

    void TearDown() override
    {
        Destroy();
        DeleteFileA(ProductIniPath().c_str());
    }

    void Create()
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&controls));
        ASSERT_TRUE(RegisterFlatColorClass(instance));
        params = {instance, RegisterWindowMessageA("Ostrel Tintora")};
        dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc,
                                    reinterpret_cast<LPARAM>(&params));
        ASSERT_NE(nullptr, dialog);
        state = GetAppState(dialog);
        ASSERT_NE(nullptr, state);
        saved = GetDlgItem(dialog, IDC_SAVED_LIST);
        named = GetDlgItem(dialog, IDC_NAMED_LIST);
    }

    void Destroy()
    {
        if (dialog)
            DestroyWindow(dialog);
        dialog = nullptr;
        state = nullptr;
    }

    void Click(int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }

    void SetCurrent(uint32_t rgb)
    {
        state->currentColor.SetRgb(rgb);
        SendMessageA(dialog, SELECTOR_REDRAW, RB_ALL, 0);
    }

    void Select(HWND list, int row) { SendMessageA(list, LB_SETCURSEL, row, 0); }
    LRESULT Selected(HWND list) { return SendMessageA(list, LB_GETCURSEL, 0, 0); }

    std::string HexField()
    {
        char text[16] = "";
        GetDlgItemTextA(dialog, IDC_HEX_EDIT, text, sizeof(text));
        return text;
    }

    // Exactly one box, with the program's caption, this string's text and the given icon.
    void ExpectOneBox(MessageBoxCatcher& catcher, const char* text, LPCSTR icon)
    {
        std::vector<MessageBoxCatcher::Box> boxes = catcher.Take();
        ASSERT_EQ(1u, boxes.size()) << "expected the box \"" << text << "\"";
        EXPECT_EQ("Ostrel Tintora", boxes[0].caption);
        EXPECT_EQ(text, boxes[0].text);
        EXPECT_EQ(LoadIconA(nullptr, icon), boxes[0].icon);
    }

    HINSTANCE instance = GetModuleHandleA(nullptr);
    StartParams params{};
    HWND dialog = nullptr;
    AppState* state = nullptr;
    HWND saved = nullptr;
    HWND named = nullptr;
};

// A top-down 32-bit DIB selected into a memory DC, to draw rows into and read back.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : width_(width), height_(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<uint32_t*>(bits);
        old_ = SelectObject(dc_, bitmap_);
        Fill(fill);
    }
    ~Canvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    void Fill(COLORREF color)
    {
        RECT all = {0, 0, width_, height_};
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    // As a COLORREF, to compare with GetSysColor and brushes.
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        const uint32_t p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    std::vector<uint32_t> Area(const RECT& r) const
    {
        GdiFlush();
        std::vector<uint32_t> pixels;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                pixels.push_back(bits_[y * width_ + x] & 0xFFFFFF);
        return pixels;
    }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

inline DRAWITEMSTRUCT RowItem(HWND list, HDC dc, int row, uint32_t data, UINT itemState, const RECT& rect)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_LISTBOX;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(list));
    item.itemID = static_cast<UINT>(row);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = itemState;
    item.hwndItem = list;
    item.hDC = dc;
    item.rcItem = rect;
    item.itemData = data;
    return item;
}

}  // namespace liststest
