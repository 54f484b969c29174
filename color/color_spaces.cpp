#include "color/color_spaces.h"

#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;

typedef double Matrix[3][3];

Coords Multiply(const Matrix& m, const Coords& v)
{
    Coords out;
    for (int i = 0; i < 3; ++i)
        out.c[i] = m[i][0] * v.c[0] + m[i][1] * v.c[1] + m[i][2] * v.c[2];
    return out;
}

// Linear sRGB to XYZ D65 and back, as exact fractions of the sRGB primaries and white.
const Matrix kLinearSrgbToXyz = {
    {506752.0 / 1228815, 87881.0 / 245763, 12673.0 / 70218},
    {87098.0 / 409605, 175762.0 / 245763, 12673.0 / 175545},
    {7918.0 / 409605, 87881.0 / 737289, 1001167.0 / 1053270},
};
const Matrix kXyzToLinearSrgb = {
    {12831.0 / 3959, -329.0 / 214, -1974.0 / 3959},
    {-851781.0 / 878810, 1648619.0 / 878810, 36519.0 / 878810},
    {705.0 / 12673, -2585.0 / 12673, 705.0 / 667},
};

const Matrix kLinearDisplayP3ToXyz = {
    {608311.0 / 1250200, 189793.0 / 714400, 198249.0 / 1000160},
    {35783.0 / 156275, 247089.0 / 357200, 198249.0 / 2500400},
    {0.0, 32229.0 / 714400, 5220557.0 / 5000800},
};
const Matrix kLinearA98RgbToXyz = {
    {573536.0 / 994567, 263643.0 / 1420810, 187206.0 / 994567},
    {591459.0 / 1989134, 6239551.0 / 9945670, 374412.0 / 4972835},
    {53769.0 / 1989134, 351524.0 / 4972835, 4929758.0 / 4972835},
};
// To XYZ D50, ProPhoto's own white.
const Matrix kLinearProPhotoToXyzD50 = {
    {0.79776664490064230, 0.13518129740053308, 0.03134773412839220},
    {0.28807482881940130, 0.71183523424187300, 0.00008993693872564},
    {0.0, 0.0, 0.82510460251046020},
};

const Matrix kD65ToD50 = {
    {1.0479297925449969, 0.022946870601609652, -0.05019226628920524},
    {0.02962780877005599, 0.9904344267538799, -0.017073799063418826},
    {-0.009243040646204504, 0.015055191490298152, 0.7518742814281371},
};
const Matrix kD50ToD65 = {
    {0.955473421488075, -0.02309845494876471, 0.06325924320057072},
    {-0.0283697093338637, 1.0099953980813041, 0.021041441191917323},
    {0.012314014864481998, -0.020507649298898964, 1.330365926242124},
};

// Ottosson's OKLab, its first matrix refitted to XYZ with CSS's D65 white.
const Matrix kXyzToLms = {
    {0.8190224379967030, 0.3619062600528904, -0.1288737815209879},
    {0.0329836539323885, 0.9292868615863434, 0.0361446663506424},
    {0.0481771893596242, 0.2642395317527308, 0.6335478284694309},
};
const Matrix kLmsToOklab = {
    {0.2104542683093140, 0.7936177747023054, -0.0040720430116193},
    {1.9779985324311684, -2.4285922420485799, 0.4505937096174110},
    {0.0259040424655478, 0.7827717124575296, -0.8086757549230774},
};
const Matrix kLmsToXyz = {
    {1.2268798758459243, -0.5578149944602171, 0.2813910456659647},
    {-0.0405757452148008, 1.1122868032803170, -0.0717110580655164},
    {-0.0763729366746601, -0.4214933324022432, 1.5869240198367816},
};
const Matrix kOklabToLms = {
    {1.0, 0.3963377773761749, 0.2158037573099136},
    {1.0, -0.1055613458156586, -0.0638541728258133},
    {1.0, -0.0894841775298119, -1.2914855480194092},
};

