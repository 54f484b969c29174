// pick_bench [--picks N] [--steps N] TINTORA_EXE
// Starts Tintora as at a first start (so the default key, Win+Shift+C, is the one registered),
// puts a plain window of a known colour under the pointer as the program the user works in, and
// presses the key N times as a hand does, each pick cancelled with Escape. Prints, in the median
// and the 90th percentile, the time from the key to the still screen and the magnifier both
// shown, and to the magnifier painted on the screen: its red cross-hair and its band, in the
// colour under the pointer, read back from the screen. Then, in one more pick, the time from an
// arrow key to the magnifier moved beside the pointer, in the median of N steps. The program is
// looked at every quarter of a millisecond. A chord that starts no pick, or a pick that starts
// away from the pointer, is done again and said so. Every wait is bounded; Tintora is closed at
// the end, and ended if it does not go.
//
// Under Wine another program cannot move the pointer while the still screen has the foreground,
// so the pointer is put in place before the key, and the arrows move it during a pick.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "bench_paths.h"
#include "core/product.h"
#include "grabber/grabber.h"
#include "lists/saved_colors_place.h"
#include "settings/pick_key.h"
#include "settings/registry_store.h"

namespace {

const DWORD kWaitMs = 10000;           // any one wait for the program
const DWORD kWholeRunMs = 300000;      // the whole benchmark, whatever happens
const DWORD kCursorCacheMs = 100;      // Wine answers GetCursorPos from the X server past this age
const DWORD kForegroundBackMs = 1000;  // after a pick, for the foreground to come back
const DWORD kEventsSettleMs = 30;      // for the X server's events after a pick, before the key
const int kRetriesAllowed = 3;         // picks done again, of each kind, before the run gives up
const LONGLONG kPollPauseUs = 250;     // between two looks at the program
const COLORREF kBackdrop = RGB(0x2F, 0x7F, 0xBF);
const uint32_t kBackdropRgb = 0x2F7FBF;
const uint32_t kCrossHairRgb = 0xFF0000;
// The window under the pointer and where the pointer rests at each key: the magnifier, beside
// it, stays well inside that window, also after the arrow steps.
const RECT kBackdropRect = {40, 40, 640, 560};
const POINT kPointer = {200, 200};

double g_tickMs = 0.0;

double NowMs()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * g_tickMs;
}

// ---- the program ------------------------------------------------------------------------

// No stored settings and no saved colours: the default key applies.
void ClearStoredState()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, SETTINGS_KEY);
    SavedColorsPlace place;
    FindSavedColorsPlace(&place);
    DeleteFileA(place.file);
    DeleteFileA(place.readFrom);
}

