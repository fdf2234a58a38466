#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "console/numbers/arithmetic.hpp"
#include "console/numbers/int_list.hpp"
#include "console/numbers/real.hpp"
#include "real_values.hpp"

namespace cp {
namespace {

constexpr Real kInfinity = Real::infinity();
constexpr Real kNaN = Real::default_nan();
constexpr std::int64_t kInt64Indefinite = std::numeric_limits<std::int64_t>::min();
constexpr std::int32_t kInt32Indefinite = std::numeric_limits<std::int32_t>::min();

TEST(Store, RoundsHalvesToEven) {
    EXPECT_EQ(to_int64(2.5), 2);
    EXPECT_EQ(to_int64(3.5), 4);
    EXPECT_EQ(to_int64(-2.5), -2);
    EXPECT_EQ(to_int64(-3.5), -4);
    EXPECT_EQ(to_int64(decimal(24999, -4)), 2);
    EXPECT_EQ(to_int32(2.5), 2);
    // Near 2^61 and 2^62, where the quick rounding has to hand over.
    for (const int bits : {61, 62}) {
        const Real p = two_to(bits);
        const std::int64_t i = std::int64_t{1} << bits;
        EXPECT_EQ(to_int64(p - 0.5), i);
        EXPECT_EQ(to_int64(p - 1.5), i - 2);
        EXPECT_EQ(to_int64(-p + 0.5), -i);
        EXPECT_EQ(to_int64(p + 1), i + 1);
    }
    EXPECT_EQ(to_int32(-0.5), 0);
}

TEST(Store, OutOfRangeGivesTheIndefiniteValue) {
    const Real two62 = two_to(62);
    EXPECT_EQ(to_int64(two62 * 2), kInt64Indefinite);
    EXPECT_EQ(to_int64(two_to(63) - 0.5), kInt64Indefinite);  // rounds up to 2^63
    EXPECT_EQ(to_int64(two_to(63) - 1), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(to_int64(-two_to(63)), kInt64Indefinite);  // in range, the same value
    EXPECT_EQ(to_int64(kInfinity), kInt64Indefinite);
    EXPECT_EQ(to_int64(-kInfinity), kInt64Indefinite);
    EXPECT_EQ(to_int64(kNaN), kInt64Indefinite);

    EXPECT_EQ(to_int32(2147483647.0), 2147483647);
    EXPECT_EQ(to_int32(2147483647.5), kInt32Indefinite);
    EXPECT_EQ(to_int32(-2147483648.5), kInt32Indefinite);  // half to even: still -2^31
    EXPECT_EQ(to_int32(-2147483649.0), kInt32Indefinite);
    EXPECT_EQ(to_int32(kNaN), kInt32Indefinite);
}

TEST(Power, IntegerExponentsAreExact) {
    EXPECT_EQ(power(2, 63), 9223372036854775808.0);
    EXPECT_EQ(static_cast<std::uint64_t>(to_int64(power(3, 40) - (std::int64_t{1} << 62)) +
                                         (std::uint64_t{1} << 62)),
              12157665459056928801ull);
    EXPECT_EQ(power(0, 0), 1);
    EXPECT_EQ(power(kNaN, 0), 1);
    EXPECT_EQ(power(2, -1), 0.5);
    EXPECT_EQ(power(-2, 3), -8);
    EXPECT_EQ(power(7, 2), 49);
    EXPECT_EQ(power(0, 5), 0);
    EXPECT_TRUE(isnan(power(0, -1)));
}

TEST(Power, NegativeBaseRoundsTheExponent) {
    EXPECT_EQ(power(-8, Real(1) / 3), 1);
    EXPECT_EQ(power(-2, 2.5), 4);
    EXPECT_EQ(power(-2, 3.5), 16);
    EXPECT_EQ(power(-1, 100001), -1);  // beyond the squaring range, still odd
    EXPECT_NEAR(static_cast<double>(power(2, 0.5)), std::sqrt(2.0), 1e-15);
}

TEST(IntDiv, RoundsOperandsAndCutsTowardZero) {
    EXPECT_EQ(int_div(7, 2), 3);
    EXPECT_EQ(int_div(-7, 2), -3);
    EXPECT_EQ(int_div(7.5, 2), 4);
    EXPECT_EQ(int_div(7, 0), kInfinity);
    EXPECT_EQ(int_div(-7, 0), -kInfinity);
    EXPECT_EQ(int_div(7, 0.4), kInfinity);  // the divisor rounds to 0
    EXPECT_TRUE(isnan(int_div(0, 0)));
    EXPECT_EQ(int_div(power(3, 40), 3), power(3, 39));
}

TEST(Remainder, ExactWithTheDividendsSign) {
    EXPECT_EQ(remainder(7, 2), 1);
    EXPECT_EQ(remainder(-7, 2), -1);
    EXPECT_EQ(remainder(7, -2), 1);
    EXPECT_EQ(remainder(7.5, 2), 1.5);
    EXPECT_EQ(remainder(5, 0), 0);
    EXPECT_EQ(remainder(power(3, 40), 2), 1);
    EXPECT_EQ(remainder(power(3, 40), 3), 0);
    EXPECT_EQ(remainder(power(3, 40) + 1, 3), 1);
}

TEST(RoundTo, HalvesToEvenInTheWorkingFormat) {
    EXPECT_EQ(round_to(2.25, 1), decimal(22, -1));
    EXPECT_EQ(round_to(decimal(226, -2), 1), decimal(23, -1));
    EXPECT_EQ(round_to(2.5, 0), 2);
    EXPECT_EQ(round_to(1234, -2), 1200);
    EXPECT_EQ(round_to(0.125, 40), round_to(0.125, 18));
}

TEST(SmallFunctions, LargerOfAndSquareRoot) {
    EXPECT_EQ(larger_of(3, 7), 7);
    EXPECT_EQ(larger_of(-3, -7), -3);
    EXPECT_EQ(square_root(16), 4);
    EXPECT_EQ(square_root(-4), -4);
}

TEST(PowerOfTen, ExactWhereTheFormatAllows) {
    EXPECT_EQ(power_of_ten(0), 1);
    EXPECT_EQ(power_of_ten(18), 1000000000000000000);
    EXPECT_EQ(power_of_ten(27), decimal(1, 27));
    EXPECT_EQ(power_of_ten(-1), decimal(1, -1));
    EXPECT_EQ(power_of_ten(-20), decimal(1, -20));
    EXPECT_TRUE(isfinite(power_of_ten(4932)));
    EXPECT_EQ(power_of_ten(4933), kInfinity);
    EXPECT_GT(power_of_ten(-4940), 0);  // subnormal, not lost to an overflowing 10^4940
    EXPECT_EQ(scale_by_power_of_ten(3, -1), decimal(3, -1));
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
    a.randomize(43210.5);
    b.randomize(43210.5);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(a.random_between(200, 3), b.random_between(3, 200));

    const std::uint32_t before = a.state();
    EXPECT_EQ(a.random_between(5, 5), 5);
    EXPECT_NE(a.state(), before);
}

TEST(Random, SeedIsTheBinary32Pattern) {
    RandomGenerator gen;
    gen.randomize(1);
    EXPECT_EQ(gen.state(), 0x3F800000u);
    gen.randomize(decimal(1, -1));
    EXPECT_EQ(gen.state(), 0x3DCCCCCDu);
    gen.randomize(1e300);
    EXPECT_EQ(gen.state(), 0x7F800000u);
}

TEST(Random, DrawsStayInRange) {
    RandomGenerator gen;
    gen.randomize(12345.678);
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
    list_push_front(list, 2.5);  // stored as 2
    EXPECT_EQ(list_find(list, 2), 1);
    EXPECT_EQ(list_find(list, 2.5), 1);
    for (int i = 0; i < 499; ++i) list_push_front(list, 1);
    EXPECT_EQ(list.back(), 9);
    list_push_front(list, 1);
    EXPECT_EQ(list_find(list, 9), 0);  // the last element is lost
}

}  // namespace
}  // namespace cp
