#include "tests/e2e/e2e_support.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <utility>

#include "tests/shared/dib_canvas.h"

namespace e2e {

const char* const kTitle = "Ostrel Tintora";
const char* const kFlatColorClass = "Ostrel FlatColor Control";
const char* const kSettingsKey = "Software\\Ostrel\\Tintora";

namespace {

// The whole run; far above its usual length even on a busy machine, below the ctest limit.
const DWORD kRunDeadlineMs = 540000;

// Message boxes keep their text in a static with this id.
const int kMessageBoxTextId = 0xFFFF;
// Wine answers GetCursorPos from the X server once the position it keeps is this old.
const DWORD kWineCursorCacheMs = 100;

struct Case {
    const char* group;
    const char* name;
    CaseFunction function;
};

std::vector<Case>& Cases()
{
    static std::vector<Case> cases;
    return cases;
}

std::vector<std::string> g_failures;
std::vector<std::string> g_context;
unsigned g_checks = 0;
std::string g_programPath;

// Processes we started and have not yet reaped, so the deadline can end them.
std::mutex g_liveLock;
std::set<HANDLE> g_live;

const char* BaseName(const char* path)
{
    const char* base = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\')
            base = p + 1;
    return base;
}

void EndLiveProcesses()
{
    std::lock_guard<std::mutex> lock(g_liveLock);
    for (HANDLE process : g_live) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 2000);
    }
}

// Every copy we start lives in one job that ends them all when the driver goes, however it goes.
HANDLE ProgramJob()
{
    static HANDLE job = [] {
        HANDLE created = CreateJobObjectA(nullptr, nullptr);
        if (created) {
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
            limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
            SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
        }
        return created;
    }();
    return job;
}

LONG WINAPI OnCrash(EXCEPTION_POINTERS*)
{
    printf("\ne2e: the driver crashed; ending the programs it started\n");
    fflush(stdout);
    EndLiveProcesses();
    return EXCEPTION_EXECUTE_HANDLER;
}

void StartDeadline()
{
    std::thread([] {
        Sleep(kRunDeadlineMs);  // the run's deadline, not a wait for the program
        printf("e2e: the run took longer than %lu s; ending it\n",
               static_cast<unsigned long>(kRunDeadlineMs / 1000));
        fflush(stdout);
        EndLiveProcesses();
        ExitProcess(3);
    }).detach();
}

