#include "feedback/feedback.h"

#include <mapi.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "about/about_text.h"
#include "core/product.h"
#include "core/program_files.h"
#include "feedback/feedback_report.h"

namespace {

const char kSupportName[] = "Ostrel";
const char kSupportAddress[] = "feedback@ostrel.example";
const char kAttachmentName[] = "System Configuration.txt";
const char kSubject[] = PRODUCT_TITLE PRODUCT_VERSION;
const char kBody[] =
    "[An attachment containing anonymous information about your system configuration was added. "
    "Please do not remove it, as we need it to give you the best possible support.]";
// Used when no temporary file can be made: the report then travels in the body itself.
const char kBodyWithReport[] =
    "[The following anonymous information about your system configuration was added. "
    "Please do not remove it, as we need it to give you the best possible support.]\r\n\r\n";

void ReportBrowserVersion(char* version)
{
    HeapBlock<char> value;
    DWORD size = 0;
    switch (ReadBrowserVersion(&value, &size)) {
    case BrowserVersion::NotInstalled:
        strcpy(version, "Not installed");
        return;
    case BrowserVersion::Unreadable:
        strcpy(version, "Unknown");
        return;
    case BrowserVersion::Read:
        break;
    }
    // Values longer than the report takes, and values that fill it without a terminator, are
    // unreadable.
    if (size > BROWSER_VERSION_SIZE || (size == BROWSER_VERSION_SIZE && value[size - 1] != '\0')) {
        strcpy(version, "Unknown");
        return;
    }
    lstrcpynA(version, value.Data(), BROWSER_VERSION_SIZE);
}

// A new, empty, uniquely named file in the temporary folder; false when there is none.
bool CreateReportFile(char* path)
{
    char folder[PATH_TEXT_SIZE];
    const DWORD length = GetTempPathA(PATH_TEXT_SIZE, folder);
    if (length == 0 || length >= PATH_TEXT_SIZE)
        return false;
    return GetTempFileNameA(folder, "OSF", 0, path) != 0;
}

void WriteReportFile(const char* path, const char* report)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, report, static_cast<DWORD>(strlen(report)), &written, nullptr);
    CloseHandle(file);
}

// Opens the mail client's compose dialog; returns when the user has sent or discarded the mail.
// Without a report file the report goes into the body instead of an attachment.
void OfferMail(const char* reportPath, const char* report)
{
    HMODULE mapi = LoadLibraryA("mapi32.dll");
    if (!mapi)
        return;
    auto sendMail =
        reinterpret_cast<LPMAPISENDMAIL>(reinterpret_cast<void*>(GetProcAddress(mapi, "MAPISendMail")));
    if (sendMail) {
        // Simple MAPI's records take writable strings; it only reads them.
        char name[sizeof(kSupportName)], address[sizeof(kSupportAddress)];
        char attachmentName[sizeof(kAttachmentName)], subject[sizeof(kSubject)];
        char path[PATH_TEXT_SIZE];
        char body[sizeof(kBodyWithReport) + REPORT_TEXT_SIZE];
        strcpy(name, kSupportName);
        strcpy(address, kSupportAddress);
        strcpy(attachmentName, kAttachmentName);
        strcpy(subject, kSubject);

        MapiRecipDesc recipient = {};
        recipient.ulRecipClass = MAPI_TO;
        recipient.lpszName = name;
        recipient.lpszAddress = address;

        MapiFileDesc attachment = {};
        attachment.nPosition = static_cast<ULONG>(-1);
        attachment.lpszFileName = attachmentName;

        MapiMessage message = {};
        message.lpszSubject = subject;
        message.lpszNoteText = body;
        message.nRecipCount = 1;
        message.lpRecips = &recipient;
        if (reportPath) {
            strcpy(path, reportPath);
            attachment.lpszPathName = path;
            message.nFileCount = 1;
            message.lpFiles = &attachment;
            strcpy(body, kBody);
        } else {
            snprintf(body, sizeof(body), "%s%s", kBodyWithReport, report);
        }
        sendMail(0, 0, &message, MAPI_DIALOG, 0);
    }
    FreeLibrary(mapi);
}

}  // namespace

void ShowCredits(HWND about)
{
    // Beside the program, wherever it was started from; the bare name if the path is unknown.
    char path[PATH_TEXT_SIZE];
    PathBesideProgram("credits.htm", path, sizeof(path));
    ShellExecuteA(about, "open", path, nullptr, nullptr, SW_SHOW);
}

void SendFeedback(HWND)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExA(&version);

    char browserVersion[BROWSER_VERSION_SIZE];
    ReportBrowserVersion(browserVersion);

    char report[REPORT_TEXT_SIZE];
    ComposeReport(ReportFacts{PRODUCT_TITLE, PRODUCT_VERSION, browserVersion}, version, report);

    char path[PATH_TEXT_SIZE];
    if (!CreateReportFile(path)) {
        OfferMail(nullptr, report);
        return;
    }
    WriteReportFile(path, report);
    OfferMail(path, report);
    DeleteFileA(path);
}
