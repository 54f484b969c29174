// The colour spaces of CSS Color 4 in doubles: sRGB and its linear light, CIE XYZ (D65 and D50),
// CIE Lab, OKLab, their polar forms, and the gamut mapping that brings any of them into sRGB.
// The matrices are the ones CSS publishes, so results agree with browsers to the last digits.
#pragma once

// Three components; what they are depends on the space.
struct Coords {
    double c[3];
};

// One sRGB channel between gamma-encoded and linear light, extended to negative values by
// symmetry as CSS does.
double SrgbToLinear(double value);
double LinearToSrgb(double value);

Coords SrgbToXyz(const Coords& srgb);  // gamma-encoded sRGB to XYZ D65
Coords XyzToSrgb(const Coords& xyz);   // unclipped

// The RGB spaces of CSS's color() function, each with its own primaries and transfer curve.
enum class RgbSpace { Srgb, SrgbLinear, DisplayP3, A98Rgb, ProPhotoRgb };
Coords RgbSpaceToXyz(RgbSpace space, const Coords& rgb);  // to XYZ D65

// Bradford adaptation between the two white points.
Coords XyzD65ToD50(const Coords& xyz);
Coords XyzD50ToD65(const Coords& xyz);

Coords XyzD50ToLab(const Coords& xyz);  // L 0..100
Coords LabToXyzD50(const Coords& lab);
Coords XyzToOklab(const Coords& xyz);  // from D65; L 0..1
Coords OklabToXyz(const Coords& oklab);

// Rectangular (L, a, b) and polar (L, chroma, hue in degrees 0 <= h < 360) forms of Lab and OKLab.
Coords ToPolar(const Coords& lab);
Coords FromPolar(const Coords& lch);

// Gamma-encoded sRGB, each channel in 0..1, of a colour given in OKLab: itself when sRGB holds
// it, otherwise CSS Color 4's mapping (chroma reduced in OKLCH until clipping is no longer
// noticeable). `srgb` is the colour's own, possibly out-of-range, sRGB; `oklab` the same colour.
Coords FitIntoSrgb(const Coords& oklab, const Coords& srgb);
