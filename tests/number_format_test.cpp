#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "console/numbers/number_format.hpp"
#include "real_values.hpp"

namespace cp {
namespace {

constexpr const char* kListingMask = " +## ####x ########### ";
constexpr const char* kNegativeListingMask = " -## ####x ########### ";
constexpr const char* kRowMask = "*_################  ";

std::string digits_of(const DecimalDigits& d) {
    return std::string(d.digits.data(), static_cast<std::size_t>(d.count));
}

TEST(NumberText, PlainForms) {
    EXPECT_EQ(number_text(0), " 0");
    EXPECT_EQ(number_text(5), " 5");
    EXPECT_EQ(number_text(-5), "-5");
    EXPECT_EQ(number_text(-7), "-7");
    EXPECT_EQ(number_text(0.5), " .5");
    EXPECT_EQ(number_text(-0.5), "-.5");
    EXPECT_EQ(number_text(decimal(1, -3)), " .001");
    EXPECT_EQ(number_text(12.25), " 12.25");
    EXPECT_EQ(number_text(999999999999999), " 999999999999999");
    EXPECT_EQ(number_text(-999999999999999), "-999999999999999");
    EXPECT_EQ(number_text(-1e15), "-1E+15");
    EXPECT_EQ(number_text(-0.0), " 0");
}

TEST(NumberText, ExponentForms) {
    EXPECT_EQ(number_text(1e15), " 1E+15");
    EXPECT_EQ(number_text(two_to(50)), " 1.12589990684262E+15");
    EXPECT_EQ(number_text(decimal(15, -21)), " 1.5E-20");
    EXPECT_EQ(number_text(-decimal(15, -21)), "-1.5E-20");
    EXPECT_EQ(number_text(two_to(63)), " 9.22337203685478E+18");
    // Fifteen fraction digits still print plainly, sixteen do not.
    EXPECT_EQ(number_text(decimal(1, -15)), " .000000000000001");
    EXPECT_EQ(number_text(decimal(1, -16)), " 1E-16");
    EXPECT_EQ(number_text(Real::from_bits(0x7FFB, 0xCE914F5AE827F72B)), " 1.2E+4931");
}

TEST(NumberText, RoundsOnOneDigitWithCarry) {
    // The 16th digit is 5 and the 15th even: no rounding up, although the
    // value is nearer to ...345.
    EXPECT_EQ(number_text(123456789012344501), " 1.23456789012344E+17");
    EXPECT_EQ(number_text(123456789012345500), " 1.23456789012346E+17");
    // The carry makes a 16th integer digit.
    EXPECT_EQ(number_text(decimal(9999999999999999, -1)), " 1E+15");
    EXPECT_EQ(number_text(-decimal(9999999999999999, -1)), "-1E+15");
}

TEST(NumberText, VerySmallValuesKeepTheirLeadingDigit) {
    // From 2^-681 down the digit-count estimate overshoots for some exponents.
    EXPECT_EQ(number_text(two_to(-681)), " 9.96719495109757E-206");
    EXPECT_EQ(number_text(two_to(-1558)), " 9.89160477449481E-470");
}

TEST(NumberText, SpecialValues) {
    EXPECT_EQ(number_text(Real::infinity()), " 9.99999999999999E+998");
    EXPECT_EQ(number_text(-Real::infinity()), "-9.99999999999999E+998");
    EXPECT_EQ(number_text(Real::default_nan()), " 0");
    EXPECT_EQ(number_text(Real::from_bits(0, 1)), " 0");
}

TEST(NumberText, IntegersMatchTheirDecimalDigits) {
    std::mt19937_64 gen(42);
    for (int i = 0; i < 20000; ++i) {
        const auto bits = static_cast<int>(gen() % 49) + 1;  // below 10^15
        auto v = static_cast<std::int64_t>(gen() >> (64 - bits));
        if (gen() & 1) v = -v;
        char buf[24];
        buf[0] = v < 0 ? '-' : ' ';
        const auto r = std::to_chars(buf + 1, buf + sizeof buf, v < 0 ? -v : v);
        const std::string expected(buf, r.ptr);
        ASSERT_EQ(number_text(static_cast<Real>(v)), expected);
        // The general conversion agrees with the integer's own digits.
        const DecimalDigits d = decimal_digits(static_cast<Real>(v), 15);
        ASSERT_EQ(digits_of(d).substr(0, expected.size() - 1), expected.substr(1)) << v;
        ASSERT_EQ(d.exponent, v == 0 ? 1 : static_cast<int>(expected.size() - 1)) << v;
    }
}

TEST(NumberText, IntegerTextAgreesWithTheGeneralForm) {
    std::mt19937_64 gen(7);
    std::vector<std::int64_t> values = {0,
                                        999999999999999,
                                        1000000000000000,
                                        -1000000000000000,
                                        std::numeric_limits<std::int64_t>::max(),
                                        std::numeric_limits<std::int64_t>::min()};
    for (int bits = 1; bits <= 63; ++bits) {
        const auto v = static_cast<std::int64_t>(gen() >> (64 - bits));
        values.insert(values.end(), {v, -v});
    }
    for (const std::int64_t v : values) {
        std::string integer = "x";
        std::string general = "x";
        append_integer_text(integer, v);
        append_rounded_number_text(general, static_cast<Real>(v));
        EXPECT_EQ(integer, general) << v;
    }
}

TEST(NumberText, AppendKeepsWhatIsThere) {
    std::string out = "n =";
    append_number_text(out, 17);
    append_number_text(out, -0.25);
    EXPECT_EQ(out, "n = 17-.25");
}

TEST(DecimalDigits, ZeroAndRoundingOfTheLastDigit) {
    const DecimalDigits zero = decimal_digits(0, 4);
    EXPECT_EQ(digits_of(zero), "0000");
    EXPECT_EQ(zero.exponent, 1);
    EXPECT_FALSE(zero.negative);

    EXPECT_EQ(digits_of(decimal_digits(8.5, 1)), "8");  // half to even
    // Only digit n+1 is looked at: 8.51 stays 8 with one digit.
    EXPECT_EQ(digits_of(decimal_digits(decimal(851, -2), 1)), "8");
    EXPECT_EQ(digits_of(decimal_digits(decimal(86, -1), 1)), "9");
    const DecimalDigits carried = decimal_digits(9.5, 1);
    EXPECT_EQ(digits_of(carried), "1");
    EXPECT_EQ(carried.exponent, 2);
}

TEST(DecimalDigits, NineteenDigitsKeepEighteenSignificant) {
    const DecimalDigits d = decimal_digits(two_to(63), 19);
    EXPECT_EQ(digits_of(d), "9223372036854775810");
    EXPECT_EQ(d.exponent, 19);
    EXPECT_EQ(digits_of(decimal_digits(1234567890123456789, 19)), "1234567890123456790");
}

TEST(FormatUsing, ListingMasksWithSmallValues) {
    EXPECT_EQ(format_using(kListingMask, {5, 3, 12345}), "  +5    3x       12345 ");
    EXPECT_EQ(format_using(kNegativeListingMask, {5, 3, 12345}), " - 5    3x       12345 ");
    EXPECT_EQ(format_using(kListingMask, {-5, 3, 12345}), "  -5    3x       12345 ");
    EXPECT_EQ(format_using(kListingMask, {0, 0, 0}), "  +0    0x           0 ");
}

TEST(FormatUsing, FieldsWidenInsteadOfCutting) {
    EXPECT_EQ(format_using(kListingMask, {12, 3, 1}), " +12    3x           1 ");
    EXPECT_EQ(format_using(kListingMask, {123, 3, 1}), " +123    3x           1 ");
    EXPECT_EQ(format_using(kListingMask, {1, 12345, 123456789012}), "  +1 12345x 123456789012 ");
    // A one-position field grows for the minus sign; a wider one gives it a position.
    EXPECT_EQ(format_using("#", {-5}), "-5");
    EXPECT_EQ(format_using("####", {-3}), "  -3");
    EXPECT_EQ(format_using("####", {-1234}), "-1234");
}

TEST(FormatUsing, UnderscoreRowMask) {
    EXPECT_EQ(format_using(kRowMask, {12345}), "_____________12345  ");
    EXPECT_EQ(format_using(kRowMask, {-12345}), "____________-12345  ");
    EXPECT_EQ(format_using(kRowMask, {123456789012345678}), "123456789012345678  ");
    EXPECT_EQ(format_using(kRowMask, {-999999999999999999}), "-999999999999999999  ");
    EXPECT_EQ(format_using(kRowMask, {-0.0}), "_________________0  ");
    // Nineteen digits: eighteen significant, the 18th rounded, then a 0.
    EXPECT_EQ(format_using(kRowMask, {1234567890123456789}), "1234567890123456790  ");
    EXPECT_EQ(format_using(kRowMask, {std::numeric_limits<std::int64_t>::min()}),
              "-9223372036854775810  ");
}

TEST(FormatUsing, RoundsToWholeNumbers) {
    EXPECT_EQ(format_using("##", {2.5}), " 2");
    EXPECT_EQ(format_using("##", {3.5}), " 4");
    EXPECT_EQ(format_using("##", {decimal(251, -2)}), " 3");
    EXPECT_EQ(format_using("##", {0.5}), " 1");
    EXPECT_EQ(format_using("##", {-0.5}), "-1");
    EXPECT_EQ(format_using("##", {decimal(49, -2)}), " 0");
    EXPECT_EQ(format_using("##", {decimal(4, -2)}), " 0");
    EXPECT_EQ(format_using("##", {99.5}), "100");
    EXPECT_EQ(format_using("##", {1e20}), "100000000000000000000");
}

TEST(FormatUsing, MaskIsReusedFromItsStart) {
    EXPECT_EQ(format_using(kListingMask, {5, 3, 12345, 7}), "  +5    3x       12345   +7 ");
    EXPECT_EQ(format_using("[##]", {1, 2, 3}), "[ 1][ 2][ 3]");
    EXPECT_EQ(format_using(kListingMask, {5}), "  +5 ");
}

TEST(FormatUsing, LiteralsAndOddMasks) {
    EXPECT_EQ(format_using("_###", {5}), "# 5");     // escaped digit position
    EXPECT_EQ(format_using("$##.##", {5}), "$ 5.");  // other mask characters are literals
    EXPECT_EQ(format_using("##-", {-5}), "-5-");
    EXPECT_EQ(format_using("a*", {5}), "a*");  // no field: the literals once
    EXPECT_EQ(format_using("", {5}), "");
    EXPECT_EQ(format_using(kRowMask, std::span<const Real>()), "");
}

TEST(FormatUsing, OutputStopsAt1024Bytes) {
    const std::vector<Real> values(100, 12345);
    const std::string out = format_using(kRowMask, values);
    ASSERT_EQ(out.size(), 1024u);
    EXPECT_EQ(out.substr(0, 20), "_____________12345  ");
    // A mask of literals only is cut there too (found by the fuzzer).
    EXPECT_EQ(format_using(std::string(3000, 'x'), {1}).size(), 1024u);
}

}  // namespace
}  // namespace cp
