// The library's entry point and its one export.
#include "about/ostrel_about.h"

#include "about/about_dialog.h"
#include "about/about_resource.h"

#include <cstddef>

// The layout the header gives, for the architecture being built.
#ifdef _WIN64
static_assert(offsetof(OSTRELABOUT, hwndOwner) == 8 && offsetof(OSTRELABOUT, pszCompany) == 16 &&
                  offsetof(OSTRELABOUT, pfnCredits) == 80 && offsetof(OSTRELABOUT, hIcon) == 96 &&
                  sizeof(OSTRELABOUT) == 104,
              "OSTRELABOUT: a DWORD padded to 8 bytes, then twelve 8-byte members");
#else
static_assert(offsetof(OSTRELABOUT, hwndOwner) == 4 && offsetof(OSTRELABOUT, pszCompany) == 8 &&
                  offsetof(OSTRELABOUT, pfnCredits) == 40 && offsetof(OSTRELABOUT, hIcon) == 48 &&
                  sizeof(OSTRELABOUT) == 52,
              "OSTRELABOUT: thirteen 4-byte members");
#endif

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
