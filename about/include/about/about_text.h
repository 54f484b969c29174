// Texts the About box composes from the system's data, and its choice of link cursor: plain
// data in, plain data out. The feedback report reads the system through the same few facts.
#pragma once
#include <windows.h>

#include <cstddef>

#include "core/handles.h"

// The fixed buffer in which the set-up composes the title and the version line.
enum { ABOUT_TEXT_SIZE = 256 };

// "About " and the program title, cut to fit `size` (always terminated).
void FormatAboutTitle(const char* program, char* text, size_t size);

// The family shown in the "Operating System:" field.
const char* OsFamilyName(DWORD platform);

// The build number as the system means it: the whole number on NT, its low 16 bits elsewhere
// (the high half repeats the version there).
DWORD OsBuildNumber(const OSVERSIONINFOA& version);

// "major.minor.build servicepack", the build as OsBuildNumber gives it. The space stays when
// the service-pack text is empty.
void FormatOsVersionLine(const OSVERSIONINFOA& version, char* text, size_t size);

// The "Version" value of the Internet Explorer key, as stored: its bytes (`size` of them) in
// `value`, with a terminator added after them.
enum class BrowserVersion { Read, NotInstalled, Unreadable };
BrowserVersion ReadBrowserVersion(HeapBlock<char>* value, DWORD* size);

// The cursor over the link: the system's hand, or the arrow where the system has no hand
// (Windows 95 and NT 4.0), so the pointer never vanishes. `load` is LoadCursorA.
HCURSOR LoadLinkCursor(HCURSOR(WINAPI* load)(HINSTANCE, LPCSTR));