bool DeleteKeyTree(HKEY parent, const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(parent, name, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        return false;
    char child[256];
    for (;;) {
        DWORD size = sizeof(child);
        if (RegEnumKeyExA(key, 0, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (!DeleteKeyTree(key, child))
            break;
    }
    RegCloseKey(key);
    return RegDeleteKeyA(parent, name) == ERROR_SUCCESS;
}

INT_PTR CALLBACK MeasureDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// Maps four values the way the dialog manager maps a control's x, y, cx and cy.
RECT MapDialogValues(int a, int b, int c, int d)
{
    // An empty dialog template with Tintora's font: DLGTEMPLATE, no menu, default class,
    // empty title, point size, face name.
    alignas(4) WORD buffer[64] = {};
    auto* header = reinterpret_cast<DLGTEMPLATE*>(buffer);
    header->style = DS_SETFONT | WS_POPUP;
    header->cdit = 0;
    header->cx = 100;
    header->cy = 100;
    WORD* p = reinterpret_cast<WORD*>(header + 1);
    *p++ = 0;  // menu
    *p++ = 0;  // class
    *p++ = 0;  // title
    *p++ = 8;  // point size
    for (const char* face = "Ms Shell Dlg"; *face; ++face)
        *p++ = static_cast<WORD>(*face);
    *p++ = 0;

    RECT rect = {a, b, c, d};
    HWND dialog =
        CreateDialogIndirectParamA(GetModuleHandleA(nullptr), header, nullptr, MeasureDialogProc, 0);
    if (!dialog) {
        RecordFailure(__FILE__, __LINE__, "cannot create the dialog that measures dialog units");
        return RECT{};
    }
    if (!MapDialogRect(dialog, &rect))
        RecordFailure(__FILE__, __LINE__, "MapDialogRect failed on our own dialog");
    // Gone at once: a second start broadcasts to every top-level window, and ours pumps no messages.
    DestroyWindow(dialog);
    return rect;
}

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

}  // namespace

// ---- checks and cases ------------------------------------------------------------------

void RecordFailure(const char* file, int line, const std::string& what)
{
    std::string where;
    for (const std::string& context : g_context)
        where += " [" + context + "]";
    g_failures.push_back(std::string(BaseName(file)) + ":" + std::to_string(line) + ": " + what + where);
}

Context::Context(std::string what)
{
    g_context.push_back(std::move(what));
}

Context::~Context()
{
    g_context.pop_back();
}

void CountCheck()
{
    ++g_checks;
}

std::string Show(const std::string& value)
{
    return "\"" + value + "\"";
}

std::string Show(const char* value)
{
    return value ? Show(std::string(value)) : "(null)";
}

std::string Show(bool value)
{
    return value ? "true" : "false";
}

std::string Show(HWND value)
{
    char text[32];
    snprintf(text, sizeof(text), "hwnd %p", static_cast<void*>(value));
    return text;
}

std::string Show(const RECT& value)
{
    char text[96];
    snprintf(text, sizeof(text), "(%ld, %ld)-(%ld, %ld) %ldx%ld", value.left, value.top, value.right,
             value.bottom, value.right - value.left, value.bottom - value.top);
    return text;
}

CaseRegistrar::CaseRegistrar(const char* group, const char* name, CaseFunction function)
{
    Cases().push_back({group, name, function});
}

int RunCases(const char* filter)
{
    StartDeadline();
    SetUnhandledExceptionFilter(OnCrash);
    unsigned passed = 0, failed = 0;
    DWORD runStart = GetTickCount();
    for (const Case& c : Cases()) {
        std::string full = std::string(c.group) + ": " + c.name;
        if (filter && *filter && full.find(filter) == std::string::npos)
            continue;
        printf("%s ... ", full.c_str());
        fflush(stdout);
        g_failures.clear();
        DWORD start = GetTickCount();
        c.function();
        double seconds = (GetTickCount() - start) / 1000.0;
        if (g_failures.empty()) {
            ++passed;
            printf("ok (%.1f s)\n", seconds);
        } else {
            ++failed;
            printf("FAILED (%.1f s)\n", seconds);
            for (const std::string& failure : g_failures)
                printf("    %s\n", failure.c_str());
        }
        fflush(stdout);
    }
    printf("%u checks in %.1f s\n", g_checks, (GetTickCount() - runStart) / 1000.0);
    printf("%u passed, %u failed\n", passed, failed);
    fflush(stdout);
    return failed == 0 && passed > 0 ? 0 : 1;
}

// ---- helpers ---------------------------------------------------------------------------

void SetProgramPath(const std::string& path)
{
    g_programPath = path;
}

const std::string& ProgramPath()
{
    return g_programPath;
}

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

// The shell answers a modification only for an icon it holds; no flags, so nothing changes.
bool StatusIconPresent(HWND dialog)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = dialog;
    data.uID = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

std::vector<HWND> VisibleTopLevelWindows(DWORD pid)
{
    return TopLevelWindows(pid, [](HWND window) { return IsWindowVisible(window) != FALSE; });
}

HWND FindDialogTitled(DWORD pid, const std::string& title)
{
    return FindTopLevel(pid, [&](HWND window) {
        return ClassName(window) == "#32770" && WindowText(window) == title && IsWindowVisible(window);
    });
}

bool IsTopmost(HWND window)
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

bool BringToFront(HWND window)
{
    SetForegroundWindow(window);
    if (WaitUntil(kHangGuardMs, [&] { return GetForegroundWindow() == window; }))
        return true;
    FAIL("the window did not come to the foreground");
    return false;
}

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.find_last_of("\\/") + 1);
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void EmptyFolder(const std::string& folder)
{
    for (const std::string& name : FilesIn(folder))
        DeleteFileA((folder + name).c_str());
}

std::string StageProgramCopy(const std::string& name)
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    const std::string folder = std::string(base) + name + "\\";
    const std::string program = folder + "tintora.exe";
    CreateDirectoryA(folder.c_str(), nullptr);
    EmptyFolder(folder);
    const std::string library = FolderOf(ProgramPath()) + "ostrel_about.dll";
    if (!CopyFileA(ProgramPath().c_str(), program.c_str(), FALSE) ||
        !CopyFileA(library.c_str(), (folder + "ostrel_about.dll").c_str(), FALSE)) {
        RecordFailure(__FILE__, __LINE__,
                      "cannot stage a copy of the program in " + folder + " (error " +
                          std::to_string(GetLastError()) + ")");
        return "";
    }
    return program;
}

