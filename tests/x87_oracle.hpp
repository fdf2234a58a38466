#pragma once
// The x87's long double as the reference for the working format, where long
// double is that format (x86-64 with g++ or clang). Values cross over through
// their exponent and significand (frexpl, ldexpl, exact integer conversions)
// and the NaN payload functions of glibc, never through their bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>

#include "console/numbers/bit_cast.hpp"
#include "real_ops.hpp"

namespace cp::x87 {

// Whether the machine has the reference at all.
inline bool available() {
#ifdef __GLIBC__
    using limits = std::numeric_limits<long double>;
    return limits::digits == 64 && limits::max_exponent == 16384 && limits::has_denorm;
#else
    return false;  // the payload functions are glibc's
#endif
}

#ifdef __GLIBC__

inline long double to_long_double(Real x) {
    long double v = 0;
    if (x.is_nan()) {
        const auto payload = static_cast<long double>(x.significand() & (Real::kQuietBit - 1));
        if ((x.significand() & Real::kQuietBit) != 0) {
            setpayloadl(&v, payload);
        } else {
            setpayloadsigl(&v, payload);
        }
    } else if (x.is_infinite()) {
        v = std::numeric_limits<long double>::infinity();
    } else if (!x.is_zero()) {
        const std::int32_t e = x.biased_exponent() == 0 ? 1 : x.biased_exponent();
        v = std::ldexp(static_cast<long double>(x.significand()), e - Real::kBias - 63);
    }
    return x.is_negative() ? -v : v;
}

inline Real from_long_double(long double v) {
    const std::uint16_t sign = std::signbit(v) ? Real::kSignBit : 0;
    if (std::isnan(v)) {
        const auto payload = static_cast<std::uint64_t>(getpayloadl(&v));
        const std::uint64_t quiet = issignaling(v) ? 0 : Real::kQuietBit;
        return Real::from_bits(sign | Real::kSpecialExponent, Real::kIntegerBit | quiet | payload);
    }
    if (std::isinf(v)) return Real::from_bits(sign | Real::kSpecialExponent, Real::kIntegerBit);
    if (v == 0) return Real::from_bits(sign, 0);
    int e = 0;
    const long double m = std::frexp(std::fabs(v), &e);  // [1/2, 1)
    auto significand = static_cast<std::uint64_t>(std::ldexp(m, 64));
    std::int32_t biased = e - 1 + Real::kBias;
    if (biased <= 0) {
        significand >>= 1 - biased;  // a subnormal: exact, the bits are there
        biased = 0;
    }
    return Real::from_bits(static_cast<std::uint16_t>(sign | biased), significand);
}

inline long double scale_by_power_of_ten(long double x, std::int32_t exponent) {
    static constexpr long double kSmall[] = {1, 10, 100, 1000, 1e4L, 1e5L, 1e6L, 1e7L};
    static constexpr long double kFactors[] = {1e8L,   1e16L,  1e32L,   1e64L,   1e128L,
                                               1e256L, 1e512L, 1e1024L, 1e2048L, 1e4096L};
    exponent = std::clamp(exponent, -10000, 10000);
    const bool divide = exponent < 0;
    std::int32_t n = divide ? -exponent : exponent;
    while (n > 4096) {
        x = divide ? x / kFactors[9] : x * kFactors[9];
        n -= 4096;
    }
    long double p = kSmall[n & 7];
    for (int bit = 0; bit < 10; ++bit) {
        if (n & (8 << bit)) p *= kFactors[bit];
    }
    return divide ? x / p : x * p;
}

// The 32-bit store (fistp to 32 bits) has no library function of its own.
inline long double to_int32(long double x) {
    const long double r = std::rint(x);
    const bool in_range = r >= -2147483648.0L && r <= 2147483647.0L;
    return static_cast<long double>(in_range ? static_cast<std::int32_t>(r) : INT32_MIN);
}

using Hard = long double (*)(long double a, long double b, Real ra, Real rb);

// The same operations as real_ops::kOps, in the same order, on the hardware.
inline constexpr Hard kOps[] = {
    [](long double a, long double b, Real, Real) { return a + b; },
    [](long double a, long double b, Real, Real) { return a - b; },
    [](long double a, long double b, Real, Real) { return a * b; },
    [](long double a, long double b, Real, Real) { return a / b; },
    [](long double a, long double b, Real, Real) { return std::fmod(a, b); },
    [](long double a, long double b, Real, Real) {
        return static_cast<long double>((a < b ? 1 : 0) | (a <= b ? 2 : 0) | (a == b ? 4 : 0) |
                                        (a > b ? 8 : 0) | (a >= b ? 16 : 0) | (a != b ? 32 : 0));
    },
    [](long double a, long double, Real, Real) { return std::sqrt(a); },
    [](long double a, long double, Real, Real) { return std::rint(a); },
    [](long double a, long double, Real, Real) { return std::trunc(a); },
    [](long double a, long double, Real, Real) { return static_cast<long double>(std::llrint(a)); },
    [](long double a, long double, Real, Real) { return to_int32(a); },
    [](long double a, long double, Real, Real) {
        return static_cast<long double>(static_cast<double>(a));
    },
    [](long double a, long double, Real, Real) {
        return static_cast<long double>(cp::bit_cast<std::uint32_t>(static_cast<float>(a)));
    },
    [](long double, long double, Real a, Real b) {
        return static_cast<long double>(real_ops::int64_operand(a, b));
    },
    [](long double, long double, Real a, Real b) {
        return static_cast<long double>(real_ops::int128_operand(a, b));
    },
    [](long double a, long double, Real, Real b) {
        return std::ldexp(a, real_ops::shift_operand(b));
    },
    [](long double a, long double, Real, Real) { return static_cast<long double>(std::ilogb(a)); },
    [](long double a, long double, Real, Real b) {
        return scale_by_power_of_ten(a, real_ops::decimal_operand(b));
    },
    [](long double a, long double b, Real, Real) {
        const long double i = std::rint(a);
        const long double j = std::rint(b);
        if (j == 0) {
            volatile long double zero = 0;
            if (i == 0 || std::isnan(i)) return zero / zero;  // the default NaN
            return std::copysign(std::numeric_limits<long double>::infinity(), i);
        }
        return std::trunc(i / j);
    },
    [](long double a, long double b, Real, Real) { return b == 0 ? 0 : std::fmod(a, b); },
};
static_assert(std::size(kOps) == real_ops::kOps.size());

// The x87's result of operation `index`, as a value of the working format.
inline Real run(std::size_t index, Real a, Real b) {
    return from_long_double(kOps[index](to_long_double(a), to_long_double(b), a, b));
}

#endif

}  // namespace cp::x87
