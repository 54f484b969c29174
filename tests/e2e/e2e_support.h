// The end-to-end driver's own small framework: checks that record and go on, cases in groups,
// and a handle on a running tintora.exe that never lets a wait hang the run.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const RECT& a, const RECT& b)
{
    return !(a == b);
}
inline bool operator==(const POINT& a, const POINT& b)
{
    return a.x == b.x && a.y == b.y;
}
inline bool operator!=(const POINT& a, const POINT& b)
{
    return !(a == b);
}

namespace e2e {

// Every wait for the program ends as soon as what it waits for holds; this bound only keeps a
// program that never gets there from holding up the run. A busy machine stretches every gap.
const DWORD kHangGuardMs = 30000;

// ---- checks ----------------------------------------------------------------------------

void RecordFailure(const char* file, int line, const std::string& what);
void CountCheck();

template <typename T>
std::string Show(const T& value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}
std::string Show(const std::string& value);
std::string Show(const char* value);
std::string Show(bool value);
std::string Show(HWND value);
std::string Show(const RECT& value);
std::string Show(const POINT& value);

inline bool CheckTrue(const char* file, int line, const char* expr, bool ok)
{
    CountCheck();
    if (!ok)
        RecordFailure(file, line, std::string("CHECK(") + expr + ") is false");
    return ok;
}

template <typename A, typename B>
bool CheckEqual(const char* file, int line, const char* actualExpr, const char* expectedExpr, const A& actual,
                const B& expected)
{
    CountCheck();
    if (actual == expected)
        return true;
    RecordFailure(file, line,
                  std::string(actualExpr) + " == " + expectedExpr + ": expected " + Show(expected) +
                      ", got " + Show(actual));
    return false;
}

template <typename A, typename B>
bool CheckNotEqual(const char* file, int line, const char* actualExpr, const char* otherExpr, const A& actual,
                   const B& other)
{
    CountCheck();
    if (!(actual == other))
        return true;
    RecordFailure(file, line, std::string(actualExpr) + " != " + otherExpr + ": both are " + Show(actual));
    return false;
}

inline bool CheckNear(const char* file, int line, const char* actualExpr, const char* expectedExpr,
                      long actual, long expected, long tolerance)
{
    CountCheck();
    long diff = actual > expected ? actual - expected : expected - actual;
    if (diff <= tolerance)
        return true;
    RecordFailure(file, line,
                  std::string(actualExpr) + " ~ " + expectedExpr + ": expected " + Show(expected) + " +/- " +
                      Show(tolerance) + ", got " + Show(actual));
    return false;
}

#define CHECK(cond) ::e2e::CheckTrue(__FILE__, __LINE__, #cond, static_cast<bool>(cond))
#define CHECK_EQ(actual, expected)                                                                           \
    ::e2e::CheckEqual(__FILE__, __LINE__, #actual, #expected, (actual), (expected))
#define CHECK_NE(actual, other) ::e2e::CheckNotEqual(__FILE__, __LINE__, #actual, #other, (actual), (other))
#define CHECK_NEAR(actual, expected, tolerance)                                                              \
    ::e2e::CheckNear(__FILE__, __LINE__, #actual, #expected, (actual), (expected), (tolerance))
// Waits for cond, or for actual to equal expected, then checks it: the program answers in its
// own time, and a failure shows what was there when the hang guard ran out.
#define CHECK_SOON(cond)                                                                                     \
    ::e2e::CheckTrue(__FILE__, __LINE__, #cond,                                                              \
                     ::e2e::WaitUntil(::e2e::kHangGuardMs, [&] { return static_cast<bool>(cond); }))
#define CHECK_EQ_SOON(actual, expected)                                                                      \
    (::e2e::WaitUntil(::e2e::kHangGuardMs, [&] { return (actual) == (expected); }), CHECK_EQ(actual, expected))
// Stops the case when what follows would only pile up consequential failures.
#define REQUIRE(cond)                                                                                        \
    do {                                                                                                     \
        if (!CHECK(cond))                                                                                    \
            return;                                                                                          \
    } while (0)
#define FAIL(what) ::e2e::RecordFailure(__FILE__, __LINE__, (what))

// Names what the following checks are about, in their failure lines, while it lives.
class Context {
public:
    explicit Context(std::string what);
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
};

// ---- cases -----------------------------------------------------------------------------

using CaseFunction = void (*)();

struct CaseRegistrar {
    CaseRegistrar(const char* group, const char* name, CaseFunction function);
};

#define E2E_CONCAT2(a, b) a##b
#define E2E_CONCAT(a, b) E2E_CONCAT2(a, b)
#define E2E_CASE_IMPL(group, name, fn)                                                                       \
    static void fn();                                                                                        \
    static ::e2e::CaseRegistrar E2E_CONCAT(fn, _registrar)(group, name, fn);                                 \
    static void fn()
// Cases run in the order they are written, one group after the other.
#define E2E_CASE(group, name) E2E_CASE_IMPL(group, name, E2E_CONCAT(e2e_case_, __LINE__))

// Runs the cases whose "group: name" contains filter (all when empty); prints the summary line.
int RunCases(const char* filter);

// ---- the program under test ------------------------------------------------------------

extern const char* const kTitle;  // dialog title, message-box caption, message name
extern const char* const kFlatColorClass;
extern const char* const kSettingsKey;  // under HKEY_CURRENT_USER

// Controls of the main dialog, by the ids another program sees.
const int kField = 401;
const int kCurrentSwatch = 403;
const int kRedSwatch = 404;
const int kGreenSwatch = 405;
const int kBlueSwatch = 406;
const int kModeRed = 407;  // the six mode buttons, 407-412: red, green, blue, hue, saturation, brightness
const int kModeHue = 410;
const int kRedEdit = 413;
const int kGreenEdit = 414;
const int kBlueEdit = 415;
const int kHueEdit = 416;
const int kSaturationEdit = 417;
const int kBrightnessEdit = 418;
const int kHexEdit = 419;
const int kCopyHex = 421;
const int kHelp = 424;
const int kSlider = 425;
const int kStayOnTop = 426;
const int kWebSafeSwatch = 427;
const int kColors = 429;
const int kSavedList = 430;
const int kSavedAdd = 431;
const int kSavedDelete = 432;
const int kSavedOverwrite = 433;
const int kSavedLoad = 434;
const int kGrabIcon = 435;
const int kSettings = 436;
const int kNamedList = 437;
const int kNamedLoad = 438;
const int kNamedFind = 439;
const int kNamedCopy = 440;

// Where tintora.exe is; set once by main.
void SetProgramPath(const std::string& path);
const std::string& ProgramPath();

// Top-level windows of one process (of any, for pid 0) for which match holds, front to back.
std::vector<HWND> TopLevelWindows(DWORD pid, const std::function<bool(HWND)>& match);
// The first of them, or nullptr.
HWND FindTopLevel(DWORD pid, const std::function<bool(HWND)>& match);
// Whether the shell holds the program's status icon (the dialog's icon 0).
bool StatusIconPresent(HWND dialog);

// Top-level windows of the process that are shown.
std::vector<HWND> VisibleTopLevelWindows(DWORD pid);
// A shown dialog of the process with this title.
HWND FindDialogTitled(DWORD pid, const std::string& title);
bool IsTopmost(HWND window);
// Brings the window to the foreground; false (failure recorded) when it does not get there.
bool BringToFront(HWND window);

// Files and folders; folder names end in a backslash.
std::string FolderOf(const std::string& path);
std::vector<std::string> FilesIn(const std::string& folder);
void EmptyFolder(const std::string& folder);

// Puts a copy of the program and its About box library, and nothing else, into the folder
// `name` under the temporary folder; returns the copy's path, or "" (failure recorded).
std::string StageProgramCopy(const std::string& name);

// Removes the saved settings and the saved-colours file so each start is a first start.
void ResetSavedState();
// The saved-colours file: Tintora.ini in the Windows directory.
std::string SavedColorsFile();
// Stores a one-byte option under the settings key, as the program keeps its flags.
void WriteBinaryOption(const char* name, BYTE value);

// Main dialogs of Tintora on the desktop, of one process or (pid 0) of any.
std::vector<HWND> FindMainDialogs(DWORD pid);

// Dialog units of a dialog in Tintora's font, measured with a hidden dialog of our own.
// Like the dialog manager, position and size are converted separately: the result is
// (x, y, x' + w', y' + h') in pixels.
RECT DialogUnitsToPixels(int x, int y, int w, int h);
int DialogUnitsToPixelsX(int units);

// A message box the program raised, seen by the watcher and dismissed.
struct MessageBoxSeen {
    std::string caption;
    std::string text;
};

// One run of tintora.exe. The destructor leaves no copy running: it asks the program to
// close, then ends it by force if it has not.
class Tintora {
public:
    Tintora() = default;
    ~Tintora();
    Tintora(const Tintora&) = delete;
    Tintora& operator=(const Tintora&) = delete;

    // Clean state, start, then wait until the main dialog is shown; false (failure recorded)
    // when it is not there in time.
    bool Start(bool fresh = true);  // fresh: clean state first; false keeps what was saved
    // Only creates the process, for a copy that is expected to end by itself.
    bool Launch();
    // Before Start or Launch: run the copy of the program at `path` instead, with the variables
    // "NAME=value" set in its environment (replacing any of the same name).
    void UseCopy(const std::string& path, const std::vector<std::string>& environment);
    // Before Start or Launch: start in `folder` instead of the program's own folder.
    void UseWorkingFolder(const std::string& folder) { workingFolder_ = folder; }

    // Waits for the process to end; past the hang guard records a failure and ends it by force.
    bool WaitForExit(DWORD* exitCode);
    bool Running() const;
    // Waits until the program has taken every message posted to it and every input queued for
    // it before the call, and has painted what that made invalid in the window (the dialog when
    // none is named). A window's paint comes out of the queue only once no posted message or
    // input is left before it, so a pixel of the window is made invalid and the wait is for it
    // to be painted. Where nothing can be painted (the window hidden or minimised) only what was
    // sent before is known to be done. False (failure recorded) when the program has ended or
    // never got there.
    bool Settle(HWND window = nullptr);
    // Ends the process at once, as the system does after the session ends.
    void Kill();

    HWND Dialog() const { return dialog_; }
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    DWORD ProcessId() const { return info_.dwProcessId; }
    DWORD ThreadId() const;

    // Sends with a timeout so a busy or hung program fails the case instead of the run.
    LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT SendToDialog(UINT message, WPARAM wparam, LPARAM lparam)
    {
        return Send(dialog_, message, wparam, lparam);
    }
    void Click(int id);
    bool IsChecked(int id);
    // The keyboard focus inside the program's interface thread.
    HWND Focus() const;
    // A control's text, asked of the control with WM_GETTEXT.
    std::string Text(int id);

    // Message boxes seen since the last call; those never taken fail the case at the end.
    std::vector<MessageBoxSeen> TakeMessageBoxes();
    // Waits until count boxes have been seen (or the hang guard has run out) and takes them.
    std::vector<MessageBoxSeen> WaitForMessageBoxes(size_t count);
    // Once the program has settled: the boxes it raised meanwhile, read and taken (none, as a
    // rule). A box the program made is up before its paint comes, so none is missed.
    std::vector<MessageBoxSeen> SettledMessageBoxes();

private:
    void StartWatcher();
    void StopWatcher();
    // Reads and dismisses the boxes that are up; true when none was left half made.
    bool WatchOnce();
    void End();

    PROCESS_INFORMATION info_ = {};
    std::string copyPath_;
    std::vector<std::string> environment_;
    std::string workingFolder_;
    HWND dialog_ = nullptr;

    std::thread watcher_;
    std::atomic<bool> watching_{false};
    // Held while a look for boxes is under way: one at a time, the watcher's or a settled look's.
    std::mutex watchLock_;
    std::mutex boxesLock_;
    std::vector<MessageBoxSeen> boxes_;
    std::set<HWND> dismissed_;
};

// Polls condition every few milliseconds until it holds or timeoutMs passes (a poll, not a wait
// for a time: it returns as soon as the condition holds).
template <typename Condition>
bool WaitUntil(DWORD timeoutMs, Condition condition)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return condition();
        Sleep(20);  // the poll's pace
    }
}

// Checks that exactly count message boxes come, with the program's caption and this text.
void ExpectMessageBoxes(Tintora& app, const std::string& text, size_t count);
// Checks that the program, once settled, has raised no message box; names those it raised.
bool ExpectNoMessageBoxes(Tintora& app);
// Checks that the program is still running and its window shown once it has settled.
bool ExpectStillOpen(Tintora& app);
// Checks that the program ends with exit code 0; true when it did.
bool ExpectCleanExit(Tintora& app);
// Starts another copy, which must hand over to the running one and end with exit code 0.
bool SecondStartEnds();
// Presses a button that opens a modal dialog and waits for the dialog with this title; the
// press is posted, since a sent one returns only when the dialog closes. nullptr (failure
// recorded) when no dialog came.
HWND OpenModalDialog(Tintora& app, int button, const std::string& title);

// Six upper-case hex digits of 0xRRGGBB.
std::string HexText(uint32_t rgb);
std::string Lower(std::string text);
// Sets the current colour as another program would, through the hex field; true once the
// red, green and blue fields show it. The focus goes to the hex field first: the field being
// typed in is the one the program does not rewrite.
bool SetColor(Tintora& app, uint32_t rgb);

// ---- real input ----------------------------------------------------------------------

POINT Cursor();
// A mouse event where the cursor is: a button, or a move of nothing.
void SendMouse(DWORD flags);
// An absolute move to pixel p of the virtual screen, on whichever monitor it is, with the button
// events in flags.
void SendMouse(DWORD flags, POINT p);
// Waits until the cursor, moved there by anyone, rests at p for every program: see the
// definition. False when it does not get there or does not stay.
bool PointerRests(POINT p);
// Moves to pixel p of any monitor and waits until the pointer rests there. False (failure
// recorded) when it does not.
bool MoveTo(POINT p);
// A drag in a few steps, as a hand would move, ending with MoveTo(to).
bool DragTo(POINT to);
// The mouse capture of the program's interface thread.
HWND CaptureOf(const Tintora& app);
// The left button pressed or let go where the cursor is.
void LeftDown();
void LeftUp();
// A press that makes no double click with the one before: it comes once the double-click time
// has passed since the last press. The pause is part of the input, not a wait for the program.
void FreshLeftDown();
// A key pressed and let go; with KEYEVENTF_UNICODE in flags, unicode is the character typed.
void Key(WORD key, DWORD flags = 0, WCHAR unicode = 0);
// Only the press, or only the release, of a key held across other input.
void HoldKey(WORD key, bool down);

// Pixels as 0x00RRGGBB, row by row from the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> data;
    uint32_t At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
};
Pixels CaptureScreen(const RECT& area);
// The area of the screen once two looks, each after the program has settled, see the same
// picture: what the program has finished painting there. `window` is the one whose paint is
// waited for (the dialog when none is named).
Pixels SteadyCapture(Tintora& app, const RECT& area, HWND window = nullptr);
// The icon drawn at width x height on a background of one colour.
Pixels DrawIconOn(HICON icon, int width, int height, uint32_t background);
// An icon resource of tintora.exe itself, loaded as data; size 0 is the size it is stored in.
HICON LoadProgramIcon(int id, int size);
// Each of red, green and blue of 0xRRGGBB within tolerance.
bool Near(uint32_t a, uint32_t b, int tolerance);
// Looks for the icon, drawn at width x height, in the area of the screen. Only its opaque
// pixels count (drawn on black and on white, they agree), each channel within 16; percent of
// them must be found in place, and the picture may reach past the area's edges by overhang
// pixels. An icon with fewer than minOpaque opaque pixels is not taken for a picture at all.
bool ScreenShowsIcon(const RECT& area, HICON icon, int width, int height, int overhang, int percent,
                     size_t minOpaque);

// Looks for the icon's picture inside the control's area of the screen. The control may clip a
// pixel or two of it at its edges, so nine in ten of the icon's opaque pixels must be found in
// place; even the slim eyedropper has far more than 24 of them.
bool ControlShowsIcon(const RECT& area, HICON icon, int width, int height);

RECT WindowRect(HWND window);
POINT Centre(const RECT& r);
// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
RECT ClientRect(HWND window);
std::string ClassName(HWND window);
std::string WindowText(HWND window);
// The text of another process's control (an edit field), asked with WM_GETTEXT.
std::string ControlText(HWND control);

}  // namespace e2e