void ResetSavedState()
{
    HKEY ostrel;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel", 0, KEY_READ | KEY_WRITE, &ostrel) ==
        ERROR_SUCCESS) {
        DeleteKeyTree(ostrel, "Tintora");
        RegCloseKey(ostrel);
    }
    HKEY left;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tintora", 0, KEY_READ, &left) == ERROR_SUCCESS) {
        RegCloseKey(left);
        RecordFailure(__FILE__, __LINE__, "cannot delete HKCU\\Software\\Ostrel\\Tintora");
    }

    const std::string ini = SavedColorsFile();
    if (ini.empty()) {
        RecordFailure(__FILE__, __LINE__, "no Windows directory");
        return;
    }
    DeleteFileA(ini.c_str());
    if (GetFileAttributesA(ini.c_str()) != INVALID_FILE_ATTRIBUTES)
        RecordFailure(__FILE__, __LINE__, "cannot delete " + ini);
}

std::string SavedColorsFile()
{
    char folder[MAX_PATH];
    UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    if (length == 0 || length + 13 >= MAX_PATH)
        return "";
    return std::string(folder) + "\\Tintora.ini";
}

void WriteBinaryOption(const char* name, BYTE value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        FAIL(std::string("cannot create the settings key for ") + name);
        return;
    }
    RegSetValueExA(key, name, 0, REG_BINARY, &value, 1);
    RegCloseKey(key);
}

std::vector<HWND> FindMainDialogs(DWORD pid)
{
    // Every main dialog has the colour field; message boxes and other dialogs do not.
    return TopLevelWindows(pid, [](HWND window) {
        return ClassName(window) == "#32770" && WindowText(window) == kTitle && GetDlgItem(window, kField);
    });
}

RECT DialogUnitsToPixels(int x, int y, int w, int h)
{
    RECT mapped = MapDialogValues(x, y, w, h);
    return RECT{mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom};
}

int DialogUnitsToPixelsX(int units)
{
    return MapDialogValues(0, 0, units, 0).right;
}

namespace {

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

}  // namespace

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

bool Near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
        if (d < -tolerance || d > tolerance)
            return false;
    }
    return true;
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

HICON LoadProgramIcon(int id, int size)
{
    HMODULE module = LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return nullptr;
    HICON icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
    // The icon keeps its own copy of the pixels.
    FreeLibrary(module);
    return icon;
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

std::string Show(const POINT& p)
{
    return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}

POINT Cursor()
{
    POINT p = {};
    GetCursorPos(&p);
    return p;
}

namespace {

// When the left button last went down.
DWORD g_lastLeftDown = 0;

void NoteLeftDown(DWORD flags)
{
    if (flags & MOUSEEVENTF_LEFTDOWN)
        g_lastLeftDown = GetTickCount();
}

}  // namespace

void SendMouse(DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(INPUT));
    NoteLeftDown(flags);
}

void SendMouse(DWORD flags, POINT p)
{
    const LONG left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const LONG width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    // The system maps 0..65535 onto the screen, rounding down.
    input.mi.dx = ((p.x - left) * 65536 + width - 1) / width;
    input.mi.dy = ((p.y - top) * 65536 + height - 1) / height;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    SendInput(1, &input, sizeof(INPUT));
    NoteLeftDown(flags);
}

