// The library's entry point and its one export.
#include "about/ostrel_about.h"

#include "about/about_dialog.h"
#include "about/about_resource.h"

static_assert(sizeof(OSTRELABOUT) == 13 * 4, "OSTRELABOUT is thirteen 32-bit members");

namespace {

// The library's own module, where its dialog template lives.
HINSTANCE g_module;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD, LPVOID)
{
    g_module = module;
    return TRUE;
}

bool OstrelAbout(OSTRELABOUT* about)
{
    return DialogBoxParamA(g_module, MAKEINTRESOURCEA(IDD_ABOUT), about->hwndOwner, AboutDialogProc,
                           reinterpret_cast<LPARAM>(about)) != -1;
}
