// Double-precision steps that come out the same on every target.
#pragma once

// The i686 build computes on the x87 unit, which keeps intermediates at 80 bits and so can land
// a product or a quotient on the other side of a threshold or an integer. Going through memory
// rounds each step to a true double, as on any other target.
inline double Rounded(double x)
{
    volatile double stored = x;
    return stored;
}