namespace {

BOOL CALLBACK AddShownWindowThread(HWND window, LPARAM threads)
{
    if (IsWindowVisible(window)) {
        auto* list = reinterpret_cast<std::vector<std::pair<DWORD, HWND>>*>(threads);
        const DWORD thread = GetWindowThreadProcessId(window, nullptr);
        bool known = false;
        for (const auto& entry : *list)
            known = known || entry.first == thread;
        if (!known)
            list->push_back({thread, window});
    }
    return TRUE;
}

// Lets every thread with a window on the screen read the events its X connection holds: a
// thread reads them before it takes a message sent to it.
void LetShownWindowsReadTheirEvents()
{
    std::vector<std::pair<DWORD, HWND>> threads;
    EnumWindows(AddShownWindowThread, reinterpret_cast<LPARAM>(&threads));
    for (const auto& entry : threads) {
        DWORD_PTR ignored;
        SendMessageTimeoutA(entry.second, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kHangGuardMs, &ignored);
    }
}

}  // namespace

// Under Wine a move of the cursor also warps the X pointer, and each program with a window under
// the pointer turns the X server's pointer event into a move of its own when it next reads its
// events: an event of an earlier move, read late, puts the cursor back there. So the pointer
// rests only once the X server has it at p (Wine answers GetCursorPos from the X server, asking
// on the connection the warp went out on, once the position it keeps is older than
// kWineCursorCacheMs), every program has read the events the server sent it, and the cursor has
// been put at p once more to set right what a late event may have changed on the way.
bool PointerRests(POINT p)
{
    DWORD since = 0;
    const bool atX = WaitUntil(kHangGuardMs, [&] {
        if (Cursor() != p) {
            since = 0;
            return false;
        }
        if (!since)
            since = GetTickCount();
        return GetTickCount() - since > kWineCursorCacheMs;
    });
    LetShownWindowsReadTheirEvents();
    SendMouse(0, p);
    return atX && Cursor() == p;
}

bool MoveTo(POINT p)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        SendMouse(0, p);
        if (PointerRests(p))
            return true;
    }
    FAIL("the cursor went to " + Show(Cursor()) + " instead of " + Show(p));
    return false;
}

