#include "settings/settings_page.h"

#include <commctrl.h>

#include "core/messages.h"
#include "resources/resource.h"
#include "settings/pick_key.h"

namespace {

struct SettingsPageState {
    OptionFlags* options;
    HINSTANCE instance;
    PickKeySetting* pickKey;
    uint32_t refusedKey;  // a key an OK could not register, refused once so the user sees why
};

bool IsOptionBox(int id)
{
    if (id == IDC_PICK_KEY_WIN)
        return true;
    for (const OptionDescription& option : kOptions)
        if (option.settingsBox != 0 && option.settingsBox == id)
            return true;
    return false;
}

void ShowPickKeyState(HWND page, const SettingsPageState* state)
{
    char text[MESSAGE_TEXT_SIZE] = "";
    if (state->pickKey->taken)
        LoadMessageText(state->instance, IDS_PICK_KEY_TAKEN, text);
    SetDlgItemTextA(page, IDC_PICK_KEY_STATE, text);
}

void ShowPickKey(HWND page, const SettingsPageState* state)
{
    const uint32_t key = state->pickKey->key;
    SendDlgItemMessageA(page, IDC_PICK_KEY, HKM_SETHOTKEY, LOWORD(key), 0);
    CheckDlgButton(page, IDC_PICK_KEY_WIN, key & PICK_KEY_WIN ? BST_CHECKED : BST_UNCHECKED);
    ShowPickKeyState(page, state);
}

// Registers the key the page shows; false when it is newly taken and the sheet should stay so
// the user sees it. The key is kept either way: the other program may let go of it by the next
// start.
bool ApplyPickKey(HWND page, SettingsPageState* state)
{
    const uint32_t key =
        PickKeyFromControl(static_cast<WORD>(SendDlgItemMessageA(page, IDC_PICK_KEY, HKM_GETHOTKEY, 0, 0)),
                           IsDlgButtonChecked(page, IDC_PICK_KEY_WIN) == BST_CHECKED);
    const bool registered = RegisterPickKey(state->pickKey, key);
    ShowPickKey(page, state);
    if (registered || key == state->refusedKey)
        return true;
    state->refusedKey = key;
    return false;
}

SettingsPageState* GetState(HWND page)
{
    return reinterpret_cast<SettingsPageState*>(GetWindowLongPtrA(page, GWLP_USERDATA));
}

INT_PTR OnInitPage(HWND page, const PROPSHEETPAGEA* descriptor)
{
    auto* state = NewWindowRecord<SettingsPageState>();
    if (!state) {
        ShowErrorMessage(descriptor->hInstance, page, IDS_OUT_OF_MEMORY);
        EndDialog(page, 0);
        return FALSE;
    }
    SetWindowLongPtrA(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    const auto* params = reinterpret_cast<const SettingsSheetParams*>(descriptor->lParam);
    state->options = params->options;
    state->instance = descriptor->hInstance;
    state->pickKey = params->pickKey;
    ShowPickKey(page, state);
    for (const OptionDescription& option : kOptions)
        if (option.settingsBox)
            CheckDlgButton(page, option.settingsBox,
                           state->options->Test(option.bit) ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

// PSNRET_NOERROR, or PSNRET_INVALID to keep the sheet open on a key another program holds.
LONG_PTR OnApply(HWND page, SettingsPageState* state)
{
    // In the table's order, which is the page's.
    for (const OptionDescription& option : kOptions)
        if (option.settingsBox)
            state->options->Assign(option.bit, IsDlgButtonChecked(page, option.settingsBox) == BST_CHECKED);
    return ApplyPickKey(page, state) ? PSNRET_NOERROR : PSNRET_INVALID;
}

INT_PTR CALLBACK SettingsPage(HWND page, UINT message, WPARAM wparam, LPARAM lparam)
{
    SettingsPageState* state = GetState(page);
    switch (message) {
    case WM_INITDIALOG:
        return OnInitPage(page, reinterpret_cast<const PROPSHEETPAGEA*>(lparam));
    case WM_COMMAND:
        if ((HIWORD(wparam) == BN_CLICKED && IsOptionBox(LOWORD(wparam))) ||
            (HIWORD(wparam) == EN_CHANGE && LOWORD(wparam) == IDC_PICK_KEY)) {
            PropSheet_Changed(GetParent(page), page);
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lparam)->code == static_cast<UINT>(PSN_APPLY)) {
            // A page that failed to set up has nothing to apply.
            SetWindowLongPtrA(page, DWLP_MSGRESULT, state ? OnApply(page, state) : PSNRET_NOERROR);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        if (state) {
            SetWindowLongPtrA(page, GWLP_USERDATA, 0);
            DeleteWindowRecord(state);
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

void ShowSettingsSheet(HWND owner, HINSTANCE instance, SettingsSheetParams* params)
{
    PROPSHEETPAGEA pages[2] = {};
    const struct {
        int templ;
        DLGPROC procedure;
    } kinds[2] = {{IDD_SETTINGS_PAGE, SettingsPage}, {IDD_FORMATS_PAGE, FormatsPage}};
    for (int i = 0; i < 2; ++i) {
        pages[i].dwSize = sizeof(pages[i]);
        pages[i].dwFlags = PSP_DEFAULT;
        pages[i].hInstance = instance;
        pages[i].pszTemplate = MAKEINTRESOURCEA(kinds[i].templ);
        pages[i].pfnDlgProc = kinds[i].procedure;
        pages[i].lParam = reinterpret_cast<LPARAM>(params);
    }

    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOCONTEXTHELP;
    header.hwndParent = owner;
    header.pszCaption = "Settings";
    header.nPages = 2;
    header.nStartPage = 0;
    header.ppsp = pages;
    PropertySheetA(&header);
}
