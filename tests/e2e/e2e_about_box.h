// The About box of a running Tintora, for the tests that open it: its control ids and the
// ways to find, open and close it from outside.
#pragma once
#include <windows.h>

#include "tests/e2e/e2e_checks.h"
#include "tests/e2e/e2e_program.h"

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

// Presses "About"; the box is modal, so the press is posted.
inline HWND OpenAboutBox(Tintora& app)
{
    return OpenModalDialog(app, kAbout, kAboutTitle);
}

inline bool CloseAboutBox(Tintora& app, HWND about)
{
    app.Send(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    return WaitUntil(kHangGuardMs, [&] { return !IsWindow(about); });
}

}  // namespace about
}  // namespace e2e
