// The feedback mail behind the About box's "Feedback..." button. Each test runs a copy of the
// program in a folder of its own, with an empty temporary folder, so every file the program
// makes there can be seen; beside the copy lies the recording stand-in for "mapi32.dll"
// (tests/mapi_recorder), which this driver's test tells Wine to prefer (WINEDLLOVERRIDES
// mapi32=n). Without it in the folder there is no mail support at all: Wine's own is not
// taken then.
#include <windows.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/e2e_about_box.h"
#include "tests/e2e/e2e_screen.h"
#include "tests/e2e/e2e_state.h"
#include "tests/shared/text_file.h"
#include "version/tintora_version.h"

using namespace e2e;
using namespace e2e::about;

namespace {

std::string NameOf(const std::string& path)
{
    return path.substr(path.find_last_of("\\/") + 1);
}

// The recorder's "name=value" lines; repeated names keep the last value.
std::map<std::string, std::string> ReadRecord(const std::string& path)
{
    std::map<std::string, std::string> record;
    std::string text;
    if (!ReadWholeFile(path, &text))
        return record;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string value;
        for (size_t i = eq + 1; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size()) {
                char c = line[++i];
                value += c == 'r' ? '\r' : c == 'n' ? '\n' : c;
            } else {
                value += line[i];
            }
        }
        record[line.substr(0, eq)] = value;
    }
    return record;
}

std::string BrowserVersion()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Internet Explorer", 0, KEY_READ, &key))
        return "Not installed";
    char value[256] = "";
    DWORD size = sizeof(value) - 1;
    LONG result = RegQueryValueExA(key, "Version", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? value : "Unknown";
}

// A copy of the program, its library and (optionally) the recording mapi32.dll in a folder
// of their own, with an empty temporary folder beside them.
struct StagedCopy {
    std::string folder;
    std::string program;
    std::string temp;
    std::string record;

    bool Make(bool withRecorder)
    {
        program = StageProgramCopy("tintora-feedback");
        if (program.empty())
            return false;
        folder = FolderOf(program);
        temp = folder + "temp\\";
        record = folder + "mail-record.txt";
        CreateDirectoryA(temp.c_str(), nullptr);
        EmptyFolder(temp);
        const std::string recorder = FolderOf(ProgramPath()) + "mapi_recorder\\mapi32.dll";
        if (withRecorder && !CopyFileA(recorder.c_str(), (folder + "mapi32.dll").c_str(), FALSE)) {
            ADD_FAILURE() << "cannot put the recording mapi32.dll beside the copy (error " << GetLastError()
                          << ")";
            return false;
        }
        return true;
    }

    // Wine takes DLL overrides from the driver's own start, not from here.
    std::vector<std::string> Environment(const std::string& tempFolder) const
    {
        return {"TMP=" + tempFolder, "TEMP=" + tempFolder, "TINTORA_MAPI_RECORD=" + record};
    }
};

// Makes Wine report Windows XP to every tintora.exe while it lives.
class WindowsXpForTintora {
public:
    WindowsXpForTintora()
    {
        HKEY key;
        ok_ = RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
              ERROR_SUCCESS;
        if (ok_) {
            ok_ = RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("winxp"), 6) ==
                  ERROR_SUCCESS;
            RegCloseKey(key);
        }
    }
    ~WindowsXpForTintora() { RegDeleteKeyA(HKEY_CURRENT_USER, kKey); }
    WindowsXpForTintora(const WindowsXpForTintora&) = delete;
    WindowsXpForTintora& operator=(const WindowsXpForTintora&) = delete;
    bool Ok() const { return ok_; }

private:
    static constexpr const char* kKey = "Software\\Wine\\AppDefaults\\tintora.exe";
    bool ok_ = false;
};

const char kBody[] =
    "[An attachment containing anonymous information about your system configuration was added. "
    "Please do not remove it, as we need it to give you the best possible support.]";