struct Program {
    PROCESS_INFORMATION process = {};
    HWND dialog = nullptr;
};

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM lparam)
{
    auto* search = reinterpret_cast<Search*>(lparam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char title[64] = "";
    if (pid != search->pid || !IsWindowVisible(window) || !GetWindowTextA(window, title, sizeof(title)) ||
        strcmp(title, PRODUCT_TITLE) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

typedef LONG(WINAPI* DelayExecution)(BOOLEAN alertable, const LARGE_INTEGER* interval);
DelayExecution g_delay;

// Between two looks at the program. A millisecond would be a third of an arrow's step; Wine's
// NtDelayExecution sleeps for the time asked, where Sleep rounds up to whole milliseconds.
void PollPause()
{
    if (!g_delay) {
        Sleep(1);
        return;
    }
    LARGE_INTEGER interval;
    interval.QuadPart = -10LL * kPollPauseUs;  // relative, in 100 ns
    g_delay(FALSE, &interval);
}

// Calls until done() holds or `limitMs` passes; false on the limit.
template <typename Done>
bool WaitFor(DWORD limitMs, Done done)
{
    const double until = NowMs() + limitMs;
    for (;;) {
        if (done())
            return true;
        if (NowMs() > until)
            return false;
        PollPause();
    }
}

// The program has handled everything sent to it so far; false when it does not answer.
bool Answers(HWND window)
{
    DWORD_PTR ignored;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &ignored) != 0;
}

bool StartProgram(const std::string& path, HANDLE job, Program* program)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::string command = "\"" + path + "\"";
    const std::string folder = FolderOf(path);
    if (!CreateProcessA(path.c_str(), &command[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        folder.c_str(), &startup, &program->process)) {
        fprintf(stderr, "pick_bench: cannot start %s\n", path.c_str());
        return false;
    }
    // In the job, it goes with this program however this program ends.
    if (job)
        AssignProcessToJobObject(job, program->process.hProcess);
    ResumeThread(program->process.hThread);
    Search search = {program->process.dwProcessId, nullptr};
    const bool shown = WaitFor(kWaitMs, [&] {
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr || WaitForSingleObject(program->process.hProcess, 0) == WAIT_OBJECT_0;
    });
    program->dialog = search.found;
    if (!shown || !program->dialog || !Answers(program->dialog)) {
        fprintf(stderr, "pick_bench: no window \"%s\" from %s\n", PRODUCT_TITLE, path.c_str());
        return false;
    }
    return true;
}

// Asked to close, and ended when it does not.
void EndProgram(Program* program)
{
    if (!program->process.hProcess)
        return;
    const bool asked =
        program->dialog && IsWindow(program->dialog) && PostMessageA(program->dialog, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(program->process.hProcess, asked ? kWaitMs : 0) != WAIT_OBJECT_0) {
        fprintf(stderr, "pick_bench: %s\n", asked ? "Tintora did not close; ending it" : "ending Tintora");
        TerminateProcess(program->process.hProcess, 1);
        WaitForSingleObject(program->process.hProcess, kWaitMs);
    }
    CloseHandle(program->process.hProcess);
    CloseHandle(program->process.hThread);
    program->process = PROCESS_INFORMATION{};
}

// ---- the window the user works in -------------------------------------------------------

struct Backdrop {
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    HWND window = nullptr;
    HANDLE ready = nullptr;
};

DWORD WINAPI BackdropThread(void* parameter)
{
    auto* backdrop = static_cast<Backdrop*>(parameter);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(kBackdrop);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "Tintora pick_bench backdrop";
    RegisterClassA(&windowClass);
    const RECT& r = kBackdropRect;
    backdrop->window =
        CreateWindowExA(0, windowClass.lpszClassName, "Another program", WS_POPUP, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (backdrop->window) {
        ShowWindow(backdrop->window, SW_SHOW);
        UpdateWindow(backdrop->window);
    }
    SetEvent(backdrop->ready);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    if (backdrop->window)
        DestroyWindow(backdrop->window);
    return 0;
}

// Its own thread keeps it answering and repainting while the benchmark waits.
bool OpenBackdrop(Backdrop* backdrop)
{
    backdrop->ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    backdrop->thread = CreateThread(nullptr, 0, BackdropThread, backdrop, 0, &backdrop->threadId);
    if (!backdrop->thread || WaitForSingleObject(backdrop->ready, kWaitMs) != WAIT_OBJECT_0)
        return false;
    return backdrop->window != nullptr;
}

void CloseBackdrop(Backdrop* backdrop)
{
    if (backdrop->thread) {
        PostThreadMessageA(backdrop->threadId, WM_QUIT, 0, 0);
        WaitForSingleObject(backdrop->thread, kWaitMs);
        CloseHandle(backdrop->thread);
    }
    if (backdrop->ready)
        CloseHandle(backdrop->ready);
}

// ---- input ------------------------------------------------------------------------------

void AddKey(std::vector<INPUT>* inputs, WORD key, bool down)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    inputs->push_back(input);
}

// The stored key's chord as a hand presses it, in one go: modifiers down, the key, modifiers up.
std::vector<INPUT> ChordOf(uint32_t key)
{
    const UINT flags = key >> 8 & 0xFF;
    const WORD modifiers[] = {
        static_cast<WORD>(key & PICK_KEY_WIN ? VK_LWIN : 0),
        static_cast<WORD>(flags & HOTKEYF_CONTROL ? VK_CONTROL : 0),
        static_cast<WORD>(flags & HOTKEYF_ALT ? VK_MENU : 0),
        static_cast<WORD>(flags & HOTKEYF_SHIFT ? VK_SHIFT : 0),
    };
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers)
        if (modifier)
            AddKey(&inputs, modifier, true);
    AddKey(&inputs, static_cast<WORD>(key & 0xFF), true);
    AddKey(&inputs, static_cast<WORD>(key & 0xFF), false);
    for (int i = 3; i >= 0; --i)
        if (modifiers[i])
            AddKey(&inputs, modifiers[i], false);
    return inputs;
}

void Press(const std::vector<INPUT>& inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), const_cast<INPUT*>(inputs.data()), sizeof(INPUT));
}

