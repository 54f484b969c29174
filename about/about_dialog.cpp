#include "about/about_dialog.h"

#include <shellapi.h>

#include <cstring>

#include "about/about_resource.h"
#include "about/about_text.h"
#include "core/fonts.h"

namespace {

AboutDialogState* GetState(HWND dialog)
{
    return reinterpret_cast<AboutDialogState*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}

bool CopyText(const char* text, HeapBlock<char>* copy)
{
    const size_t size = strlen(text) + 1;
    if (!copy->Allocate(size))
        return false;
    memcpy(copy->Data(), text, size);
    return true;
}

BOOL Fail(HWND dialog)
{
    EndDialog(dialog, -1);
    return FALSE;
}

void ShowOperatingSystem(HWND dialog)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExA(&version);
    SetDlgItemTextA(dialog, IDC_ABOUT_OS, OsFamilyName(version.dwPlatformId));

    char line[ABOUT_TEXT_SIZE];
    FormatOsVersionLine(version, line, sizeof(line));
    SetDlgItemTextA(dialog, IDC_ABOUT_OS_VERSION, line);
}

// The field stays empty when the browser is missing or its version cannot be read.
void ShowBrowserVersion(HWND dialog)
{
    HeapBlock<char> version;
    DWORD size = 0;
    if (ReadBrowserVersion(&version, &size) == BrowserVersion::Read)
        SetDlgItemTextA(dialog, IDC_ABOUT_IE_VERSION, version.Data());
}

BOOL OnInitDialog(HWND dialog, const OSTRELABOUT* about)
{
    auto* state = NewWindowRecord<AboutDialogState>();
    if (!state)
        return Fail(dialog);
    SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    if (!CopyText(about->pszHomeUrl, &state->homeUrl) || !CopyText(about->pszProductUrl, &state->productUrl))
        return Fail(dialog);

    state->credits = about->pfnCredits;
    state->feedback = about->pfnFeedback;

    char title[ABOUT_TEXT_SIZE];
    FormatAboutTitle(about->pszProgram, title, sizeof(title));
    SetWindowTextA(dialog, title);

    SetDlgItemTextA(dialog, IDC_ABOUT_PROGRAM, about->pszProgram);
    SetDlgItemTextA(dialog, IDC_ABOUT_COPYRIGHT, about->pszCopyright);
    SetDlgItemTextA(dialog, IDC_ABOUT_LINK, about->pszHomeUrl);
    SetDlgItemTextA(dialog, IDC_ABOUT_LICENSE, about->pszLicense);
    SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, about->pszVersion);
    SetDlgItemTextA(dialog, IDC_ABOUT_RELEASE_DATE, about->pszReleaseDate);

    // Only the small icon: the caption shows it, and the box has no use for a large one.
    HICON icon =
        (about->dwFlags & OAF_USEICON)
            ? about->hIcon
            : reinterpret_cast<HICON>(SendMessageA(GetWindow(dialog, GW_OWNER), WM_GETICON, ICON_SMALL, 0));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    ShowOperatingSystem(dialog);
    ShowBrowserVersion(dialog);

    // Focus on OK, so that Enter closes the box rather than pressing the first button.
    SetFocus(GetDlgItem(dialog, IDOK));
    return FALSE;
}

// The control's own font, underlined; measured in the DC being prepared for the link.
HFONT CreateLinkFont(HDC dc, HWND link)
{
    // Some static controls select their font only after asking for colours, so the DC may still
    // hold the system font: measure the control's own.
    HFONT own = reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0));
    if (own)
        SelectObject(dc, own);

    LOGFONTA font;
    DescribeDcFont(dc, &font);
    font.lfUnderline = TRUE;
    HFONT linkFont = CreateFontIndirectA(&font);

    // Those controls draw with their own font, whatever the DC holds: hand it the link font too.
    if (linkFont)
        SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont), FALSE);
    return linkFont;
}

INT_PTR OnCtlColorStatic(AboutDialogState* state, HDC dc, HWND control)
{
    if (!state || GetDlgCtrlID(control) != IDC_ABOUT_LINK)
        return FALSE;
    SetTextColor(dc, RGB(0, 0, 255));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    if (!state->linkFont)
        state->linkFont.Reset(CreateLinkFont(dc, control));
    if (state->linkFont)
        SelectObject(dc, state->linkFont);
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

BOOL OnSetCursor(HWND dialog, HWND over)
{
    if (GetDlgCtrlID(over) != IDC_ABOUT_LINK || GetParent(over) != dialog)
        return FALSE;
    SetCursor(LoadLinkCursor(LoadCursorA));
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

void OpenAddress(HWND dialog, const char* address)
{
    ShellExecuteA(dialog, "open", address, nullptr, nullptr, SW_SHOW);
}

// Clicks only (notification code 0); there is no Cancel, so Escape closes nothing.
BOOL OnCommand(HWND dialog, AboutDialogState* state, WPARAM wparam)
{
    switch (wparam) {
    case MAKEWPARAM(IDOK, BN_CLICKED):
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        return TRUE;
    case MAKEWPARAM(IDC_ABOUT_LINK, STN_CLICKED):
        OpenAddress(dialog, state->homeUrl.Data());
        return TRUE;
    case MAKEWPARAM(IDC_ABOUT_CREDITS, BN_CLICKED):
        state->credits(dialog);
        return TRUE;
    case MAKEWPARAM(IDC_ABOUT_FEEDBACK, BN_CLICKED):
        state->feedback(dialog);
        return TRUE;
    case MAKEWPARAM(IDC_ABOUT_HOMEPAGE, BN_CLICKED):
        OpenAddress(dialog, state->productUrl.Data());
        return TRUE;
    }
    return FALSE;
}

void OnDestroy(HWND dialog, AboutDialogState* state)
{
    // The link outlives this message by a little; leave it no deleted font.
    if (state->linkFont)
        SendDlgItemMessageA(dialog, IDC_ABOUT_LINK, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0),
                            FALSE);
    SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
    DeleteWindowRecord(state);
}

}  // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    AboutDialogState* state = GetState(dialog);
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, reinterpret_cast<const OSTRELABOUT*>(lparam));
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(state, reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_SETCURSOR:
        return OnSetCursor(dialog, reinterpret_cast<HWND>(wparam));
    case WM_COMMAND:
        return state && OnCommand(dialog, state, wparam);
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    case WM_DESTROY:
        if (state)
            OnDestroy(dialog, state);
        return TRUE;
    }
    return FALSE;
}