// The temporary folder's changes while `act` runs: "+name" for a file made, "-name" removed.
template <typename Act>
std::vector<std::string> WatchFolder(const std::string& folder, Act act)
{
    std::vector<std::string> changes;
    HANDLE handle = CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot watch " << folder;
        act();
        return changes;
    }
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    alignas(DWORD) char buffer[8192];
    auto issue = [&] {
        ResetEvent(overlapped.hEvent);
        return ReadDirectoryChangesW(handle, buffer, sizeof(buffer), FALSE,
                                     FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE, nullptr,
                                     &overlapped, nullptr);
    };
    bool watching = issue();
    act();
    // Collect until the file made has been removed again (or the hang guard runs out).
    while (watching && WaitForSingleObject(overlapped.hEvent, kHangGuardMs) == WAIT_OBJECT_0) {
        DWORD bytes = 0;
        if (!GetOverlappedResult(handle, &overlapped, &bytes, FALSE) || bytes == 0)
            break;
        for (char* p = buffer;;) {
            auto* info = reinterpret_cast<FILE_NOTIFY_INFORMATION*>(p);
            char name[MAX_PATH] = "";
            WideCharToMultiByte(CP_ACP, 0, info->FileName, info->FileNameLength / sizeof(WCHAR), name,
                                sizeof(name) - 1, nullptr, nullptr);
            if (info->Action == FILE_ACTION_ADDED)
                changes.push_back(std::string("+") + name);
            else if (info->Action == FILE_ACTION_REMOVED)
                changes.push_back(std::string("-") + name);
            if (!info->NextEntryOffset)
                break;
            p += info->NextEntryOffset;
        }
        if (!changes.empty() && changes.back()[0] == '-')
            break;
        watching = issue();
    }
    CancelIo(handle);
    CloseHandle(overlapped.hEvent);
    CloseHandle(handle);
    return changes;
}

// The stand-in is only taken when Wine prefers native mapi32 for this whole run.
bool NativeMapiPreferred()
{
    char overrides[512] = "";
    GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof(overrides));
    if (strstr(overrides, "mapi32=n"))
        return true;
    ADD_FAILURE() << "run these tests with WINEDLLOVERRIDES=mapi32=n in the environment";
    return false;
}

// A staged copy running with its About box open, ready for "Feedback...".
struct AboutOpen {
    StagedCopy copy;
    Tintora app;
    HWND about = nullptr;

    // withTemp false: TMP and TEMP name a folder that does not exist.
    bool Open(bool withRecorder, bool withTemp)
    {
        if (!NativeMapiPreferred() || !copy.Make(withRecorder))
            return false;
        app.UseCopy(copy.program, copy.Environment(withTemp ? copy.temp : copy.folder + "missing\\"));
        if (!app.Start())
            return false;
        about = OpenAboutBox(app);
        return about != nullptr;
    }

    // Returns once the mail has been offered, or given up.
    void PressFeedback() { app.Send(GetDlgItem(about, kFeedback), BM_CLICK, 0, 0); }
};

}  // namespace

// ---- the feedback mail -------------------------------------------------------------------

TEST(Feedback, OffersSupportAMailWithTheReportAttachedTheFileIsGoneAfterwards)
{
    WindowsXpForTintora xp;
    ASSERT_TRUE(xp.Ok());
    AboutOpen scene;
    ASSERT_TRUE(scene.Open(true, true));
    Tintora& app = scene.app;
    const StagedCopy& copy = scene.copy;
    HWND about = scene.about;
    const std::string family = WindowText(GetDlgItem(about, kOsFamily));
    const std::string versionLine = WindowText(GetDlgItem(about, kOsVersion));
    EXPECT_EQ(family, "Windows NT/2000");
    EXPECT_EQ(WindowText(GetDlgItem(about, kIeVersion)), BrowserVersion());

    // Returns once the stand-in has recorded the mail and returned.
    scene.PressFeedback();

    std::map<std::string, std::string> mail = ReadRecord(copy.record);
    ASSERT_FALSE(mail.empty());
    EXPECT_EQ(mail["session"], "0");
    EXPECT_EQ(mail["uiparam"], "0");
    EXPECT_EQ(mail["flags"], "8");  // MAPI_DIALOG
    EXPECT_EQ(mail["reserved"], "0");
    EXPECT_EQ(mail["subject"], "Ostrel Tintora" PRODUCT_VERSION);
    EXPECT_EQ(mail["body"], std::string(kBody));
    EXPECT_EQ(mail["messagetype"], "(null)");
    EXPECT_EQ(mail["date"], "(null)");
    EXPECT_EQ(mail["conversation"], "(null)");
    EXPECT_EQ(mail["message.flags"], "0");
    EXPECT_EQ(mail["originator"], "(null)");
    EXPECT_EQ(mail["recipients"], "1");
    EXPECT_EQ(mail["recipient.class"], "1");  // MAPI_TO
    EXPECT_EQ(mail["recipient.name"], "Ostrel");
    EXPECT_EQ(mail["recipient.address"], "feedback@ostrel.example");
    EXPECT_EQ(mail["recipient.eidsize"], "0");
    EXPECT_EQ(mail["recipient.entryid"], "(null)");
    EXPECT_EQ(mail["files"], "1");
    EXPECT_EQ(mail["file.flags"], "0");
    EXPECT_EQ(mail["file.position"], "4294967295");  // -1: not inside the body
    EXPECT_EQ(mail["file.name"], "System Configuration.txt");
    EXPECT_EQ(mail["file.type"], "(null)");
    EXPECT_EQ(mail["file.copied"], "1");

    // A file of its own in the temporary folder, gone once the mail client has returned.
    const std::string path = mail["file.path"];
    EXPECT_EQ(lstrcmpiA(FolderOf(path).c_str(), copy.temp.c_str()), 0);
    EXPECT_EQ(NameOf(path).substr(0, 3), "OSF");
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(FilesIn(copy.temp), std::vector<std::string>());

    // The report, for the system the program was told it runs on: "5.1.2600 Service Pack 3".
    const size_t space = versionLine.find(' ');
    ASSERT_NE(space, std::string::npos);
    const std::string expected = "Program:                        Ostrel Tintora\r\n"
                                 "Program Version:                " PRODUCT_VERSION "\r\n"
                                 "OS:                             Windows XP\r\n"
                                 "OS Version:                     " +
                                 versionLine.substr(0, space) +
                                 "\r\n"
                                 "Additional Version Information: " +
                                 versionLine.substr(space + 1) +
                                 "\r\n"
                                 "Internet Explorer Version:      " +
                                 BrowserVersion();
    EXPECT_EQ(versionLine.substr(0, 6), "5.1.26");
    std::string attachment;
    EXPECT_TRUE(ReadWholeFile(copy.record + ".attachment", &attachment));
    EXPECT_EQ(attachment, expected);

    EXPECT_TRUE(IsWindowVisible(about));
    EXPECT_TRUE(CloseAboutBox(app, about));
    ExpectNoMessageBoxes(app);
}

