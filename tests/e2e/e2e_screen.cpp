#include "tests/e2e/e2e_screen.h"

#include <shellapi.h>

#include <utility>

#include "tests/e2e/e2e_checks.h"
#include "tests/e2e/e2e_program.h"
#include "tests/shared/dib_canvas.h"

namespace e2e {

namespace {

struct WindowSearch {
    DWORD pid;
    const std::function<bool(HWND)>* match;
    bool firstOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK WindowSearchProc(HWND window, LPARAM lparam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lparam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if ((search->pid && pid != search->pid) || !(*search->match)(window))
        return TRUE;
    search->found.push_back(window);
    return !search->firstOnly;
}

// All the canvas's pixels, once GDI has finished drawing.
Pixels Take(const DibCanvas& canvas)
{
    Pixels pixels;
    if (!canvas.Ok())
        return pixels;
    GdiFlush();
    pixels.width = canvas.Width();
    pixels.height = canvas.Height();
    pixels.data.assign(canvas.Bits(), canvas.Bits() + static_cast<size_t>(pixels.width) * pixels.height);
    for (uint32_t& pixel : pixels.data)
        pixel &= 0x00FFFFFF;
    return pixels;
}

// The icon drawn at width x height on a background of one colour.
Pixels DrawIconOn(HICON icon, int width, int height, uint32_t background)
{
    DibCanvas canvas(width, height);
    if (!canvas.Ok())
        return Pixels();
    for (int i = 0; i < width * height; ++i)
        canvas.Bits()[i] = background;
    DrawIconEx(canvas.Dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    return Take(canvas);
}

}  // namespace

// ---- windows ---------------------------------------------------------------------------

std::vector<HWND> TopLevelWindows(DWORD pid, const std::function<bool(HWND)>& match)
{
    WindowSearch search = {pid, &match, false, {}};
    EnumWindows(WindowSearchProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopLevel(DWORD pid, const std::function<bool(HWND)>& match)
{
    WindowSearch search = {pid, &match, true, {}};
    EnumWindows(WindowSearchProc, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found[0];
}

HWND ShownMenu(DWORD pid)
{
    return FindTopLevel(pid,
                        [](HWND window) { return ClassName(window) == "#32768" && IsWindowVisible(window); });
}

std::vector<HWND> VisibleTopLevelWindows(DWORD pid)
{
    return TopLevelWindows(pid, [](HWND window) { return IsWindowVisible(window) != FALSE; });
}

bool IsTopmost(HWND window)
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

bool BringToFront(HWND window)
{
    SetForegroundWindow(window);
    return CHECKED_EQ_SOON(GetForegroundWindow(), window);
}

// The shell answers a modification only for an icon it holds; no flags, so nothing changes.
bool StatusIconPresent(HWND dialog)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = dialog;
    data.uID = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

POINT Centre(const RECT& r)
{
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

RECT ChildRect(HWND child)
{
    RECT rect = WindowRect(child);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT ClientRect(HWND window)
{
    RECT rect = {};
    GetClientRect(window, &rect);
    return rect;
}

std::string ClassName(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof(name));
    return name;
}

std::string WindowText(HWND window)
{
    // Another process's window: this reads the stored text and sends nothing.
    char text[512] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::string ControlText(HWND control)
{
    // Asked of the control itself: an edit's text lives in the control, not in the window.
    char text[512] = "";
    DWORD_PTR length = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, &length);
    return text;
}

// ---- pixels ----------------------------------------------------------------------------

Pixels CaptureScreen(const RECT& area)
{
    int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return Pixels();
    DibCanvas canvas(width, height);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.Dc(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return Take(canvas);
}

Pixels SteadyCapture(Tintora& app, const RECT& area, HWND window)
{
    Pixels last;
    WaitUntil(kHangGuardMs, [&] {
        app.Settle(window);
        Pixels now = CaptureScreen(area);
        const bool same = !last.data.empty() && now.data == last.data;
        last = std::move(now);
        return same;
    });
    return last;
}

bool Near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
        if (d < -tolerance || d > tolerance)
            return false;
    }
    return true;
}

HICON LoadProgramIcon(int id, int size)
{
    return LoadProgramIcon(id, size, size);
}

HICON LoadProgramIcon(int id, int width, int height)
{
    HMODULE module = LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return nullptr;
    HICON icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, width, height, 0));
    // The icon keeps its own copy of the pixels.
    FreeLibrary(module);
    return icon;
}

bool ScreenShowsIcon(const RECT& area, HICON icon, int width, int height, int overhang, int percent,
                     size_t minOpaque)
{
    Pixels onBlack = DrawIconOn(icon, width, height, 0x000000);
    Pixels onWhite = DrawIconOn(icon, width, height, 0xFFFFFF);
    if (onBlack.data.empty() || onWhite.data.empty())
        return false;
    std::vector<POINT> opaque;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (onBlack.At(x, y) == onWhite.At(x, y))
                opaque.push_back(POINT{x, y});
    if (opaque.size() < minOpaque)
        return false;
    const size_t needed = opaque.size() * percent / 100, allowedMisses = opaque.size() - needed;
    Pixels screen = CaptureScreen(area);
    for (int dy = -overhang; dy + height <= screen.height + overhang; ++dy) {
        for (int dx = -overhang; dx + width <= screen.width + overhang; ++dx) {
            size_t misses = 0;
            for (const POINT& p : opaque) {
                const int x = dx + p.x, y = dy + p.y;
                if (x < 0 || y < 0 || x >= screen.width || y >= screen.height ||
                    !Near(screen.At(x, y), onBlack.At(p.x, p.y), 16)) {
                    if (++misses > allowedMisses)
                        break;
                }
            }
            if (misses <= allowedMisses)
                return true;
        }
    }
    return false;
}

bool ControlShowsIcon(const RECT& area, HICON icon, int width, int height)
{
    return ScreenShowsIcon(area, icon, width, height, 2, 90, 24);
}

}  // namespace e2e
