// The About box of the real program: the library's box over the main window, its texts, and
// the ways it closes; and what the program and the library say of themselves in their files.
#include <windows.h>

#include <string>
#include <vector>

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

// ---- the files' version resources ------------------------------------------------------

namespace {

// One text of a file's version resource, from the US English, Windows Latin 1 block; empty when
// the file has none or not this one.
std::string VersionText(const std::string& file, const char* name)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    std::vector<char> data(size);
    if (!size || !GetFileVersionInfoA(file.c_str(), 0, size, data.data()))
        return "";
    const std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    char* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) || !text)
        return "";
    return text;
}

}  // namespace

TEST(Files, TheProgramAndTheLibraryNameTheProductItsMakerAndTheVersionInTheirProperties)
{
    const std::string program = ProgramPath();
    const std::string library = program.substr(0, program.find_last_of("\\/") + 1) + "ostrel_about.dll";
    const struct {
        std::string file;
        const char* description;
        const char* internalName;
        const char* fileName;
    } files[] = {
        {program, "Ostrel Tintora color picker", "tintora", "tintora.exe"},
        {library, "Ostrel About Box Library", "ostrel_about", "ostrel_about.dll"},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.file);
        EXPECT_EQ(VersionText(f.file, "ProductName"), "Ostrel Tintora");
        EXPECT_EQ(VersionText(f.file, "CompanyName"), "Ostrel");
        EXPECT_EQ(VersionText(f.file, "FileDescription"), f.description);
        EXPECT_EQ(VersionText(f.file, "LegalCopyright"), "Copyright (C) 2001 Ostrel");
        EXPECT_EQ(VersionText(f.file, "InternalName"), f.internalName);
        EXPECT_EQ(VersionText(f.file, "OriginalFilename"), f.fileName);
        EXPECT_EQ(VersionText(f.file, "FileVersion"), PRODUCT_VERSION);
        EXPECT_EQ(VersionText(f.file, "ProductVersion"), PRODUCT_VERSION);
    }
}