void PressKey(WORD key)
{
    std::vector<INPUT> inputs;
    AddKey(&inputs, key, true);
    AddKey(&inputs, key, false);
    Press(inputs);
}

POINT Cursor()
{
    POINT p = {};
    GetCursorPos(&p);
    return p;
}

bool Same(POINT a, POINT b)
{
    return a.x == b.x && a.y == b.y;
}

// The pointer at p for every program: Wine warps the X pointer, and a program reads where it is
// from the X server once the position it keeps is old enough; an absolute move at the end sets
// right whatever an old X event read late may have changed.
bool PutPointer(POINT p, HWND program)
{
    SetCursorPos(p.x, p.y);
    double since = 0;
    const bool rests = WaitFor(kWaitMs, [&] {
        if (!Same(Cursor(), p)) {
            since = 0;
            SetCursorPos(p.x, p.y);
            return false;
        }
        if (since == 0)
            since = NowMs();
        return NowMs() - since > kCursorCacheMs;
    });
    Answers(program);
    const LONG left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const LONG width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = ((p.x - left) * 65536 + width - 1) / width;
    input.mi.dy = ((p.y - top) * 65536 + height - 1) / height;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    SendInput(1, &input, sizeof(INPUT));
    return rests && Same(Cursor(), p);
}

// ---- what the program shows -------------------------------------------------------------

