// How other copies of the program reach the running one.
#include "shell/main_dialog_internal.h"
#include "shell/status_icon.h"

void OnInstanceMessage(AppState* state, WPARAM request)
{
    if (request == 1) {
        // Exactly as the close box, so the teardown saves everything.
        SendMessageA(state->dialog, WM_CLOSE, 0, 0);
        return;
    }
    ShowWindow(state->dialog, SW_SHOWNORMAL);
    SetForegroundWindow(state->dialog);
}

void OnStatusIconMessage(AppState* state, LPARAM mouseMessage)
{
    // A double click ends in a release too, so it acts like a single click.
    if (mouseMessage != WM_LBUTTONUP)
        return;
    // With the option set the icon stays; otherwise it was there only for the hidden window.
    if (!state->options.Test(AlwaysShowStatusIcon))
        RemoveStatusIcon(state->dialog);
    ShowWindow(state->dialog, SW_SHOW);
}

void HideToStatusArea(AppState* state)
{
    // Hiding takes the focus from the field; its range check would raise a message box for a
    // window that is gone from the screen.
    RestoreUnacceptedField(state);
    AddStatusIcon(state->dialog, state->smallIcon);
    ShowWindow(state->dialog, SW_HIDE);
}