// D50 from its CIE chromaticity, as CSS takes it.
const double kD50White[3] = {0.3457 / 0.3585, 1.0, (1.0 - 0.3457 - 0.3585) / 0.3585};
const double kLabEpsilon = 216.0 / 24389;
const double kLabKappa = 24389.0 / 27;

bool InUnitRange(const Coords& v)
{
    for (double x : v.c)
        if (!(x >= 0 && x <= 1))
            return false;
    return true;
}

Coords Clipped(const Coords& v)
{
    Coords out;
    for (int i = 0; i < 3; ++i)
        out.c[i] = v.c[i] > 0 ? (v.c[i] < 1 ? v.c[i] : 1) : 0;  // NaN goes to 0 too
    return out;
}

double DeltaEOk(const Coords& a, const Coords& b)
{
    const double dl = a.c[0] - b.c[0], da = a.c[1] - b.c[1], db = a.c[2] - b.c[2];
    return std::sqrt(dl * dl + da * da + db * db);
}

Coords OklabToSrgb(const Coords& oklab)
{
    return XyzToSrgb(OklabToXyz(oklab));
}

Coords SrgbToOklab(const Coords& srgb)
{
    return XyzToOklab(SrgbToXyz(srgb));
}

}  // namespace

double SrgbToLinear(double value)
{
    const double magnitude = std::fabs(value);
    if (magnitude <= 0.04045)
        return value / 12.92;
    return std::copysign(std::pow((magnitude + 0.055) / 1.055, 2.4), value);
}

double LinearToSrgb(double value)
{
    const double magnitude = std::fabs(value);
    if (magnitude <= 0.0031308)
        return value * 12.92;
    return std::copysign(1.055 * std::pow(magnitude, 1 / 2.4) - 0.055, value);
}

Coords SrgbToXyz(const Coords& srgb)
{
    Coords linear;
    for (int i = 0; i < 3; ++i)
        linear.c[i] = SrgbToLinear(srgb.c[i]);
    return Multiply(kLinearSrgbToXyz, linear);
}

Coords XyzToSrgb(const Coords& xyz)
{
    Coords srgb = Multiply(kXyzToLinearSrgb, xyz);
    for (double& x : srgb.c)
        x = LinearToSrgb(x);
    return srgb;
}

Coords RgbSpaceToXyz(RgbSpace space, const Coords& rgb)
{
    Coords linear = rgb;
    for (double& x : linear.c) {
        const double magnitude = std::fabs(x);
        switch (space) {
        case RgbSpace::Srgb:
        case RgbSpace::DisplayP3:  // sRGB's curve
            x = SrgbToLinear(x);
            break;
        case RgbSpace::A98Rgb:
            x = std::copysign(std::pow(magnitude, 563.0 / 256), x);
            break;
        case RgbSpace::ProPhotoRgb:
            x = magnitude <= 16.0 / 512 ? x / 16 : std::copysign(std::pow(magnitude, 1.8), x);
            break;
        case RgbSpace::SrgbLinear:
            break;
        }
    }
    switch (space) {
    case RgbSpace::DisplayP3:
        return Multiply(kLinearDisplayP3ToXyz, linear);
    case RgbSpace::A98Rgb:
        return Multiply(kLinearA98RgbToXyz, linear);
    case RgbSpace::ProPhotoRgb:
        return XyzD50ToD65(Multiply(kLinearProPhotoToXyzD50, linear));
    default:
        return Multiply(kLinearSrgbToXyz, linear);
    }
}

Coords XyzD65ToD50(const Coords& xyz)
{
    return Multiply(kD65ToD50, xyz);
}

Coords XyzD50ToD65(const Coords& xyz)
{
    return Multiply(kD50ToD65, xyz);
}

