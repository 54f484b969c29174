// The floor of Tintora's start under Wine: its own main dialog template (every control, the
// FlatColor class registered) made and shown by a dialog procedure that does nothing else.
// start_bench measures Tintora against it: what lies above it is Tintora's own start.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <vfw.h>

#include "about/ostrel_about.h"
#include "flatcolor/flat_color.h"
#include "resources/resource.h"

namespace {

INT_PTR CALLBACK TemplateDialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

// Tintora's imports, so that loading the same libraries costs the same here.
void* volatile g_imports[] = {reinterpret_cast<void*>(DrawDibOpen),
                              reinterpret_cast<void*>(Shell_NotifyIconA),
                              reinterpret_cast<void*>(RegOpenKeyExA), reinterpret_cast<void*>(OstrelAbout)};

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterFlatColorClass(instance);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, TemplateDialogProc, 0);
    return 0;
}