TEST(Feedback, WithoutAMailLibraryTheReportFileIsStillMadeAndDeletedAndNothingIsShown)
{
    // No stand-in beside the copy, and Wine's own is not to be taken: no mail support at all.
    AboutOpen scene;
    ASSERT_TRUE(scene.Open(false, true));
    Tintora& app = scene.app;
    const StagedCopy& copy = scene.copy;
    const std::vector<HWND> before = VisibleTopLevelWindows(app.ProcessId());

    std::vector<std::string> changes = WatchFolder(copy.temp, [&] { scene.PressFeedback(); });
    ASSERT_GE(changes.size(), 2u);
    EXPECT_EQ(changes.front().substr(0, 4), "+OSF");
    EXPECT_EQ(changes.back(), "-" + changes.front().substr(1));
    EXPECT_EQ(FilesIn(copy.temp), std::vector<std::string>());
    EXPECT_EQ(GetFileAttributesA(copy.record.c_str()), INVALID_FILE_ATTRIBUTES);

    ExpectNoMessageBoxes(app);
    EXPECT_EQ(VisibleTopLevelWindows(app.ProcessId()), before);
    EXPECT_TRUE(CloseAboutBox(app, scene.about));
}

TEST(Feedback, WithoutATemporaryFolderTheReportGoesInTheBodyAndNothingIsAttached)
{
    AboutOpen scene;
    ASSERT_TRUE(scene.Open(true, false));
    scene.PressFeedback();

    std::map<std::string, std::string> mail = ReadRecord(scene.copy.record);
    ASSERT_FALSE(mail.empty());
    EXPECT_EQ(mail["flags"], "8");
    EXPECT_EQ(mail["recipient.address"], "feedback@ostrel.example");
    EXPECT_EQ(mail["subject"], "Ostrel Tintora" PRODUCT_VERSION);
    EXPECT_EQ(mail["files"], "0");
    EXPECT_EQ(mail.count("file.path"), 0u);
    const std::string body = mail["body"];
    const std::string lead =
        "[The following anonymous information about your system configuration was added. "
        "Please do not remove it, as we need it to give you the best possible support.]\r\n\r\n"
        "Program:                        Ostrel Tintora\r\n"
        "Program Version:                " PRODUCT_VERSION "\r\n";
    EXPECT_EQ(body.substr(0, lead.size()), lead);
    EXPECT_NE(body.find("\r\nInternet Explorer Version:      " + BrowserVersion()), std::string::npos);
    EXPECT_TRUE(CloseAboutBox(scene.app, scene.about));
    ExpectNoMessageBoxes(scene.app);
}
