// The About box of the real program: the library's box over the main window, its texts, and
// the ways it closes.
#include <windows.h>

#include <string>

#include "tests/e2e/e2e_about_box.h"
#include "tests/e2e/e2e_screen.h"
#include "version/tintora_version.h"

using namespace e2e;
using namespace e2e::about;

TEST(About, ShowsTheLibrarysBoxOverTheDisabledWindowEscapeStaysOkAndTheCloseBoxClose)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    HWND about = OpenAboutBox(app);
    ASSERT_TRUE(about);
    EXPECT_EQ(GetWindow(about, GW_OWNER), app.Dialog());
    EXPECT_FALSE(IsWindowEnabled(app.Dialog()));
    EXPECT_EQ(WindowText(GetDlgItem(about, kProgramLine)), "Ostrel Tintora");
    EXPECT_EQ(WindowText(GetDlgItem(about, kCopyright)), "Copyright \xA9 2001 Ostrel. All rights reserved.");
    EXPECT_EQ(WindowText(GetDlgItem(about, kLink)), "http://www.ostrel.example/");
    EXPECT_EQ(WindowText(GetDlgItem(about, kLicense)), "Freeware. Provided as is, without any warranty.");
    EXPECT_EQ(WindowText(GetDlgItem(about, kVersion)), PRODUCT_VERSION);
    EXPECT_EQ(WindowText(GetDlgItem(about, kReleaseDate)), "May 28 2001");
    EXPECT_EQ(WindowText(GetDlgItem(about, kOsFamily)), "Windows NT/2000");
    EXPECT_NE(WindowText(GetDlgItem(about, kOsVersion)), "");

    PostMessageA(about, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(about, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    app.Settle(about);
    EXPECT_TRUE(IsWindow(about) && IsWindowVisible(about));

    EXPECT_TRUE(CloseAboutBox(app, about));
    EXPECT_TRUE(IsWindowEnabled(app.Dialog()));

    about = OpenAboutBox(app);
    ASSERT_TRUE(about);
    PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_SOON(!IsWindow(about));
    EXPECT_TRUE(IsWindowEnabled(app.Dialog()));
    EXPECT_TRUE(app.Running());
    ExpectNoMessageBoxes(app);
}
