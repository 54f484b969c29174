// The screen's resolution, and the sizes the program draws in pixels made to follow it. The
// program declares itself DPI aware, so at 120 or 144 DPI nothing is stretched for it: whatever
// it sizes itself (pictures, markers, icons, the magnifier) it scales from its 96-DPI size.
#pragma once
#include <windows.h>

// Pixels per logical inch at 100 %: the resolution every size in the program is given for.
constexpr int kBaseDpi = 96;

// The screen's pixels per logical inch (LOGPIXELSY); kBaseDpi when the screen cannot be asked.
// Read once, when the main dialog starts: the system sets it only at the start of a program.
int ReadScreenDpi();

// A size given for 96 DPI, at `dpi`, rounded to the nearest pixel.
inline int ScaleToDpi(int pixels, int dpi)
{
    return MulDiv(pixels, dpi, kBaseDpi);
}

// An icon resource at its stored size scaled to `dpi`: the 96-DPI image is the smallest the
// resource holds, and a larger one drawn for the DPI is taken where there is one (the system
// stretches the nearest otherwise). Null when there is no such icon.
HICON LoadIconForDpi(HINSTANCE instance, int id, int dpi);