bool DragTo(POINT to)
{
    const POINT from = Cursor();
    for (int step = 1; step < 4; ++step)
        SendMouse(0, POINT{from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
    return MoveTo(to);
}

HWND CaptureOf(const Tintora& app)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(app.ThreadId(), &info) ? info.hwndCapture : nullptr;
}

void LeftDown()
{
    SendMouse(MOUSEEVENTF_LEFTDOWN);
}

void FreshLeftDown()
{
    while (g_lastLeftDown && GetTickCount() - g_lastLeftDown < GetDoubleClickTime() + 100)
        Sleep(20);  // part of the input: the double-click time
    LeftDown();
}

void LeftUp()
{
    SendMouse(MOUSEEVENTF_LEFTUP);
}

void Key(WORD key, DWORD flags, WCHAR unicode)
{
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[0].ki.wScan = unicode;
    input[0].ki.dwFlags = flags;
    input[1] = input[0];
    input[1].ki.dwFlags = flags | KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

void HoldKey(WORD key, bool down)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(INPUT));
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

std::string HexText(uint32_t rgb)
{
    char text[8];
    snprintf(text, sizeof(text), "%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

// ---- Tintora ---------------------------------------------------------------------------

namespace {

// This process's environment block with `changes` ("NAME=value") set; empty for no changes.
std::string EnvironmentWith(const std::vector<std::string>& changes)
{
    if (changes.empty())
        return std::string();
    auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=', 1)); };
    std::string block;
    char* strings = GetEnvironmentStringsA();
    for (const char* entry = strings; entry && *entry; entry += strlen(entry) + 1) {
        bool replaced = false;
        for (const std::string& change : changes)
            replaced = replaced || lstrcmpiA(nameOf(entry).c_str(), nameOf(change).c_str()) == 0;
        if (!replaced)
            block.append(entry).push_back('\0');
    }
    if (strings)
        FreeEnvironmentStringsA(strings);
    for (const std::string& change : changes)
        block.append(change).push_back('\0');
    block.push_back('\0');
    return block;
}

}  // namespace

Tintora::~Tintora()
{
    End();
    for (const MessageBoxSeen& box : boxes_)
        RecordFailure(__FILE__, __LINE__,
                      "unexpected message box \"" + box.caption + "\": \"" + box.text + "\"");
}

void Tintora::UseCopy(const std::string& path, const std::vector<std::string>& environment)
{
    copyPath_ = path;
    environment_ = environment;
}

bool Tintora::Launch()
{
    if (info_.hProcess) {
        RecordFailure(__FILE__, __LINE__, "this Tintora was started already");
        return false;
    }
    const std::string& path = copyPath_.empty() ? ProgramPath() : copyPath_;
    std::string folder =
        !workingFolder_.empty() ? workingFolder_ : path.substr(0, path.find_last_of("\\/") + 1);
    std::string commandLine = "\"" + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::string environment = EnvironmentWith(environment_);
    // Suspended until it is in the job, so not even its first instant runs outside.
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        environment.empty() ? nullptr : &environment[0],
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info_)) {
        RecordFailure(__FILE__, __LINE__,
                      "cannot start " + path + " (error " + std::to_string(GetLastError()) + ")");
        info_ = {};
        return false;
    }
    if (ProgramJob())
        AssignProcessToJobObject(ProgramJob(), info_.hProcess);
    ResumeThread(info_.hThread);
    {
        std::lock_guard<std::mutex> lock(g_liveLock);
        g_live.insert(info_.hProcess);
    }
    StartWatcher();
    return true;
}

bool Tintora::Start(bool fresh)
{
    if (fresh)
        ResetSavedState();
    if (!FindMainDialogs(0).empty()) {
        RecordFailure(__FILE__, __LINE__, "a Tintora from elsewhere is running already");
        return false;
    }
    if (!Launch())
        return false;

    bool ended = false;
    WaitUntil(kHangGuardMs, [&] {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0) {
            ended = true;
            return true;
        }
        std::vector<HWND> dialogs = FindMainDialogs(info_.dwProcessId);
        if (!dialogs.empty() && IsWindowVisible(dialogs[0]))
            dialog_ = dialogs[0];
        return dialog_ != nullptr;
    });
    // The window shows first; right after its first paint it adds the status icon (with the
    // option on) and, last, makes its tip window. Cases start from there.
    if (dialog_) {
        const bool finished = WaitUntil(kHangGuardMs, [&] {
            return FindTopLevel(info_.dwProcessId, [&](HWND window) {
                       return ClassName(window) == "tooltips_class32" &&
                              GetWindow(window, GW_OWNER) == dialog_;
                   }) != nullptr;
        });
        if (!finished)
            RecordFailure(__FILE__, __LINE__, "the main window made no tip window");
        return finished;
    }

    if (ended) {
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        std::string what = "tintora ended before its window appeared, exit code " + std::to_string(code);
        for (const MessageBoxSeen& box : TakeMessageBoxes())
            what += "; message box \"" + box.text + "\"";
        RecordFailure(__FILE__, __LINE__, what);
    } else {
        RecordFailure(__FILE__, __LINE__,
                      "the main window did not appear within " + std::to_string(kHangGuardMs / 1000) +
                          " s");
    }
    End();
    return false;
}

bool Tintora::Running() const
{
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Tintora::WaitForExit(DWORD* exitCode)
{
    if (!info_.hProcess) {
        RecordFailure(__FILE__, __LINE__, "waiting for a Tintora that was never started");
        return false;
    }
    if (WaitForSingleObject(info_.hProcess, kHangGuardMs) != WAIT_OBJECT_0) {
        RecordFailure(__FILE__, __LINE__,
                      "tintora did not end within " + std::to_string(kHangGuardMs / 1000) + " s; ending it");
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 2000);
        return false;
    }
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    if (exitCode)
        *exitCode = code;
    return true;
}

