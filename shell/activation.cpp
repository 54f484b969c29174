// How other copies of the program reach the running one.
#include "shell/main_dialog_internal.h"

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
