// Round steps for the drawings' axes and graticule.
#include "output/round_step.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// multiple × 10^exponent, as near the decimal value as a double gets: powers of ten up to
// 10^22 are exact, and dividing by one rounds once, where some C libraries' pow does not.
double timesPowerOfTen(double multiple, int exponent) {
    if (exponent < -22 || exponent > 22) {
        return multiple * std::pow(10.0, exponent);
    }
    double power = 1.0;
    for (int i = 0; i < std::abs(exponent); ++i) {
        power *= 10.0;
    }
    return exponent < 0 ? multiple / power : multiple * power;
}

} // namespace

double roundStep(double span, int intervals) {
    if (!(span > 0.0) || !std::isfinite(span) || intervals < 1) {
        return 1.0;
    }
    const double wanted = span / intervals;
    const int exponent = static_cast<int>(std::floor(std::log10(wanted)));
    for (const double multiple : {1.0, 2.0, 5.0, 10.0}) {
        const double step = timesPowerOfTen(multiple, exponent);
        if (step >= wanted * (1.0 - 1e-12)) {
            return step;
        }
    }
    return timesPowerOfTen(10.0, exponent);
}

int stepDecimals(double step) {
    // A step a rounding error below a power of ten needs no more decimals than that power.
    return std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
}