bool Tintora::Settle(HWND window)
{
    if (!window)
        window = dialog_;
    if (!Running()) {
        RecordFailure(__FILE__, __LINE__, "tintora is not running");
        return false;
    }
    if (!IsWindowVisible(window) || IsIconic(GetAncestor(window, GA_ROOT))) {
        DWORD_PTR ignored;
        if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kHangGuardMs, &ignored))
            return true;
        RecordFailure(__FILE__, __LINE__, "tintora did not answer within the hang guard");
        return false;
    }
    RECT pixel = {0, 0, 1, 1};
    RedrawWindow(window, &pixel, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
    // The region is asked for, not the rectangle: for another process's window Wine's
    // GetUpdateRect answers FALSE even while a region waits, and takes a DC of the window, which
    // upsets what the program draws into its frame.
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    auto painted = [&] {
        const int region = GetUpdateRgn(window, update, FALSE);
        return region == ERROR || region == NULLREGION;
    };
    const bool done = WaitUntil(kHangGuardMs, [&] { return !Running() || painted(); });
    DeleteObject(update);
    if (done && Running())
        return true;
    RecordFailure(__FILE__, __LINE__,
                  Running() ? "tintora did not paint within the hang guard" : "tintora ended");
    return false;
}

DWORD Tintora::ThreadId() const
{
    return dialog_ ? GetWindowThreadProcessId(dialog_, nullptr) : info_.dwThreadId;
}

LRESULT Tintora::Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    DWORD_PTR result = 0;
    if (!window) {
        RecordFailure(__FILE__, __LINE__, "message " + std::to_string(message) + " for a missing window");
        return 0;
    }
    if (!SendMessageTimeoutA(window, message, wparam, lparam, SMTO_NORMAL, kHangGuardMs, &result))
        RecordFailure(__FILE__, __LINE__,
                      "message " + std::to_string(message) +
                          (IsWindow(window) ? " was not answered within the hang guard"
                                            : " went to a window that is gone"));
    return static_cast<LRESULT>(result);
}

void Tintora::Click(int id)
{
    HWND button = Item(id);
    if (!button) {
        RecordFailure(__FILE__, __LINE__, "no control " + std::to_string(id) + " to click");
        return;
    }
    Send(button, BM_CLICK, 0, 0);
}

bool Tintora::IsChecked(int id)
{
    return Send(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

HWND Tintora::Focus() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(ThreadId(), &info))
        return nullptr;
    return info.hwndFocus;
}

std::string Tintora::Text(int id)
{
    char text[64] = "";
    Send(Item(id), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

std::vector<MessageBoxSeen> Tintora::TakeMessageBoxes()
{
    std::lock_guard<std::mutex> lock(boxesLock_);
    std::vector<MessageBoxSeen> taken;
    taken.swap(boxes_);
    return taken;
}

std::vector<MessageBoxSeen> Tintora::WaitForMessageBoxes(size_t count)
{
    std::vector<MessageBoxSeen> seen;
    WaitUntil(kHangGuardMs, [&] {
        for (const MessageBoxSeen& box : TakeMessageBoxes())
            seen.push_back(box);
        return seen.size() >= count;
    });
    return seen;
}

std::vector<MessageBoxSeen> Tintora::SettledMessageBoxes()
{
    Settle();
    // One look of our own after the program settled; a box still being made is waited for.
    WaitUntil(kHangGuardMs, [&] { return WatchOnce(); });
    return TakeMessageBoxes();
}

void Tintora::StartWatcher()
{
    watching_ = true;
    watcher_ = std::thread([this] {
        while (watching_) {
            WatchOnce();
            Sleep(50);  // the watcher's pace, not a wait for the program
        }
    });
}

void Tintora::StopWatcher()
{
    watching_ = false;
    if (watcher_.joinable())
        watcher_.join();
}

bool Tintora::WatchOnce()
{
    std::lock_guard<std::mutex> watch(watchLock_);
    const std::vector<HWND> boxes = TopLevelWindows(info_.dwProcessId, [](HWND window) {
        return ClassName(window) == "#32770" && !GetDlgItem(window, kField) &&
               GetDlgItem(window, kMessageBoxTextId);
    });
    bool allRead = true;
    for (HWND box : boxes) {
        if (dismissed_.count(box)) {
            // Still there after our OK: close it as the close box would.
            PostMessageA(box, WM_CLOSE, 0, 0);
            continue;
        }
        // A box is made hidden and given its texts before it shows: read it only once shown with
        // its text, or a box caught half made reads as empty.
        const std::string text = WindowText(GetDlgItem(box, kMessageBoxTextId));
        if (!IsWindowVisible(box) || text.empty()) {
            allRead = false;
            continue;
        }
        {
            std::lock_guard<std::mutex> lock(boxesLock_);
            boxes_.push_back(MessageBoxSeen{WindowText(box), text});
        }
        dismissed_.insert(box);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    }
    for (auto it = dismissed_.begin(); it != dismissed_.end();)
        it = IsWindow(*it) ? std::next(it) : dismissed_.erase(it);
    return allRead;
}

void Tintora::Kill()
{
    if (!info_.hProcess || !Running())
        return;
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 2000);
}

void Tintora::End()
{
    if (!info_.hProcess)
        return;
    if (Running()) {
        // Politely first, so the program's own teardown runs.
        HWND dialog = dialog_;
        if (!dialog || !IsWindow(dialog)) {
            std::vector<HWND> dialogs = FindMainDialogs(info_.dwProcessId);
            dialog = dialogs.empty() ? nullptr : dialogs[0];
        }
        if (dialog)
            PostMessageA(dialog, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(info_.hProcess, kHangGuardMs) != WAIT_OBJECT_0) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, 2000);
        }
    }
    StopWatcher();
    {
        std::lock_guard<std::mutex> lock(g_liveLock);
        g_live.erase(info_.hProcess);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    info_ = {};
    dialog_ = nullptr;
}

