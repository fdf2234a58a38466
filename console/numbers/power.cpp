#include <bit>

#include "console/numbers/arithmetic.hpp"
#include "console/numbers/exact_integer.hpp"
#include "console/numbers/real_internal.hpp"

namespace cp {

namespace {

bool is_integer(Real y) {
    return isfinite(y) && y == trunc(y);
}

bool is_odd_integer(Real y) {
    return abs(fmod(y, 2)) == 1;
}

// |base|^exponent for what the squaring cannot do: infinities, and e^(y ln x).
Real magnitude_power(Real magnitude, Real exponent) {
    if (isinf(exponent)) {
        if (magnitude == 1) return 1;
        return (magnitude > 1) == (exponent > 0) ? Real::infinity() : Real{};
    }
    if (isinf(magnitude)) return exponent > 0 ? Real::infinity() : Real{};
    return detail::exp_of_product(exponent, magnitude);
}

}  // namespace

Real power(Real base, Real exponent) {
    if (base < 0) exponent = rint(exponent);
    if (exponent == 0) return 1;
    if (base == 0) {
        if (exponent > 0) return 0;
        return Real::default_nan();
    }
    std::int64_t integer_base = 0;
    std::int64_t n = 0;
    if (detail::exact_integer(base, integer_base) && detail::exact_integer(exponent, n) && n > 0 &&
        n < 64) {
        // While every step stays below 2^63 it is exact, in 64-bit integers as
        // in the format, and the loop below gives the same bits.
        std::int64_t result = integer_base;
        bool exact = true;
        for (int bit = std::bit_width(static_cast<std::uint64_t>(n)) - 2; bit >= 0 && exact;
             --bit) {
            exact = !__builtin_mul_overflow(result, result, &result);
            if (exact && (n >> bit & 1) != 0)
                exact = !__builtin_mul_overflow(result, integer_base, &result);
        }
        if (exact) return result;
    }
    if (is_integer(exponent) && abs(exponent) < 65536) {
        // Square and multiply from the highest bit down: exact for integer
        // bases while the intermediate values stay below 2^64.
        const auto bits = static_cast<std::uint32_t>(to_int64(abs(exponent)));
        Real result = base;
        for (int bit = std::bit_width(bits) - 2; bit >= 0; --bit) {
            result *= result;
            if (bits & (1u << bit)) result *= base;
        }
        return exponent < 0 ? 1 / result : result;
    }
    if (isnan(base) || isnan(exponent)) return detail::propagate_nan(base, exponent);
    const Real magnitude = magnitude_power(abs(base), exponent);
    if (base < 0 && is_odd_integer(exponent)) return -magnitude;
    return magnitude;
}

}  // namespace cp
