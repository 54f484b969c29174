// Program start: one running copy, then the main dialog until the user closes it.
#include <windows.h>
#include <commctrl.h>

#include "flatcolor/flat_color.h"
#include "resources/resource.h"
#include "shell/main_dialog.h"
#include "shell/messages.h"
#include "shell/product.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    UINT instanceMessage = RegisterWindowMessageA(PRODUCT_TITLE);
    if (!instanceMessage) {
        ShowErrorMessage(instance, nullptr, IDS_REGISTER_MSG_ERROR);
        return 0;
    }

    // Never closed: it marks this copy as running for the life of the process.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, INSTANCE_MUTEX_NAME);
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        SendMessageA(HWND_BROADCAST, instanceMessage, 0, 0);
        return 0;
    }

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES};
    if (!InitCommonControlsEx(&controls)) {
        ShowErrorMessage(instance, nullptr, IDS_COMMCTRL_ERROR);
        return 0;
    }

    if (!RegisterFlatColorClass(instance)) {
        ShowErrorMessage(instance, nullptr, IDS_FLATCOLOR_ERROR);
        return 0;
    }

    StartParams params = {instance, instanceMessage};
    INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc,
                                     reinterpret_cast<LPARAM>(&params));
    if (result == -1)
        ShowErrorMessage(instance, nullptr, IDS_DIALOG_ERROR);
    return 0;
}
