// The program under test: a handle on one running tintora.exe that never lets a wait hang the
// run, the watcher that reads and dismisses the message boxes it raises, and the checks many
// tests make of it.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "resources/resource.h"

namespace e2e {

extern const char* const kTitle;  // dialog title, message-box caption, message name

// Controls of the main dialog, by the ids another program sees.
const int kField = IDC_FIELD;
const int kCurrentSwatch = IDC_CURRENT_SWATCH;
const int kRedSwatch = IDC_RED_SWATCH;
const int kGreenSwatch = IDC_GREEN_SWATCH;
const int kBlueSwatch = IDC_BLUE_SWATCH;
const int kModeRed = IDC_MODE_RED;  // the six mode buttons: red, green, blue, hue, saturation, brightness
const int kModeHue = IDC_MODE_HUE;
const int kRedEdit = IDC_RED_EDIT;
const int kGreenEdit = IDC_GREEN_EDIT;
const int kBlueEdit = IDC_BLUE_EDIT;
const int kHueEdit = IDC_HUE_EDIT;
const int kSaturationEdit = IDC_SATURATION_EDIT;
const int kBrightnessEdit = IDC_BRIGHTNESS_EDIT;
const int kHexEdit = IDC_HEX_EDIT;
const int kCopyHex = IDC_COPY_HEX;
const int kHelp = IDC_HELP_BUTTON;
const int kSlider = IDC_SLIDER;
const int kStayOnTop = IDC_STAY_ON_TOP;
const int kWebSafeSwatch = IDC_WEBSAFE_SWATCH;
const int kColors = IDC_COLORS;
const int kSavedList = IDC_SAVED_LIST;
const int kSavedAdd = IDC_SAVED_ADD;
const int kSavedDelete = IDC_SAVED_DELETE;
const int kSavedOverwrite = IDC_SAVED_OVERWRITE;
const int kSavedLoad = IDC_SAVED_LOAD;
const int kGrabIcon = IDC_GRAB;
const int kSettings = IDC_SETTINGS;
const int kNamedList = IDC_NAMED_LIST;
const int kNamedLoad = IDC_NAMED_LOAD;
const int kNamedFind = IDC_NAMED_FIND;
const int kNamedCopy = IDC_NAMED_COPY;
const int kBackgroundSwatch = IDC_BACKGROUND_SWATCH;
const int kContrastRatio = IDC_CONTRAST_RATIO;
const int kContrastGrade = IDC_CONTRAST_GRADE;

// Where tintora.exe is; set once by main.
void SetProgramPath(const std::string& path);
const std::string& ProgramPath();
// Ends every program the driver started when the run overruns its deadline or the driver
// crashes; the job they are started in ends them when the driver goes in any other way.
void GuardTheRun();

// A shown dialog box of the process with this title; null when there is none.
HWND FindDialogTitled(DWORD pid, const std::string& title);
// Main dialogs of Tintora on the desktop, of one process or (pid 0) of any.
std::vector<HWND> FindMainDialogs(DWORD pid);

// A message box the program raised, seen by the watcher and dismissed.
struct MessageBoxSeen {
    std::string caption;
    std::string text;
};

// One run of tintora.exe. The destructor leaves no copy running: it asks the program to
// close, then ends it by force if it has not; boxes seen and never taken fail the test.
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
    // Before Start or Launch: run the copy of the program at `path` (UTF-8) instead, with the variables
    // "NAME=value" set in its environment (replacing any of the same name).
    void UseCopy(const std::string& path, const std::vector<std::string>& environment);
    // Before Start or Launch: the command line's words after the program's name.
    void UseArguments(const std::string& arguments) { arguments_ = arguments; }
    // Before Start or Launch: start in `folder` instead of the program's own folder.
    void UseWorkingFolder(const std::string& folder) { workingFolder_ = folder; }
    // Before Start: the program starts on a screen of `dpi` pixels per inch (the rest of the run
    // keeps the prefix's own).
    void UseDpi(int dpi) { dpi_ = dpi; }

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

    // Sends with a timeout so a busy or hung program fails the test instead of the run.
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

    // Message boxes seen since the last call; those never taken fail the test at the end.
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
    std::string arguments_;
    int dpi_ = 0;
    HWND dialog_ = nullptr;

    std::thread watcher_;
    std::atomic<bool> watching_{false};
    // Held while a look for boxes is under way: one at a time, the watcher's or a settled look's.
    std::mutex watchLock_;
    std::mutex boxesLock_;
    std::vector<MessageBoxSeen> boxes_;
    std::set<HWND> dismissed_;
};

// The mouse capture of the program's interface thread.
HWND CaptureOf(const Tintora& app);

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

// Puts the keyboard focus on a control of the window, brought to the front, as Tab would, an
// edit field's text selected; false (failure recorded) when it does not get there.
bool FocusOn(Tintora& app, int id);
// The mode buttons' checks, one character each, red first: "x-----" in red mode.
std::string ModeChecks(Tintora& app);

// Six upper-case hex digits of 0xRRGGBB.
std::string HexText(uint32_t rgb);
std::string Lower(std::string text);
// Sets the current colour as another program would, through the hex field; true once the
// red, green and blue fields show it. The focus goes to the hex field first: the field being
// typed in is the one the program does not rewrite.
bool SetColor(Tintora& app, uint32_t rgb);

}  // namespace e2e
