// Text in the program's code page (the ANSI calls' bytes): UTF-8 where the system takes the
// manifest's word for it, else the user's code page, which may give a character two bytes.
#pragma once
#include <windows.h>

#include <cstddef>

// Room for any path an ANSI call gives: up to MAX_PATH UTF-16 units, each up to three bytes in
// UTF-8.
enum { PATH_TEXT_SIZE = 3 * MAX_PATH };

// How many bytes of `text` (its first `limit` at most) end on a character boundary in
// `codePage`: a cut there leaves no half character.
size_t WholeCharacters(const char* text, size_t limit, UINT codePage);

// As much of `from` as fits `size` bytes with the NUL, in whole characters of the program's code
// page.
void CopyWholeCharacters(char* to, size_t size, const char* from);

// A window's text, cut to whole characters where it does not fit `size` bytes; "" when it has
// none.
void GetWholeWindowText(HWND window, char* text, size_t size);
