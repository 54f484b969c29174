// Fonts made from the one a DC holds, for the variants the program draws with.
#pragma once
#include <windows.h>

// The DC's font as a LOGFONT at the same cell height and weight, smoothed: the start of a variant
// of it (bold, italic, underlined). False when the DC cannot give its metrics; the face is
// filled in all the same.
inline bool DescribeDcFont(HDC dc, LOGFONTA* font)
{
    *font = LOGFONTA{};
    TEXTMETRICA metrics = {};
    const bool measured = GetTextMetricsA(dc, &metrics) != FALSE;
    font->lfHeight = metrics.tmHeight;
    font->lfWeight = metrics.tmWeight;
    font->lfItalic = metrics.tmItalic;
    font->lfUnderline = metrics.tmUnderlined;
    font->lfStrikeOut = metrics.tmStruckOut;
    font->lfCharSet = metrics.tmCharSet;
    font->lfPitchAndFamily = metrics.tmPitchAndFamily;
    font->lfQuality = ANTIALIASED_QUALITY;
    GetTextFaceA(dc, LF_FACESIZE, font->lfFaceName);
    return measured;
}