HWND ShownScreen(DWORD pid)
{
    HWND screen = nullptr;
    while ((screen = FindWindowExA(nullptr, screen, GRAB_SCREEN_CLASS_NAME, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(screen, &owner);
        if (owner == pid && IsWindowVisible(screen))
            return screen;
    }
    return nullptr;
}

HWND ShownMagnifier(HWND screen)
{
    HWND magnifier = screen ? FindWindowExA(screen, nullptr, GRABBER_CLASS_NAME, nullptr) : nullptr;
    return magnifier && IsWindowVisible(magnifier) ? magnifier : nullptr;
}

// Screen pixels, read back as the X server shows them.
class ScreenShot {
public:
    ScreenShot(LONG width, LONG height) : width_(width), height_(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ =
            CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        if (dc_ && bitmap_)
            old_ = SelectObject(dc_, bitmap_);
    }
    ~ScreenShot()
    {
        if (old_)
            SelectObject(dc_, old_);
        if (bitmap_)
            DeleteObject(bitmap_);
        if (dc_)
            DeleteDC(dc_);
    }
    ScreenShot(const ScreenShot&) = delete;
    ScreenShot& operator=(const ScreenShot&) = delete;

    bool Take(POINT at)
    {
        if (!old_)
            return false;
        HDC screen = GetDC(nullptr);
        const bool copied = BitBlt(dc_, 0, 0, width_, height_, screen, at.x, at.y, SRCCOPY) != FALSE;
        ReleaseDC(nullptr, screen);
        GdiFlush();
        return copied;
    }
    uint32_t At(LONG x, LONG y) const { return bits_[y * width_ + x] & 0xFFFFFF; }
    LONG Width() const { return width_; }
    LONG Height() const { return height_; }

private:
    LONG width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// The magnifier as painted: a red cross-hair line across its magnified area, and the band at its
// foot in the colour under the pointer. Before its first paint that part of the screen shows the
// still copy of the backdrop, which has neither.
bool MagnifierPainted(ScreenShot* shot, POINT at)
{
    if (!shot->Take(at))
        return false;
    int red = 0;
    for (LONG y = 0; y < shot->Height(); ++y)
        for (LONG x = 0; x < shot->Width(); ++x)
            red += shot->At(x, y) == kCrossHairRgb;
    // One pixel in from the border, at the band's bottom row.
    return red >= shot->Width() / 2 && shot->At(1, shot->Height() - 2) == kBackdropRgb &&
           shot->At(shot->Width() - 2, shot->Height() - 2) == kBackdropRgb;
}

bool AllBackdrop(ScreenShot* shot, POINT at)
{
    if (!shot->Take(at))
        return false;
    for (LONG y = 0; y < shot->Height(); ++y)
        for (LONG x = 0; x < shot->Width(); ++x)
            if (shot->At(x, y) != kBackdropRgb)
                return false;
    return true;
}

BOOL CALLBACK AddShownWindowThread(HWND window, LPARAM lparam)
{
    auto* threads = reinterpret_cast<std::vector<std::pair<DWORD, HWND>>*>(lparam);
    if (!IsWindowVisible(window))
        return TRUE;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    for (const auto& known : *threads)
        if (known.first == thread)
            return TRUE;
    threads->push_back({thread, window});
    return TRUE;
}

// Under Wine a thread reads the X server's events only when it next looks at its queue, and one
// that reads the pointer's entry into its window late syncs the modifier keys to the X server's,
// which knows nothing of SendInput: a Shift let go in the middle of the next chord. So the X
// server is given time to send what the last pick's end made, and every thread with a window on
// the screen reads it, before the key.
bool LetWindowsReadTheirEvents()
{
    Sleep(kEventsSettleMs);
    std::vector<std::pair<DWORD, HWND>> threads;
    EnumWindows(AddShownWindowThread, reinterpret_cast<LPARAM>(&threads));
    for (const auto& entry : threads)
        if (!Answers(entry.second))
            return false;
    return true;
}

// What holds the foreground, for the messages of a run that went wrong.
std::string ForegroundText()
{
    HWND window = GetForegroundWindow();
    if (!window)
        return "no window";
    char name[128] = "";
    GetClassNameA(window, name, sizeof(name));
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char text[192];
    snprintf(text, sizeof(text), "class \"%s\" of process %lu", name, pid);
    return text;
}

// ---- the picks --------------------------------------------------------------------------

struct PickTimes {
    double shownMs;
    double paintedMs;
};

class Bench {
public:
    Bench(Program* program, Backdrop* backdrop) : program_(program), backdrop_(backdrop) {}

    // Pointer and foreground as the user leaves them before the key: over the other program,
    // which has the foreground; where the magnifier will be, nothing of an earlier pick is left.
    bool Ready()
    {
        if (!WaitFor(kWaitMs, [&] { return !ShownScreen(Pid()); })) {
            fprintf(stderr, "pick_bench: the still screen of the last pick stays\n");
            return false;
        }
        // Under Wine the foreground may pass through no window at all on its way back.
        if (!WaitFor(kForegroundBackMs, [&] { return GetForegroundWindow() == backdrop_->window; })) {
            foregroundNotBack_ += picked_;
            SetForegroundWindow(backdrop_->window);
            if (!WaitFor(kWaitMs, [&] { return GetForegroundWindow() == backdrop_->window; })) {
                fprintf(stderr, "pick_bench: the other program does not get the foreground back\n");
                return false;
            }
        }
        // An old pointer event read late moves the pointer back where it was: the events first.
        if (!LetWindowsReadTheirEvents())
            return false;
        if (pointerMoved_ || !Same(Cursor(), kPointer)) {
            pointerMoved_ = false;
            if (!PutPointer(kPointer, program_->dialog) || !LetWindowsReadTheirEvents() ||
                !Same(Cursor(), kPointer)) {
                fprintf(stderr, "pick_bench: the pointer does not stay at %ld, %ld\n", kPointer.x,
                        kPointer.y);
                return false;
            }
        }
        ScreenShot shot(GRAB_POPUP_SIZE, GRAB_POPUP_SIZE);
        if (!WaitFor(kWaitMs, [&] { return AllBackdrop(&shot, MagnifierCorner()); })) {
            fprintf(stderr, "pick_bench: the other program's window is not shown where the magnifier goes\n");
            return false;
        }
        return true;
    }

    // The key, then the still screen and the magnifier shown, then the magnifier painted.
    // A chord that starts no pick, or a pick that starts where the pointer was not put, is done
    // again after a fresh Ready(), a few times in a run.
    bool Pick(PickTimes* times)
    {
        ScreenShot shot(GRAB_POPUP_SIZE, GRAB_POPUP_SIZE);
        const std::vector<INPUT> chord = ChordOf(DEFAULT_PICK_KEY);
        HWND magnifier = nullptr;
        double pressed = 0;
        for (;;) {
            pressed = NowMs();
            Press(chord);
            if (WaitFor(kWaitMs,
                        [&] { return (magnifier = ShownMagnifier(ShownScreen(Pid()))) != nullptr; })) {
                RECT r = {};
                GetWindowRect(magnifier, &r);
                const POINT corner = MagnifierCorner();
                if (r.left == corner.x && r.top == corner.y)
                    break;
                fprintf(stderr, "pick_bench: the pick started with the magnifier at %ld, %ld, not %ld, %ld\n",
                        r.left, r.top, corner.x, corner.y);
                pointerMoved_ = true;
                if (++misplaced_ > kRetriesAllowed || !Cancel() || !Ready())
                    return false;
                continue;
            }
            HWND screen = FindWindowExA(nullptr, nullptr, GRAB_SCREEN_CLASS_NAME, nullptr);
            fprintf(stderr,
                    "pick_bench: no still screen with its magnifier %lu s after the key (still screen %s, "
                    "foreground: %s)\n",
                    kWaitMs / 1000,
                    !screen                   ? "none"
                    : IsWindowVisible(screen) ? "shown, its magnifier not"
                                              : "hidden",
                    ForegroundText().c_str());
            if (screen || ++lostKeys_ > kRetriesAllowed || !Ready())
                return false;
        }
        times->shownMs = NowMs() - pressed;
        RECT r = {};
        GetWindowRect(magnifier, &r);
        if (r.right - r.left != GRAB_POPUP_SIZE || r.bottom - r.top != GRAB_POPUP_SIZE) {
            fprintf(stderr, "pick_bench: the magnifier is %ldx%ld px, not %dx%d (another DPI?)\n",
                    r.right - r.left, r.bottom - r.top, GRAB_POPUP_SIZE, GRAB_POPUP_SIZE);
            return false;
        }
        if (!WaitFor(kWaitMs, [&] { return MagnifierPainted(&shot, POINT{r.left, r.top}); })) {
            fprintf(stderr, "pick_bench: the magnifier at %ld, %ld is not seen painted\n", r.left, r.top);
            return false;
        }
        times->paintedMs = NowMs() - pressed;
        return true;
    }

    bool Cancel()
    {
        PressKey(VK_ESCAPE);
        picked_ = true;
        if (!WaitFor(kWaitMs, [&] { return !ShownScreen(Pid()); })) {
            fprintf(stderr, "pick_bench: Escape leaves the still screen\n");
            return false;
        }
        return true;
    }

    // During a pick: an arrow, then the magnifier moved. `missed` counts steps that did not land
    // one pixel on.
    bool Steps(int count, std::vector<double>* samples, int* missed)
    {
        HWND magnifier = ShownMagnifier(ShownScreen(Pid()));
        if (!magnifier)
            return false;
        for (int step = 0; step < count; ++step) {
            RECT before = {}, after = {};
            GetWindowRect(magnifier, &before);
            const double pressed = NowMs();
            PressKey(VK_RIGHT);
            if (!WaitFor(kWaitMs, [&] {
                    GetWindowRect(magnifier, &after);
                    return !EqualRect(&before, &after);
                })) {
                fprintf(stderr, "pick_bench: the magnifier stays at %ld, %ld after an arrow\n", before.left,
                        before.top);
                return false;
            }
            samples->push_back(NowMs() - pressed);
            *missed += after.left != before.left + 1 || after.top != before.top;
            // The move the program's own pointer warp makes comes back to it; the next key
            // finds it idle.
            if (!Answers(program_->dialog))
                return false;
        }
        const POINT expected = {kPointer.x + count, kPointer.y};
        WaitFor(1000, [&] { return Same(stepsEnd_ = Cursor(), expected); });
        return true;
    }

    // Picks after which the other program had to take the foreground back itself.
    int ForegroundNotBack() const { return foregroundNotBack_; }
    // Chords pressed again because no pick came of them, or it came elsewhere.
    int LostKeys() const { return lostKeys_; }
    int Misplaced() const { return misplaced_; }
    // Where the arrows left the pointer.
    POINT StepsEnd() const { return stepsEnd_; }

private:
    DWORD Pid() const { return program_->process.dwProcessId; }
    // Where the magnifier first shows: right of and below the pointer at 96 DPI.
    POINT MagnifierCorner() const { return POINT{kPointer.x + GRAB_POPUP_GAP, kPointer.y + GRAB_POPUP_GAP}; }

    Program* program_;
    Backdrop* backdrop_;
    int foregroundNotBack_ = 0;
    int lostKeys_ = 0;
    int misplaced_ = 0;
    bool picked_ = false;
    bool pointerMoved_ = true;  // for the program, whatever GetCursorPos says here
    POINT stepsEnd_ = {};
};

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    // Nearest rank.
    size_t rank = static_cast<size_t>(fraction * values.size() + 0.999999);
    rank = std::min(std::max<size_t>(rank, 1), values.size());
    return values[rank - 1];
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// However the benchmark is held up, it ends, and the job takes Tintora with it.
DWORD WINAPI Watchdog(void*)
{
    Sleep(kWholeRunMs);
    fprintf(stderr, "pick_bench: still running after %lu s; giving up\n", kWholeRunMs / 1000);
    fflush(stderr);
    ExitProcess(3);
}

int Run(const std::string& path, int picks, int steps)
{
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (job) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    }
    ClearStoredState();
    Program program;
    Backdrop backdrop;
    int status = 1;
    std::vector<double> shown, painted, stepMs;
    int missed = 0;
    Bench bench(&program, &backdrop);
    if (StartProgram(path, job, &program) && OpenBackdrop(&backdrop)) {
        // One pick first: what the first one loads is not counted.
        bool ok = true;
        for (int i = -1; ok && i < picks; ++i) {
            PickTimes times = {};
            ok = bench.Ready() && bench.Pick(&times) && bench.Cancel();
            if (ok && i >= 0) {
                shown.push_back(times.shownMs);
                painted.push_back(times.paintedMs);
            }
        }
        PickTimes ignored = {};
        ok = ok && bench.Ready() && bench.Pick(&ignored) && bench.Steps(steps, &stepMs, &missed) &&
             bench.Cancel();
        status = ok ? 0 : 1;
    }
    EndProgram(&program);
    CloseBackdrop(&backdrop);
    ClearStoredState();
    if (job)
        CloseHandle(job);
    if (status != 0)
        return status;

    char key[64] = "";
    FormatPickKeyName(DEFAULT_PICK_KEY, key, sizeof(key));
    printf("pick from anywhere: %s pressed by SendInput over another program, %d picks each cancelled "
           "with Escape\n",
           key, picks);
    printf("  key to still screen and magnifier shown (both windows visible)      median %6.1f ms, 90th "
           "%6.1f ms\n",
           Median(shown), Percentile(shown, 0.9));
    printf("  key to magnifier painted (cross-hair and band read off the screen)  median %6.1f ms, 90th "
           "%6.1f ms\n",
           Median(painted), Percentile(painted, 0.9));
    // In microseconds, as the held grab's step is printed; that one is timed inside the program
    // from the move to the repaint, this one from the key to the new place seen from here.
    printf("pick step: an arrow key by SendInput to the magnifier at its new place %8.1f us "
           "(median of %d steps, 90th %.1f us)\n",
           Median(stepMs) * 1000, steps, Percentile(stepMs, 0.9) * 1000);
    if (missed)
        printf("  note: %d of the steps did not move the magnifier one pixel right\n", missed);
    const POINT end = bench.StepsEnd(), expected = {kPointer.x + steps, kPointer.y};
    if (!Same(end, expected))
        printf("  note: the arrows left the pointer at %ld, %ld rather than %ld, %ld\n", end.x, end.y,
               expected.x, expected.y);
    if (bench.LostKeys())
        printf("  note: %d chords started no pick and were pressed again\n", bench.LostKeys());
    if (bench.Misplaced())
        printf("  note: %d picks started away from the pointer's place and were done again\n",
               bench.Misplaced());
    if (bench.ForegroundNotBack())
        printf("  note: after %d of the picks the other program did not have the foreground back\n",
               bench.ForegroundNotBack());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    int picks = 30;
    int steps = 50;
    std::string program;
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "--picks") && i + 1 < argc)
            picks = atoi(argv[++i]);
        else if (!strcmp(argv[i], "--steps") && i + 1 < argc)
            steps = atoi(argv[++i]);
        else if (program.empty())
            program = argv[i];
        else
            picks = 0;
    }
    if (program.empty() || picks < 1 || steps < 1) {
        fprintf(stderr, "usage: pick_bench [--picks N] [--steps N] TINTORA_EXE\n");
        return 2;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_tickMs = 1000.0 / static_cast<double>(frequency.QuadPart);
    g_delay = reinterpret_cast<DelayExecution>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDelayExecution")));
    CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
    return Run(DosPath(program), picks, steps);
}