// ---- what many cases check ----------------------------------------------------------------

void ExpectMessageBoxes(Tintora& app, const std::string& text, size_t count)
{
    const std::vector<MessageBoxSeen> seen = app.WaitForMessageBoxes(count);
    CHECK_EQ(seen.size(), count);
    for (const MessageBoxSeen& box : seen) {
        CHECK_EQ(box.caption, std::string(kTitle));
        CHECK_EQ(box.text, text);
    }
}

bool ExpectNoMessageBoxes(Tintora& app)
{
    const std::vector<MessageBoxSeen> boxes = app.SettledMessageBoxes();
    for (const MessageBoxSeen& box : boxes)
        FAIL("unexpected message box \"" + box.caption + "\": \"" + box.text + "\"");
    return CHECK(boxes.empty());
}

bool ExpectStillOpen(Tintora& app)
{
    return CHECK(app.Settle()) && CHECK(app.Running()) && CHECK(IsWindowVisible(app.Dialog()));
}

bool ExpectCleanExit(Tintora& app)
{
    DWORD code = 99;
    const bool ended = CHECK(app.WaitForExit(&code));
    return CHECK_EQ(code, 0ul) && ended;
}

bool SecondStartEnds()
{
    Tintora second;
    return CHECK(second.Launch()) && ExpectCleanExit(second);
}

HWND OpenModalDialog(Tintora& app, int button, const std::string& title)
{
    PostMessageA(app.Item(button), BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    WaitUntil(kHangGuardMs, [&] { return (dialog = FindDialogTitled(app.ProcessId(), title)) != nullptr; });
    if (!dialog)
        FAIL("the dialog \"" + title + "\" did not appear");
    return dialog;
}

bool SetColor(Tintora& app, uint32_t rgb)
{
    app.SendToDialog(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(app.Item(kHexEdit)), TRUE);
    const std::string hex = HexText(rgb);
    app.Send(app.Item(kHexEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(hex.c_str()));
    auto fields = [&] { return app.Text(kRedEdit) + " " + app.Text(kGreenEdit) + " " + app.Text(kBlueEdit); };
    const std::string expected = std::to_string(rgb >> 16 & 0xFF) + " " + std::to_string(rgb >> 8 & 0xFF) +
                                 " " + std::to_string(rgb & 0xFF);
    return CHECK_EQ_SOON(fields(), expected);
}

}  // namespace e2e
