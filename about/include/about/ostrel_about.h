// The About box library's interface, shared by the library and the programs that call it.
// The record crosses between two separately built modules: its member order and widths are fixed.
#pragma once
#include <windows.h>

#ifdef OSTREL_ABOUT_BUILD
#define OSTREL_ABOUT_API __declspec(dllexport)
#else
#define OSTREL_ABOUT_API __declspec(dllimport)
#endif

// dwFlags: take the dialog's small icon from hIcon instead of from the owner window.
#define OAF_USEICON 0x00000001

// Called with the About dialog's own window handle; what it returns is ignored.
typedef void (*OSTRELABOUTPROC)(HWND hwndAbout);

// Filled by the caller, zero first; everything it points to stays the caller's and must stay
// valid until OstrelAbout returns. The library never writes to it.
// Layout: dwFlags, then twelve pointer-sized members (handles, texts, callbacks). 32-bit: thirteen
// 4-byte members, 52 bytes. 64-bit: dwFlags and 4 bytes of padding, then twelve 8-byte members at
// offsets 8 to 96, 104 bytes.
struct OSTRELABOUT {
    DWORD dwFlags;
    HWND hwndOwner;
    LPCSTR pszCompany;  // not displayed
    LPCSTR pszProgram;  // caption (after "About ") and first line
    LPCSTR pszCopyright;
    LPCSTR pszLicense;
    LPCSTR pszVersion;
    LPCSTR pszReleaseDate;
    LPCSTR pszProductUrl;  // opened by "Homepage..."
    LPCSTR pszHomeUrl;     // shown as the link and opened by it
    OSTRELABOUTPROC pfnCredits;
    OSTRELABOUTPROC pfnFeedback;
    HICON hIcon;  // used with OAF_USEICON
};
typedef OSTRELABOUT* LPOSTRELABOUT;

// Shows the About box modally; false only when the dialog could not be shown.
// Exported under its C++-decorated name: callers declare it exactly like this.
OSTREL_ABOUT_API bool OstrelAbout(OSTRELABOUT* about);
