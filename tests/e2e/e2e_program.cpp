#include "tests/e2e/e2e_program.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "tests/e2e/e2e_checks.h"
#include "tests/e2e/e2e_screen.h"
#include "tests/e2e/e2e_state.h"

namespace e2e {

const char* const kTitle = "Ostrel Tintora";

namespace {

// The whole run; far above its usual length even on a busy machine, below the ctest limit.
const DWORD kRunDeadlineMs = 540000;

// Message boxes keep their text in a static with this id.
const int kMessageBoxTextId = 0xFFFF;

std::string g_programPath;

// Processes we started and have not yet reaped, so the deadline can end them.
std::mutex g_liveLock;
std::set<HANDLE> g_live;

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

// A shown dialog of the process with this title.
HWND FindDialogTitled(DWORD pid, const std::string& title)
{
    return FindTopLevel(pid, [&](HWND window) {
        return ClassName(window) == "#32770" && WindowText(window) == title && IsWindowVisible(window);
    });
}

void SetProgramPath(const std::string& path)
{
    g_programPath = path;
}

const std::string& ProgramPath()
{
    return g_programPath;
}

void GuardTheRun()
{
    SetUnhandledExceptionFilter(OnCrash);
    std::thread([] {
        Sleep(kRunDeadlineMs);  // the run's deadline, not a wait for the program
        printf("e2e: the run took longer than %lu s; ending it\n",
               static_cast<unsigned long>(kRunDeadlineMs / 1000));
        fflush(stdout);
        EndLiveProcesses();
        ExitProcess(3);
    }).detach();
}

std::vector<HWND> FindMainDialogs(DWORD pid)
{
    // Every main dialog has the colour field; message boxes and other dialogs do not.
    return TopLevelWindows(pid, [](HWND window) {
        return ClassName(window) == "#32770" && WindowText(window) == kTitle && GetDlgItem(window, kField);
    });
}

// ---- Tintora ---------------------------------------------------------------------------

Tintora::~Tintora()
{
    End();
    for (const MessageBoxSeen& box : boxes_)
        ADD_FAILURE() << "unexpected message box \"" << box.caption << "\": \"" << box.text << "\"";
}

void Tintora::UseCopy(const std::string& path, const std::vector<std::string>& environment)
{
    copyPath_ = path;
    environment_ = environment;
}

bool Tintora::Launch()
{
    if (info_.hProcess) {
        ADD_FAILURE() << "this Tintora was started already";
        return false;
    }
    const std::string& path = copyPath_.empty() ? ProgramPath() : copyPath_;
    std::string folder = !workingFolder_.empty() ? workingFolder_ : FolderOf(path);
    // The paths are UTF-8 (a copy's folder may be named in any script), the block of variables
    // in this program's code page.
    std::wstring commandLine = Wide("\"" + path + "\"" + (arguments_.empty() ? "" : " " + arguments_));
    const std::wstring widePath = Wide(path), wideFolder = Wide(folder);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    std::string environment = EnvironmentWith(environment_);
    // Suspended until it is in the job, so not even its first instant runs outside.
    if (!CreateProcessW(widePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        environment.empty() ? nullptr : &environment[0],
                        folder.empty() ? nullptr : wideFolder.c_str(), &startup, &info_)) {
        ADD_FAILURE() << "cannot start " << path << " (error " << GetLastError() << ")";
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
        ADD_FAILURE() << "a Tintora from elsewhere is running already";
        return false;
    }
    // Put back once the window is up, when the program has long read it.
    const DWORD storedDpi = dpi_ ? SwapLogPixels(dpi_) : 0;
    bool ended = false;
    const bool launched = Launch();
    if (launched) {
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
    }
    if (dpi_)
        SwapLogPixels(storedDpi);
    if (!launched)
        return false;
    // The window shows first; right after its first paint it adds the status icon (with the
    // option on) and, last, makes its tip window. Tests start from there.
    if (dialog_) {
        const bool finished = WaitUntil(kHangGuardMs, [&] {
            return FindTopLevel(info_.dwProcessId, [&](HWND window) {
                       return ClassName(window) == "tooltips_class32" &&
                              GetWindow(window, GW_OWNER) == dialog_;
                   }) != nullptr;
        });
        if (!finished)
            ADD_FAILURE() << "the main window made no tip window";
        return finished;
    }

    if (ended) {
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        std::string boxes;
        for (const MessageBoxSeen& box : TakeMessageBoxes())
            boxes += "; message box \"" + box.text + "\"";
        ADD_FAILURE() << "tintora ended before its window appeared, exit code " << code << boxes;
    } else {
        ADD_FAILURE() << "the main window did not appear within " << kHangGuardMs / 1000 << " s";
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
        ADD_FAILURE() << "waiting for a Tintora that was never started";
        return false;
    }
    if (WaitForSingleObject(info_.hProcess, kHangGuardMs) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "tintora did not end within " << kHangGuardMs / 1000 << " s; ending it";
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
        ADD_FAILURE() << "tintora is not running";
        return false;
    }
    if (!IsWindowVisible(window) || IsIconic(GetAncestor(window, GA_ROOT))) {
        DWORD_PTR ignored;
        if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kHangGuardMs, &ignored))
            return true;
        ADD_FAILURE() << "tintora did not answer within the hang guard";
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
    ADD_FAILURE() << (Running() ? "tintora did not paint within the hang guard" : "tintora ended");
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
        ADD_FAILURE() << "message " << message << " for a missing window";
        return 0;
    }
    if (!SendMessageTimeoutA(window, message, wparam, lparam, SMTO_NORMAL, kHangGuardMs, &result))
        ADD_FAILURE() << "message " << message
                      << (IsWindow(window) ? " was not answered within the hang guard"
                                           : " went to a window that is gone");
    return static_cast<LRESULT>(result);
}

