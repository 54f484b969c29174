// The About box of the real program: the library's box over the main window, its texts, and
// the ways it closes.
#include <windows.h>

#include <string>

#include "tests/e2e/e2e_about_box.h"
#include "tests/e2e/e2e_support.h"
#include "version/tintora_version.h"

using namespace e2e;
using namespace e2e::about;

// ---- the About box ---------------------------------------------------------------------

E2E_CASE(
    "about",
    "\"About\" shows the library's box over the disabled window; Escape stays, OK and the close box close")
{
    Tintora app;
    REQUIRE(app.Start());
    HWND about = OpenAboutBox(app);
    REQUIRE(about);
    CHECK_EQ(GetWindow(about, GW_OWNER), app.Dialog());
    CHECK(!IsWindowEnabled(app.Dialog()));
    CHECK_EQ(WindowText(GetDlgItem(about, kProgramLine)), std::string("Ostrel Tintora"));
    CHECK_EQ(WindowText(GetDlgItem(about, kCopyright)),
             std::string("Copyright \xA9 2001 Ostrel. All rights reserved."));
    CHECK_EQ(WindowText(GetDlgItem(about, kLink)), std::string("http://www.ostrel.example/"));
    CHECK_EQ(WindowText(GetDlgItem(about, kLicense)),
             std::string("Freeware. Provided as is, without any warranty."));
    CHECK_EQ(WindowText(GetDlgItem(about, kVersion)), std::string(PRODUCT_VERSION));
    CHECK_EQ(WindowText(GetDlgItem(about, kReleaseDate)), std::string("May 28 2001"));
    CHECK_EQ(WindowText(GetDlgItem(about, kOsFamily)), std::string("Windows NT/2000"));
    CHECK_NE(WindowText(GetDlgItem(about, kOsVersion)), std::string(""));

    PostMessageA(about, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(about, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    CHECK(app.Settle(about));
    CHECK(IsWindow(about) && IsWindowVisible(about));

    CHECK(CloseAboutBox(app, about));
    CHECK(IsWindowEnabled(app.Dialog()));

    about = OpenAboutBox(app);
    REQUIRE(about);
    PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    CHECK_SOON(!IsWindow(about));
    CHECK(IsWindowEnabled(app.Dialog()));
    CHECK(app.Running());
    ExpectNoMessageBoxes(app);
}
