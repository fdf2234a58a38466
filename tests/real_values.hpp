#pragma once
// Values of the working format for the tests, written without long double,
// whose precision differs between platforms.
#include <cstdint>
#include <cstdlib>

#include "console/numbers/real.hpp"

namespace cp {

// digits * 10^exponent rounded once, as a long double literal is (|exponent| <= 27,
// where the power of ten itself is exact).
inline Real decimal(std::int64_t digits, int exponent) {
    Real power = 1;
    for (int i = 0; i < std::abs(exponent); ++i) power *= 10;  // 5^27 < 2^64: exact
    return exponent < 0 ? Real(digits) / power : Real(digits) * power;
}

inline Real two_to(std::int32_t n) {
    return ldexp(1, n);
}

}  // namespace cp