void Tintora::Click(int id)
{
    HWND button = Item(id);
    if (!button) {
        ADD_FAILURE() << "no control " << id << " to click";
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

HWND CaptureOf(const Tintora& app)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(app.ThreadId(), &info) ? info.hwndCapture : nullptr;
}

// ---- what many tests check --------------------------------------------------------------

void ExpectMessageBoxes(Tintora& app, const std::string& text, size_t count)
{
    const std::vector<MessageBoxSeen> seen = app.WaitForMessageBoxes(count);
    EXPECT_EQ(seen.size(), count);
    for (const MessageBoxSeen& box : seen) {
        EXPECT_EQ(box.caption, kTitle);
        EXPECT_EQ(box.text, text);
    }
}

bool ExpectNoMessageBoxes(Tintora& app)
{
    const std::vector<MessageBoxSeen> boxes = app.SettledMessageBoxes();
    for (const MessageBoxSeen& box : boxes)
        ADD_FAILURE() << "unexpected message box \"" << box.caption << "\": \"" << box.text << "\"";
    return boxes.empty();
}

bool ExpectStillOpen(Tintora& app)
{
    return app.Settle() && CHECKED(app.Running()) && CHECKED(IsWindowVisible(app.Dialog()));
}

bool ExpectCleanExit(Tintora& app)
{
    DWORD code = 99;
    if (!app.WaitForExit(&code))
        return false;
    EXPECT_EQ(code, 0ul) << "exit code";
    return code == 0;
}

bool SecondStartEnds()
{
    Tintora second;
    return second.Launch() && ExpectCleanExit(second);
}

HWND OpenModalDialog(Tintora& app, int button, const std::string& title)
{
    PostMessageA(app.Item(button), BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    if (!WaitUntil(kHangGuardMs,
                   [&] { return (dialog = FindDialogTitled(app.ProcessId(), title)) != nullptr; }))
        ADD_FAILURE() << "the dialog \"" << title << "\" did not appear";
    return dialog;
}

bool FocusOn(Tintora& app, int id)
{
    if (!BringToFront(app.Dialog()))
        return false;
    app.SendToDialog(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(app.Item(id)), TRUE);
    app.Send(app.Item(id), EM_SETSEL, 0, -1);
    return CHECKED_EQ_SOON(app.Focus(), app.Item(id));
}

std::string ModeChecks(Tintora& app)
{
    std::string checks;
    for (int id = kModeRed; id < kModeRed + 6; ++id)
        checks += app.IsChecked(id) ? 'x' : '-';
    return checks;
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

bool SetColor(Tintora& app, uint32_t rgb)
{
    app.SendToDialog(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(app.Item(kHexEdit)), TRUE);
    const std::string hex = HexText(rgb);
    app.Send(app.Item(kHexEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(hex.c_str()));
    auto fields = [&] { return app.Text(kRedEdit) + " " + app.Text(kGreenEdit) + " " + app.Text(kBlueEdit); };
    const std::string expected = std::to_string(rgb >> 16 & 0xFF) + " " + std::to_string(rgb >> 8 & 0xFF) +
                                 " " + std::to_string(rgb & 0xFF);
    return CHECKED_EQ_SOON(fields(), expected);
}

}  // namespace e2e
