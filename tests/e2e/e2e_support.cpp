#include "tests/e2e/e2e_support.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <utility>

namespace e2e {

const char* const kTitle = "Ostrel Tintora";
const char* const kFlatColorClass = "Ostrel FlatColor Control";

namespace {

const DWORD kStartTimeoutMs = 8000;
const DWORD kSendTimeoutMs = 5000;
const DWORD kCloseTimeoutMs = 5000;
// The whole run; far above its usual length, well below the ctest limit.
const DWORD kRunDeadlineMs = 300000;

// Message boxes keep their text in a static with this id.
const int kMessageBoxTextId = 0xFFFF;
// Every main dialog has the colour field; message boxes and other dialogs do not.
const int kFieldId = 401;

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
        Sleep(kRunDeadlineMs);
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
    *p++ = 0;   // menu
    *p++ = 0;   // class
    *p++ = 0;   // title
    *p++ = 8;   // point size
    for (const char* face = "Ms Shell Dlg"; *face; ++face)
        *p++ = static_cast<WORD>(*face);
    *p++ = 0;

    RECT rect = {a, b, c, d};
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), header, nullptr,
                                             MeasureDialogProc, 0);
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

struct FindData {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK FindMainDialogsProc(HWND window, LPARAM lparam)
{
    auto* data = reinterpret_cast<FindData*>(lparam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (data->pid && pid != data->pid)
        return TRUE;
    if (ClassName(window) != "#32770" || WindowText(window) != kTitle)
        return TRUE;
    if (GetDlgItem(window, kFieldId))
        data->found.push_back(window);
    return TRUE;
}

struct BoxData {
    DWORD pid;
    std::vector<HWND> boxes;
};

BOOL CALLBACK FindBoxesProc(HWND window, LPARAM lparam)
{
    auto* data = reinterpret_cast<BoxData*>(lparam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != data->pid || ClassName(window) != "#32770")
        return TRUE;
    if (!GetDlgItem(window, kFieldId) && GetDlgItem(window, kMessageBoxTextId))
        data->boxes.push_back(window);
    return TRUE;
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
    snprintf(text, sizeof(text), "(%ld, %ld)-(%ld, %ld) %ldx%ld", value.left, value.top,
             value.right, value.bottom, value.right - value.left, value.bottom - value.top);
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

namespace {

struct WindowsOf {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK VisibleWindowsProc(HWND window, LPARAM lparam)
{
    auto* data = reinterpret_cast<WindowsOf*>(lparam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == data->pid && IsWindowVisible(window))
        data->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> VisibleTopLevelWindows(DWORD pid)
{
    WindowsOf data = {pid, {}};
    EnumWindows(VisibleWindowsProc, reinterpret_cast<LPARAM>(&data));
    return data.found;
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
        RecordFailure(__FILE__, __LINE__, "cannot stage a copy of the program in " + folder +
                                              " (error " + std::to_string(GetLastError()) + ")");
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
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tintora", 0, KEY_READ, &left) ==
        ERROR_SUCCESS) {
        RegCloseKey(left);
        RecordFailure(__FILE__, __LINE__, "cannot delete HKCU\\Software\\Ostrel\\Tintora");
    }

    char ini[MAX_PATH];
    UINT length = GetWindowsDirectoryA(ini, MAX_PATH);
    if (length == 0 || length + 13 >= MAX_PATH) {
        RecordFailure(__FILE__, __LINE__, "no Windows directory");
        return;
    }
    strcat(ini, "\\Tintora.ini");
    DeleteFileA(ini);
    if (GetFileAttributesA(ini) != INVALID_FILE_ATTRIBUTES)
        RecordFailure(__FILE__, __LINE__, std::string("cannot delete ") + ini);
}

std::vector<HWND> FindMainDialogs(DWORD pid)
{
    FindData data = {pid, {}};
    EnumWindows(FindMainDialogsProc, reinterpret_cast<LPARAM>(&data));
    return data.found;
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

// A top-down 32-bit bitmap selected into a memory DC for one drawing.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;

    Canvas(int width, int height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        void* memory = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
        bits = static_cast<uint32_t*>(memory);
        if (dc && bitmap)
            old = SelectObject(dc, bitmap);
    }
    ~Canvas()
    {
        if (old)
            SelectObject(dc, old);
        if (bitmap)
            DeleteObject(bitmap);
        if (dc)
            DeleteDC(dc);
    }
    Pixels Take(int width, int height)
    {
        Pixels pixels;
        if (!bits)
            return pixels;
        GdiFlush();
        pixels.width = width;
        pixels.height = height;
        pixels.data.assign(bits, bits + static_cast<size_t>(width) * height);
        for (uint32_t& pixel : pixels.data)
            pixel &= 0x00FFFFFF;
        return pixels;
    }
};

}  // namespace

Pixels CaptureScreen(const RECT& area)
{
    int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return Pixels();
    Canvas canvas(width, height);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return canvas.Take(width, height);
}

Pixels DrawIconOn(HICON icon, int size, uint32_t background)
{
    Canvas canvas(size, size);
    if (!canvas.bits)
        return Pixels();
    for (int i = 0; i < size * size; ++i)
        canvas.bits[i] = background;
    DrawIconEx(canvas.dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    return canvas.Take(size, size);
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

// How long a move may take to reach the cursor.
const DWORD kInputWaitMs = 3000;

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

void SendMouse(DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(INPUT));
}

void SendMouse(DWORD flags, POINT p)
{
    const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    // The system maps 0..65535 onto the screen, rounding down.
    input.mi.dx = (p.x * 65536 + width - 1) / width;
    input.mi.dy = (p.y * 65536 + height - 1) / height;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(INPUT));
}

bool MoveTo(POINT p)
{
    SendMouse(0, p);
    if (WaitUntil(kInputWaitMs, [&] { return Cursor() == p; }))
        return true;
    FAIL("the cursor went to " + Show(Cursor()) + " instead of " + Show(p));
    return false;
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
        RecordFailure(__FILE__, __LINE__, "unexpected message box \"" + box.caption + "\": \"" +
                                          box.text + "\"");
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
    std::string folder = !workingFolder_.empty() ? workingFolder_ : path.substr(0, path.find_last_of("\\/") + 1);
    std::string commandLine = "\"" + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::string environment = EnvironmentWith(environment_);
    // Suspended until it is in the job, so not even its first instant runs outside.
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        environment.empty() ? nullptr : &environment[0],
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info_)) {
        RecordFailure(__FILE__, __LINE__, "cannot start " + path + " (error " +
                                          std::to_string(GetLastError()) + ")");
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
    WaitUntil(kStartTimeoutMs, [&] {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0) {
            ended = true;
            return true;
        }
        std::vector<HWND> dialogs = FindMainDialogs(info_.dwProcessId);
        if (!dialogs.empty() && IsWindowVisible(dialogs[0]))
            dialog_ = dialogs[0];
        return dialog_ != nullptr;
    });
    if (dialog_)
        return true;

    if (ended) {
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        std::string what = "tintora ended before its window appeared, exit code " + std::to_string(code);
        for (const MessageBoxSeen& box : TakeMessageBoxes())
            what += "; message box \"" + box.text + "\"";
        RecordFailure(__FILE__, __LINE__, what);
    } else {
        RecordFailure(__FILE__, __LINE__, "the main window did not appear within " +
                                          std::to_string(kStartTimeoutMs / 1000) + " s");
    }
    End();
    return false;
}

bool Tintora::Running() const
{
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Tintora::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (!info_.hProcess) {
        RecordFailure(__FILE__, __LINE__, "waiting for a Tintora that was never started");
        return false;
    }
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        RecordFailure(__FILE__, __LINE__, "tintora did not end within " + std::to_string(timeoutMs) +
                                          " ms; ending it");
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

bool Tintora::StaysRunning(DWORD timeoutMs)
{
    return info_.hProcess && WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_TIMEOUT;
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
    if (!SendMessageTimeoutA(window, message, wparam, lparam, SMTO_NORMAL, kSendTimeoutMs, &result))
        RecordFailure(__FILE__, __LINE__, "message " + std::to_string(message) +
                                          (IsWindow(window) ? " was not answered within 5 s"
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

std::vector<MessageBoxSeen> Tintora::TakeMessageBoxes()
{
    std::lock_guard<std::mutex> lock(boxesLock_);
    std::vector<MessageBoxSeen> taken;
    taken.swap(boxes_);
    return taken;
}

void Tintora::StartWatcher()
{
    watching_ = true;
    watcher_ = std::thread([this] {
        while (watching_) {
            WatchOnce();
            Sleep(50);
        }
    });
}

void Tintora::StopWatcher()
{
    watching_ = false;
    if (watcher_.joinable())
        watcher_.join();
}

void Tintora::WatchOnce()
{
    BoxData data = {info_.dwProcessId, {}};
    EnumWindows(FindBoxesProc, reinterpret_cast<LPARAM>(&data));
    for (HWND box : data.boxes) {
        if (dismissed_.count(box)) {
            // Still there after our OK: close it as the close box would.
            PostMessageA(box, WM_CLOSE, 0, 0);
            continue;
        }
        MessageBoxSeen seen = {WindowText(box), WindowText(GetDlgItem(box, kMessageBoxTextId))};
        {
            std::lock_guard<std::mutex> lock(boxesLock_);
            boxes_.push_back(seen);
        }
        dismissed_.insert(box);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    }
    for (auto it = dismissed_.begin(); it != dismissed_.end();)
        it = IsWindow(*it) ? std::next(it) : dismissed_.erase(it);
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
        if (WaitForSingleObject(info_.hProcess, kCloseTimeoutMs) != WAIT_OBJECT_0) {
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

}  // namespace e2e
