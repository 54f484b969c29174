// The About box of a running Tintora, for the cases that open it: its control ids and the
// ways to find, open and close it from outside.
#pragma once
#include <windows.h>

#include "tests/e2e/e2e_support.h"

namespace e2e {
namespace about {

const int kAbout = 422;
const int kProgramLine = 501;
const int kCopyright = 502;
const int kLink = 503;
const int kLicense = 504;
const int kVersion = 505;
const int kReleaseDate = 506;
const int kOsFamily = 507;
const int kOsVersion = 508;
const int kIeVersion = 509;
const int kFeedback = 511;

const char kAboutTitle[] = "About Ostrel Tintora";
const DWORD kAboutWaitMs = 5000;

struct FindAboutData {
    DWORD pid;
    HWND found;
};

inline BOOL CALLBACK FindAboutProc(HWND window, LPARAM lparam)
{
    auto* data = reinterpret_cast<FindAboutData*>(lparam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == data->pid && ClassName(window) == "#32770" && WindowText(window) == kAboutTitle &&
        IsWindowVisible(window)) {
        data->found = window;
        return FALSE;
    }
    return TRUE;
}

inline HWND FindAboutBox(DWORD pid)
{
    FindAboutData data = {pid, nullptr};
    EnumWindows(FindAboutProc, reinterpret_cast<LPARAM>(&data));
    return data.found;
}

// Presses "About" without waiting for it: the box is modal, the click returns when it closes.
inline HWND OpenAboutBox(Tintora& app)
{
    PostMessageA(app.Item(kAbout), BM_CLICK, 0, 0);
    HWND about = nullptr;
    WaitUntil(kAboutWaitMs, [&] { return (about = FindAboutBox(app.ProcessId())) != nullptr; });
    if (!about)
        FAIL("the About box did not appear");
    return about;
}

inline bool CloseAboutBox(Tintora& app, HWND about)
{
    app.Send(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    return WaitUntil(kAboutWaitMs, [&] { return !IsWindow(about); });
}

}  // namespace about
}  // namespace e2e
