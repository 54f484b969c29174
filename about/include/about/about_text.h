// Texts the About box composes from the system's data, and its choice of link cursor: plain
// data in, plain data out.
#pragma once
#include <windows.h>

#include <cstddef>

// The fixed buffer in which the set-up composes the title and the version line.
enum { ABOUT_TEXT_SIZE = 256 };

// "About " and the program title, cut to fit `size` (always terminated).
void FormatAboutTitle(const char* program, char* text, size_t size);

// The family shown in the "Operating System:" field.
const char* OsFamilyName(DWORD platform);

// "major.minor.build servicepack": the whole build number on NT, its low 16 bits elsewhere
// (the high half holds the version there). The space stays when the service-pack text is empty.
void FormatOsVersionLine(const OSVERSIONINFOA& version, char* text, size_t size);

// The cursor over the link: the system's hand, or the arrow where the system has no hand
// (Windows 95 and NT 4.0), so the pointer never vanishes. `load` is LoadCursorA.
HCURSOR LoadLinkCursor(HCURSOR(WINAPI* load)(HINSTANCE, LPCSTR));