Coords XyzD50ToLab(const Coords& xyz)
{
    double f[3];
    for (int i = 0; i < 3; ++i) {
        const double relative = xyz.c[i] / kD50White[i];
        f[i] = relative > kLabEpsilon ? std::cbrt(relative) : (kLabKappa * relative + 16) / 116;
    }
    return Coords{{116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])}};
}

Coords LabToXyzD50(const Coords& lab)
{
    const double f1 = (lab.c[0] + 16) / 116;
    const double f0 = lab.c[1] / 500 + f1;
    const double f2 = f1 - lab.c[2] / 200;
    const double relative[3] = {
        f0 * f0 * f0 > kLabEpsilon ? f0 * f0 * f0 : (116 * f0 - 16) / kLabKappa,
        lab.c[0] > kLabKappa * kLabEpsilon ? f1 * f1 * f1 : lab.c[0] / kLabKappa,
        f2 * f2 * f2 > kLabEpsilon ? f2 * f2 * f2 : (116 * f2 - 16) / kLabKappa,
    };
    return Coords{{relative[0] * kD50White[0], relative[1] * kD50White[1], relative[2] * kD50White[2]}};
}

Coords XyzToOklab(const Coords& xyz)
{
    Coords lms = Multiply(kXyzToLms, xyz);
    for (double& x : lms.c)
        x = std::cbrt(x);  // keeps the sign, unlike pow
    return Multiply(kLmsToOklab, lms);
}

Coords OklabToXyz(const Coords& oklab)
{
    Coords lms = Multiply(kOklabToLms, oklab);
    for (double& x : lms.c)
        x = x * x * x;
    return Multiply(kLmsToXyz, lms);
}

Coords ToPolar(const Coords& lab)
{
    double hue = std::atan2(lab.c[2], lab.c[1]) * 180 / kPi;
    if (hue < 0)
        hue += 360;
    if (!(hue < 360))  // -0.0000001 + 360 can round up to 360
        hue = 0;
    return Coords{{lab.c[0], std::sqrt(lab.c[1] * lab.c[1] + lab.c[2] * lab.c[2]), hue}};
}

Coords FromPolar(const Coords& lch)
{
    const double radians = lch.c[2] * kPi / 180;
    return Coords{{lch.c[0], lch.c[1] * std::cos(radians), lch.c[1] * std::sin(radians)}};
}

Coords FitIntoSrgb(const Coords& oklab, const Coords& srgb)
{
    // Past the ends of lightness there is only white or black to give.
    if (oklab.c[0] >= 1)
        return Coords{{1, 1, 1}};
    if (!(oklab.c[0] > 0))
        return Coords{{0, 0, 0}};
    if (InUnitRange(srgb))
        return srgb;

    // Chroma is bisected toward the largest one whose clipped colour still looks the same
    // (within one just-noticeable difference); only that clipped colour is ever returned.
    const double kJnd = 0.02, kEpsilon = 0.0001;
    Coords current = ToPolar(oklab);
    Coords clipped = Clipped(srgb);
    if (DeltaEOk(SrgbToOklab(clipped), oklab) < kJnd)
        return clipped;
    double low = 0, high = current.c[1];
    bool lowInGamut = true;
    // Halving ends the loop; the count only guards against a chroma that is not a number.
    for (int step = 0; step < 200 && high - low > kEpsilon; ++step) {
        const double chroma = (low + high) / 2;
        current.c[1] = chroma;
        const Coords currentLab = FromPolar(current);
        const Coords currentSrgb = OklabToSrgb(currentLab);
        if (lowInGamut && InUnitRange(currentSrgb)) {
            low = chroma;
            continue;
        }
        clipped = Clipped(currentSrgb);
        const double difference = DeltaEOk(SrgbToOklab(clipped), currentLab);
        if (difference < kJnd) {
            if (kJnd - difference < kEpsilon)
                return clipped;
            lowInGamut = false;
            low = chroma;
        } else {
            high = chroma;
        }
    }
    return clipped;
}
