// WM_COMMAND handling of the main dialog.
#include <windowsx.h>

#include "resources/resource.h"
#include "shell/main_dialog_internal.h"

namespace {

bool IsChecked(AppState* state, int id)
{
    return IsDlgButtonChecked(state->dialog, id) == BST_CHECKED;
}

}  // namespace

INT_PTR OnCommand(AppState* state, WPARAM wparam, HWND /*control*/)
{
    // Keyed by the whole wparam: notification code in the high word, control id in the low.
    switch (wparam) {
    case MAKEWPARAM(IDC_STAY_ON_TOP, BN_CLICKED):
        state->options.Assign(AlwaysOnTop, IsChecked(state, IDC_STAY_ON_TOP));
        return TRUE;
    case MAKEWPARAM(IDC_COLORS, BN_CLICKED):
        state->options.Assign(ShowColors, IsChecked(state, IDC_COLORS));
        ApplyPanelSize(state);
        return TRUE;
    }
    return FALSE;
}
