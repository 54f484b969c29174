// What any dialog program of Tintora's kind pays to start under Wine: the main dialog's size,
// font and frame, the same system libraries loaded and set up, and nothing of Tintora's own.
// start_bench measures Tintora against it.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <vfw.h>

namespace {

INT_PTR CALLBACK ReferenceDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        // The calls whose libraries Tintora's own imports load at start.
        if (HDRAWDIB drawDib = DrawDibOpen())
            DrawDibClose(drawDib);
        DragAcceptFiles(dialog, FALSE);
        CommDlgExtendedError();
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)
            EndDialog(dialog, 0);
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key) == ERROR_SUCCESS)
        RegCloseKey(key);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(100), nullptr, ReferenceDialogProc, 0);
    return 0;
}
