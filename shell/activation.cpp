// How the program is reached from outside its window: other copies, the status icon and its
// menu, and the key that picks a colour from anywhere.
#include "resources/resource.h"
#include "shell/main_dialog_internal.h"
#include "shell/status_icon.h"

namespace {

void AppendItem(HMENU menu, HINSTANCE instance, UINT id, const char* key, bool byDefault)
{
    char text[128] = "";
    LoadStringA(instance, id, text, sizeof(text));
    if (key && *key) {
        lstrcatA(text, "\t");
        lstrcatA(text, key);
    }
    MENUITEMINFOA item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_ID | MIIM_TYPE | MIIM_STATE;
    item.fType = MFT_STRING;
    item.fState = byDefault ? MFS_DEFAULT : 0;
    item.wID = id;
    item.dwTypeData = text;
    InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &item);
}

// Back from the status area, or from behind other windows, as a left click on the icon shows
// it and in front.
void ShowFromStatusIcon(AppState* state, bool toFront)
{
    // With the option set the icon stays; otherwise it was there only for the hidden window.
    if (!state->options.Test(AlwaysShowStatusIcon))
        RemoveStatusIcon(state->dialog);
    ShowWindow(state->dialog, toFront && IsIconic(state->dialog) ? SW_RESTORE : SW_SHOW);
    if (toFront)
        SetForegroundWindow(state->dialog);
    state->hasLastPick = FALSE;
    UpdateStatusIconTip(state);
}

// The icon's menu, where the pointer is. The shell's rules: the window in front before the menu
// opens, or the menu stays open after a click elsewhere; a message after it closes, or a second
// opening may close at once.
void ShowStatusMenu(AppState* state)
{
    if (state->captureMode != CaptureNone)
        return;
    HWND before = GetForegroundWindow();
    HMENU menu = CreateStatusMenu(state->instance, state->pickKey.key);
    if (!menu)
        return;
    POINT at;
    GetCursorPos(&at);
    SetForegroundWindow(state->dialog);
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY | TPM_BOTTOMALIGN, at.x, at.y, 0,
                       state->dialog, nullptr));
    PostMessageA(state->dialog, WM_NULL, 0, 0);
    DestroyMenu(menu);
    switch (command) {
    case IDM_PICK_COLOR:
        StartPickAnywhere(state, &state->grabber, before);
        break;
    case IDM_SHOW_TINTORA:
        ShowFromStatusIcon(state, true);
        break;
    case IDM_EXIT:
        SendMessageA(state->dialog, WM_CLOSE, 0, 0);
        break;
    }
}

}  // namespace

bool AsksForPick(const char* commandLine)
{
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (blank(*commandLine))
        ++commandLine;
    if (*commandLine != '/' && *commandLine != '-')
        return false;
    ++commandLine;
    for (const char* word = "pick"; *word; ++word, ++commandLine)
        if ((*commandLine | 0x20) != *word)
            return false;
    while (blank(*commandLine))
        ++commandLine;
    return *commandLine == '\0';
}

HMENU CreateStatusMenu(HINSTANCE instance, uint32_t pickKey)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return nullptr;
    char key[64];
    FormatPickKeyName(pickKey, key, sizeof(key));
    AppendItem(menu, instance, IDM_PICK_COLOR, key, false);
    AppendItem(menu, instance, IDM_SHOW_TINTORA, nullptr, true);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendItem(menu, instance, IDM_EXIT, nullptr, false);
    return menu;
}

void OnInstanceMessage(AppState* state, WPARAM request)
{
    if (request == INSTANCE_CLOSE) {
        // Exactly as the close box, so the teardown saves everything.
        SendMessageA(state->dialog, WM_CLOSE, 0, 0);
        return;
    }
    if (request == INSTANCE_PICK) {
        // Not inside the request: the copy that sent it waits until it is answered.
        PostMessageA(state->dialog, PICK_FROM_ANYWHERE, 0, 0);
        return;
    }
    ShowWindow(state->dialog, SW_SHOWNORMAL);
    SetForegroundWindow(state->dialog);
}

void OnStatusIconMessage(AppState* state, LPARAM mouseMessage)
{
    switch (mouseMessage) {
    case WM_LBUTTONUP:
        // A double click ends in a release too, so it acts like a single click.
        ShowFromStatusIcon(state, false);
        break;
    case WM_RBUTTONUP:
        // A shell that sends WM_CONTEXTMENU sends it after this release.
        if (!state->iconSendsMenuKeys)
            ShowStatusMenu(state);
        break;
    case WM_CONTEXTMENU:
    case NIN_KEYSELECT:
        ShowStatusMenu(state);
        break;
    }
}

void OnPickFromAnywhereEnded(AppState* state)
{
    if (state->options.Test(CopyOnPick))
        CopyCurrentColor(state);
    state->lastPick = state->currentColor.GetRgb();
    state->hasLastPick = TRUE;
    UpdateStatusIconTip(state);
}

namespace {

void ComposeTipOf(const AppState* state, char tip[STATUS_TIP_SIZE])
{
    ComposeStatusTip(tip, !IsWindowVisible(state->dialog), state->hasLastPick, state->lastPick,
                     state->pickKey.taken);
}

}  // namespace

void ShowStatusIcon(AppState* state)
{
    char tip[STATUS_TIP_SIZE];
    ComposeTipOf(state, tip);
    state->iconSendsMenuKeys = AddStatusIcon(state->dialog, state->smallIcon, tip);
}

void UpdateStatusIconTip(AppState* state)
{
    char tip[STATUS_TIP_SIZE];
    ComposeTipOf(state, tip);
    SetStatusIconTip(state->dialog, tip);
}

void HideToStatusArea(AppState* state)
{
    // Hiding takes the focus from the field; its range check would raise a message box for a
    // window that is gone from the screen.
    RestoreUnacceptedField(state);
    ShowStatusIcon(state);
    ShowWindow(state->dialog, SW_HIDE);
}
