#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "console/numbers/arithmetic.hpp"
#include "console/numbers/int_list.hpp"
#include "console/numbers/real.hpp"

namespace cp {
namespace {

constexpr Real kInfinity = std::numeric_limits<Real>::infinity();
constexpr Real kNaN = std::numeric_limits<Real>::quiet_NaN();
constexpr std::int64_t kInt64Indefinite = std::numeric_limits<std::int64_t>::min();
constexpr std::int32_t kInt32Indefinite = std::numeric_limits<std::int32_t>::min();

TEST(Store, RoundsHalvesToEven) {
    EXPECT_EQ(to_int64(2.5L), 2);
    EXPECT_EQ(to_int64(3.5L), 4);
    EXPECT_EQ(to_int64(-2.5L), -2);
    EXPECT_EQ(to_int64(-3.5L), -4);
    EXPECT_EQ(to_int64(2.4999L), 2);
    EXPECT_EQ(to_int32(2.5L), 2);
    // Near 2^61 and 2^62, where the quick rounding has to hand over.
    for (const int bits : {61, 62}) {
        const Real p = std::ldexp(1.0L, bits);
        const std::int64_t i = std::int64_t{1} << bits;
        EXPECT_EQ(to_int64(p - 0.5L), i);
        EXPECT_EQ(to_int64(p - 1.5L), i - 2);
        EXPECT_EQ(to_int64(-p + 0.5L), -i);
        EXPECT_EQ(to_int64(p + 1), i + 1);
    }
    EXPECT_EQ(to_int32(-0.5L), 0);
}

TEST(Store, OutOfRangeGivesTheIndefiniteValue) {
    const Real two62 = std::ldexp(1.0L, 62);
    EXPECT_EQ(to_int64(two62 * 2), kInt64Indefinite);
    EXPECT_EQ(to_int64(std::ldexp(1.0L, 63) - 0.5L), kInt64Indefinite);  // rounds up to 2^63
    EXPECT_EQ(to_int64(std::ldexp(1.0L, 63) - 1), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(to_int64(-std::ldexp(1.0L, 63)), kInt64Indefinite);  // in range, the same value
    EXPECT_EQ(to_int64(kInfinity), kInt64Indefinite);
    EXPECT_EQ(to_int64(-kInfinity), kInt64Indefinite);
    EXPECT_EQ(to_int64(kNaN), kInt64Indefinite);

    EXPECT_EQ(to_int32(2147483647.0L), 2147483647);
    EXPECT_EQ(to_int32(2147483647.5L), kInt32Indefinite);
    EXPECT_EQ(to_int32(-2147483648.5L), kInt32Indefinite);  // half to even: still -2^31
    EXPECT_EQ(to_int32(-2147483649.0L), kInt32Indefinite);
    EXPECT_EQ(to_int32(kNaN), kInt32Indefinite);
}

TEST(Power, IntegerExponentsAreExact) {
    EXPECT_EQ(power(2, 63), 9223372036854775808.0L);
    EXPECT_EQ(static_cast<unsigned long long>(power(3, 40)), 12157665459056928801ull);
    EXPECT_EQ(power(0, 0), 1);
    EXPECT_EQ(power(kNaN, 0), 1);
    EXPECT_EQ(power(2, -1), 0.5L);
    EXPECT_EQ(power(-2, 3), -8);
    EXPECT_EQ(power(7, 2), 49);
    EXPECT_EQ(power(0, 5), 0);
    EXPECT_TRUE(std::isnan(power(0, -1)));
}

TEST(Power, NegativeBaseRoundsTheExponent) {
    EXPECT_EQ(power(-8, 1.0L / 3), 1);
    EXPECT_EQ(power(-2, 2.5L), 4);
    EXPECT_EQ(power(-2, 3.5L), 16);
    EXPECT_EQ(power(-1, 100001), -1);  // beyond the squaring range, still odd
    EXPECT_NEAR(static_cast<double>(power(2, 0.5L)), std::sqrt(2.0), 1e-15);
}

TEST(IntDiv, RoundsOperandsAndCutsTowardZero) {
    EXPECT_EQ(int_div(7, 2), 3);
    EXPECT_EQ(int_div(-7, 2), -3);
    EXPECT_EQ(int_div(7.5L, 2), 4);
    EXPECT_EQ(int_div(7, 0), kInfinity);
    EXPECT_EQ(int_div(-7, 0), -kInfinity);
    EXPECT_EQ(int_div(7, 0.4L), kInfinity);  // the divisor rounds to 0
    EXPECT_TRUE(std::isnan(int_div(0, 0)));
    EXPECT_EQ(int_div(power(3, 40), 3), power(3, 39));
}

TEST(Remainder, ExactWithTheDividendsSign) {
    EXPECT_EQ(remainder(7, 2), 1);
    EXPECT_EQ(remainder(-7, 2), -1);
    EXPECT_EQ(remainder(7, -2), 1);
    EXPECT_EQ(remainder(7.5L, 2), 1.5L);
    EXPECT_EQ(remainder(5, 0), 0);
    EXPECT_EQ(remainder(power(3, 40), 2), 1);
    EXPECT_EQ(remainder(power(3, 40), 3), 0);
    EXPECT_EQ(remainder(power(3, 40) + 1, 3), 1);
}

TEST(RoundTo, HalvesToEvenInTheWorkingFormat) {
    EXPECT_EQ(round_to(2.25L, 1), 2.2L);
    EXPECT_EQ(round_to(2.26L, 1), 2.3L);
    EXPECT_EQ(round_to(2.5L, 0), 2);
    EXPECT_EQ(round_to(1234, -2), 1200);
    EXPECT_EQ(round_to(0.125L, 40), round_to(0.125L, 18));
}

TEST(SmallFunctions, LargerOfAndSquareRoot) {
    EXPECT_EQ(larger_of(3, 7), 7);
    EXPECT_EQ(larger_of(-3, -7), -3);
    EXPECT_EQ(square_root(16), 4);
    EXPECT_EQ(square_root(-4), -4);
}

TEST(PowerOfTen, ExactWhereTheFormatAllows) {
    EXPECT_EQ(power_of_ten(0), 1);
    EXPECT_EQ(power_of_ten(18), 1e18L);
    EXPECT_EQ(power_of_ten(27), 1e27L);
    EXPECT_EQ(power_of_ten(-1), 0.1L);
    EXPECT_EQ(power_of_ten(-20), 1e-20L);
    EXPECT_TRUE(std::isfinite(power_of_ten(4932)));
    EXPECT_EQ(power_of_ten(4933), kInfinity);
    EXPECT_GT(power_of_ten(-4940), 0);  // subnormal, not lost to an overflowing 10^4940
    EXPECT_EQ(scale_by_power_of_ten(3, -1), 0.3L);
}

TEST(Random, FirstDrawFromTheInitialState) {
    RandomGenerator gen;
    EXPECT_EQ(gen.state(), 4294967295u);
    gen.random_between(1, 10);
    EXPECT_EQ(gen.state(), 4160191484u);
}

TEST(Random, ArgumentOrderAndEqualBounds) {
    RandomGenerator a;
    RandomGenerator b;
    a.randomize(43210.5L);
    b.randomize(43210.5L);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(a.random_between(200, 3), b.random_between(3, 200));

    const std::uint32_t before = a.state();
    EXPECT_EQ(a.random_between(5, 5), 5);
    EXPECT_NE(a.state(), before);
}

TEST(Random, SeedIsTheBinary32Pattern) {
    RandomGenerator gen;
    gen.randomize(1);
    EXPECT_EQ(gen.state(), 0x3F800000u);
    gen.randomize(0.1L);
    EXPECT_EQ(gen.state(), 0x3DCCCCCDu);
    gen.randomize(1e300L);
    EXPECT_EQ(gen.state(), 0x7F800000u);
}

TEST(Random, DrawsStayInRange) {
    RandomGenerator gen;
    gen.randomize(12345.678L);
    bool saw_low = false;
    bool saw_high = false;
    for (int i = 0; i < 20000; ++i) {
        const std::int32_t r = gen.random_between(3, 200);
        ASSERT_GE(r, 3);
        ASSERT_LE(r, 200);
        saw_low = saw_low || r == 3;
        saw_high = saw_high || r == 200;
    }
    EXPECT_TRUE(saw_low && saw_high);
    const auto lowest = std::numeric_limits<std::int32_t>::min();
    const auto highest = std::numeric_limits<std::int32_t>::max();
    for (int i = 0; i < 1000; ++i) gen.random_between(highest, lowest);  // full range, no overflow
}

TEST(IntList, FindAndPushFront) {
    std::array<std::int64_t, 501> list{};
    EXPECT_EQ(list_find(list, 0), 1);
    EXPECT_EQ(list_find(list, 5), 0);
    list_push_front(list, 7);
    list_push_front(list, 9);
    EXPECT_EQ(list_find(list, 7), 2);
    EXPECT_EQ(list_find(list, 9), 1);
    EXPECT_EQ(list_find(list, 0), 3);
    list_push_front(list, 2.5L);  // stored as 2
    EXPECT_EQ(list_find(list, 2), 1);
    EXPECT_EQ(list_find(list, 2.5L), 1);
    for (int i = 0; i < 499; ++i) list_push_front(list, 1);
    EXPECT_EQ(list.back(), 9);
    list_push_front(list, 1);
    EXPECT_EQ(list_find(list, 9), 0);  // the last element is lost
}

}  // namespace
}  // namespace cp
