#include "settings/settings_page.h"

#include <commctrl.h>

#include "core/messages.h"
#include "resources/resource.h"

namespace {

// Handed to the page through its descriptor; lives on the stack of the modal sheet's caller.
struct SettingsPageParams {
    OptionFlags* options;
};

struct SettingsPageState {
    OptionFlags* options;
    HINSTANCE instance;
};

bool IsOptionBox(int id)
{
    for (const OptionDescription& option : kOptions)
        if (option.settingsBox != 0 && option.settingsBox == id)
            return true;
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
    state->options = reinterpret_cast<const SettingsPageParams*>(descriptor->lParam)->options;
    state->instance = descriptor->hInstance;
    for (const OptionDescription& option : kOptions)
        if (option.settingsBox)
            CheckDlgButton(page, option.settingsBox,
                           state->options->Test(option.bit) ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void OnApply(HWND page, SettingsPageState* state)
{
    // In the table's order, which is the page's.
    for (const OptionDescription& option : kOptions)
        if (option.settingsBox)
            state->options->Assign(option.bit, IsDlgButtonChecked(page, option.settingsBox) == BST_CHECKED);
}

INT_PTR CALLBACK SettingsPage(HWND page, UINT message, WPARAM wparam, LPARAM lparam)
{
    SettingsPageState* state = GetState(page);
    switch (message) {
    case WM_INITDIALOG:
        return OnInitPage(page, reinterpret_cast<const PROPSHEETPAGEA*>(lparam));
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED && IsOptionBox(LOWORD(wparam))) {
            PropSheet_Changed(GetParent(page), page);
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lparam)->code == static_cast<UINT>(PSN_APPLY)) {
            // A page that failed to set up has nothing to apply.
            if (state)
                OnApply(page, state);
            SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR);
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

void ShowSettingsSheet(HWND owner, HINSTANCE instance, OptionFlags* options)
{
    SettingsPageParams params = {options};

    PROPSHEETPAGEA page = {};
    page.dwSize = sizeof(page);
    page.dwFlags = PSP_DEFAULT;
    page.hInstance = instance;
    page.pszTemplate = MAKEINTRESOURCEA(IDD_SETTINGS_PAGE);
    page.pfnDlgProc = SettingsPage;
    page.lParam = reinterpret_cast<LPARAM>(&params);

    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOCONTEXTHELP;
    header.hwndParent = owner;
    header.pszCaption = "Settings";
    header.nPages = 1;
    header.nStartPage = 0;
    header.ppsp = &page;
    PropertySheetA(&header);
}
