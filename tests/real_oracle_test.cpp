// The working format against the x87 itself, bit for bit: every operation on
// the special and boundary values and on a million random operands.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "console/numbers/number_format.hpp"
#include "console/numbers/parse_number.hpp"
#include "x87_oracle.hpp"

namespace cp {
namespace {

using real_ops::hex;

class RealOracle : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!x87::available()) {
            GTEST_SKIP() << "long double is not the x87 format here, or there is no glibc: "
                            "the recorded vectors stand in";
        }
    }
};

// Runs every operation on a and b; returns the number of differences and
// reports the first few.
int differences(Real a, Real b, int& reported) {
    int count = 0;
#ifdef __GLIBC__
    for (std::size_t i = 0; i < real_ops::kOps.size(); ++i) {
        const Real soft = real_ops::kOps[i].run(a, b);
        const Real hard = x87::run(i, a, b);
        if (real_ops::same_bits(soft, hard)) continue;
        ++count;
        if (reported++ < 20) {
            ADD_FAILURE() << real_ops::kOps[i].name << " " << hex(a) << " " << hex(b)
                          << ": software " << hex(soft) << ", x87 " << hex(hard);
        }
    }
#else
    (void)a, (void)b, (void)reported;
#endif
    return count;
}

TEST_F(RealOracle, BoundaryValuesInEveryPair) {
    const std::vector<Real> values = real_ops::boundary_values();
    int reported = 0;
    int count = 0;
    for (const Real a : values) {
        for (const Real b : values) count += differences(a, b, reported);
    }
    EXPECT_EQ(count, 0);
}

TEST_F(RealOracle, RandomOperands) {
    real_ops::Sampler sampler(20240611);
    const int pairs = 1000000 / static_cast<int>(real_ops::kOps.size());
    int reported = 0;
    int count = 0;
    for (int i = 0; i < pairs; ++i) {
        const auto [a, b] = sampler.pair();
        count += differences(a, b, reported);
    }
    EXPECT_EQ(count, 0) << "of " << pairs * real_ops::kOps.size() << " operations";
}

#ifdef __GLIBC__

TEST_F(RealOracle, PowerOfTenFactorsAreTheLiterals) {
    const long double literals[] = {1e8L,   1e16L,  1e32L,   1e64L,   1e128L,
                                    1e256L, 1e512L, 1e1024L, 1e2048L, 1e4096L};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(hex(factor_power_of_ten(i)), hex(x87::from_long_double(literals[i]))) << i;
    }
}

// Whole exponents go by repeated squaring, which the x87 does just as well:
// the same bits, also for integer bases past 2^64 and for fractions.
TEST_F(RealOracle, PowerBySquaringMatchesTheX87) {
    real_ops::Sampler sampler(31);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t r = sampler.bits();
        const Real x = i % 2 == 0 ? Real(static_cast<std::int64_t>(r % 2001) - 1000)
                                  : sampler.operand(Real::kBias);
        const auto n = static_cast<std::int32_t>(r >> 32) % (i % 3 == 0 ? 65536 : 70);
        if (x == 0 || n == 0) continue;
        const long double base = x87::to_long_double(x);
        long double hard = base;
        const auto bits = static_cast<std::uint32_t>(n < 0 ? -n : n);
        for (int bit = std::bit_width(bits) - 2; bit >= 0; --bit) {
            hard *= hard;
            if ((bits >> bit & 1) != 0) hard *= base;
        }
        if (n < 0) hard = 1 / hard;
        ASSERT_EQ(hex(power(x, n)), hex(x87::from_long_double(hard))) << hex(x) << " ^ " << n;
    }
}

// Position of a finite value or infinity among those of its sign: neighbours
// differ by 1, also across binades.
Int128 ordinal(Real x) {
    const auto key = static_cast<Int128>(x.biased_exponent()) << 63 |
                     (x.significand() & (Real::kIntegerBit - 1));
    return x.is_negative() ? -key : key;
}

// The powers beyond repeated squaring, within a few units in the last place.
TEST_F(RealOracle, PowerNearTheHardwareResult) {
    real_ops::Sampler sampler(77);
    for (int i = 0; i < 20000; ++i) {
        auto [x, y] = sampler.pair();
        if (i % 2 == 0) y = Real(static_cast<double>(y) / 1e4);  // results in range
        // The rules of the program for a negative base, then the library's pow;
        // the integer exponents that repeated squaring takes and the zero base
        // (NaN for negative exponents) are left out.
        const Real e = x < 0 ? rint(y) : y;
        if ((e == trunc(e) && abs(e) < 65536) || x == 0) continue;
        const Real p = power(x, y);
        long double hard = std::pow(x87::to_long_double(abs(x)), x87::to_long_double(e));
        if (x < 0 && abs(fmod(e, 2)) == 1) hard = -hard;
        const Real expected = x87::from_long_double(hard);
        if (isnan(p) || isnan(expected)) {
            ASSERT_EQ(isnan(p), isnan(expected)) << hex(x) << " " << hex(y);
            continue;
        }
        const Int128 off = ordinal(p) - ordinal(expected);
        ASSERT_TRUE(off >= -2 && off <= 2)
            << hex(x) << " " << hex(y) << ": " << hex(p) << ", x87 " << hex(expected);
    }
}

// The 18 digits and the exponent of decimal_digits(m, 19), worked out on the x87.
std::string x87_digits(long double m) {
    std::int32_t k = (std::ilogb(m) * 19728) >> 16;
    const auto scaled = [m](std::int32_t k) {
        return std::rint(x87::scale_by_power_of_ten(m, 17 - k));
    };
    long double s = scaled(k);
    if (s < 1e17L) s = scaled(--k);
    if (s >= 1e18L) {
        s = std::rint(s / 10);
        ++k;
    }
    return std::to_string(static_cast<std::uint64_t>(s)) + "e" + std::to_string(k);
}

TEST_F(RealOracle, DecimalDigitsScaleAsTheX87Does) {
    real_ops::Sampler sampler(11);
    for (int i = 0; i < 20000; ++i) {
        const Real x = abs(sampler.finite(sampler.exponent()));
        if (x.has_zero_exponent()) continue;
        const DecimalDigits d = decimal_digits(x, 19);
        const std::string digits(d.digits.data(), 18);
        ASSERT_EQ(digits + "e" + std::to_string(d.exponent - 1), x87_digits(x87::to_long_double(x)))
            << hex(x);
    }
}

// With the exact powers of ten (up to 10^27) a typed number is one correctly
// rounded operation, as the C library's reading is.
TEST_F(RealOracle, ParseNumberWhereStrtoldIsExact) {
    real_ops::Sampler sampler(5);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t digits = sampler.bits() % 1000000000000000000u;
        const int exponent = static_cast<int>(sampler.bits() % 55) - 27;
        const std::string text = std::to_string(digits) + "e" + std::to_string(exponent);
        const long double expected = std::strtold(text.c_str(), nullptr);
        ASSERT_EQ(hex(parse_number(text)), hex(x87::from_long_double(expected))) << text;
    }
}

#endif

}  // namespace
}  // namespace cp
