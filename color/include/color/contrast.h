// WCAG 2.x contrast between two colours, its text and grade, and the nearest colour that passes.
#pragma once
#include <cstddef>
#include <cstdint>

// WCAG 2.2 relative luminance of a 0x00RRGGBB colour: each sRGB channel c/255 <= 0.04045 -> c/12.92,
// else ((c + 0.055) / 1.055)^2.4; L = 0.2126 R + 0.7152 G + 0.0722 B.
double RelativeLuminance(uint32_t rgb);
// (L1 + 0.05) / (L2 + 0.05), the lighter over the darker; 1..21.
double ContrastRatio(uint32_t a, uint32_t b);
// "N.NN:1", the ratio cut (not rounded) to two decimals, so 4.499 reads "4.49:1"; text has `size` bytes (>= 8).
void FormatContrastRatio(double ratio, char* text, size_t size);
// The grade for normal text: "AAA" (>= 7), "AA" (>= 4.5), "AA Large" (>= 3), "Fail". Judged on the exact ratio, not the cut text.
const char* ContrastGrade(double ratio);
// The colour nearest to `rgb` whose ratio against `background` reaches `target` (4.5 or 7):
// hue and chroma kept in OKLCH, only the lightness moved, by as little as possible, in whichever
// direction reaches the target sooner (the smaller lightness change); where the colour at that lightness
// lies outside sRGB its chroma is reduced until it fits (CSS Color 4's gamut mapping, FitIntoSrgb);
// after rounding to 8 bits per channel the ratio must still reach the target (step on if rounding
// fell short). Returns false (and leaves *nearest alone) when no lightness of that hue reaches the target
// on this background (e.g. 7:1 on some mid greys). When `rgb` already reaches the target, true with *nearest = rgb.
bool NearestPassingColor(uint32_t rgb, uint32_t background, double target, uint32_t* nearest);
