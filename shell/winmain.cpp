// Program start: one running copy, then the main dialog until the user closes it.
#include <windows.h>
#include <commctrl.h>

#include "core/accessible.h"
#include "core/messages.h"
#include "core/product.h"
#include "flatcolor/flat_color.h"
#include "resources/resource.h"
#include "shell/main_dialog.h"
#include "shell/main_dialog_internal.h"

namespace {

// How long one window may take over the request: any window of a program that has stopped
// reading its messages would otherwise hold this copy, unseen, for good.
const UINT kShowRequestTimeoutMs = 2000;

// Asks the running copy to show itself. It may come to the front only if this copy, which the
// user just started and which the system lets do so, hands that right on; Windows 95 and NT 4.0
// have no such call and no such restriction.
void ShowRunningCopy(UINT instanceMessage, WPARAM request)
{
    typedef BOOL(WINAPI * AllowSetForegroundWindowProc)(DWORD);
    if (HMODULE user = GetModuleHandleA("user32.dll")) {
        auto allow = reinterpret_cast<AllowSetForegroundWindowProc>(
            reinterpret_cast<void*>(GetProcAddress(user, "AllowSetForegroundWindow")));
        if (allow)
            allow(ASFW_ANY);
    }
    DWORD_PTR ignored;
    SendMessageTimeoutA(HWND_BROADCAST, instanceMessage, request, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                        kShowRequestTimeoutMs, &ignored);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    const bool pick = AsksForPick(commandLine ? commandLine : "");
    UINT instanceMessage = RegisterWindowMessageA(INSTANCE_MESSAGE_NAME);
    if (!instanceMessage) {
        ShowErrorMessage(instance, nullptr, IDS_REGISTER_MSG_ERROR);
        return 0;
    }

    // Never closed: it marks this copy as running for the life of the process.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, INSTANCE_MUTEX_NAME);
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        ShowRunningCopy(instanceMessage, pick ? INSTANCE_PICK : INSTANCE_SHOW);
        return 0;
    }

    // The settings sheet's tabs, the tool tips, and the settings page's key field.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES | ICC_HOTKEY_CLASS};
    if (!InitCommonControlsEx(&controls)) {
        ShowErrorMessage(instance, nullptr, IDS_COMMCTRL_ERROR);
        return 0;
    }

    if (!RegisterFlatColorClass(instance)) {
        ShowErrorMessage(instance, nullptr, IDS_FLATCOLOR_ERROR);
        return 0;
    }

    // Screen readers reach the controls' objects through COM on the dialog's thread.
    const bool accessibility = StartAccessibility();
    StartParams params = {instance, instanceMessage, pick};
    INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc,
                                     reinterpret_cast<LPARAM>(&params));
    if (accessibility)
        EndAccessibility();
    if (result == -1)
        ShowErrorMessage(instance, nullptr, IDS_DIALOG_ERROR);
    return 0;
}
