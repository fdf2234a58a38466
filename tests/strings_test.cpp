#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "console/numbers/parse_number.hpp"
#include "console/strings.hpp"
#include "real_values.hpp"

namespace cp {
namespace {

using namespace std::string_literals;

TEST(Substring, PositionsAndCounts) {
    EXPECT_EQ(substring("Hallo", 1, 17), "Hallo");
    EXPECT_EQ(substring("Hallo", 3, 20), "llo");
    EXPECT_EQ(substring("Hallo", 7, 1), "");
    EXPECT_EQ(substring("Hallo", 0, 3), "");
    EXPECT_EQ(substring("Hallo", -2, 5), "lo");
    EXPECT_EQ(substring("Hallo", -6, 5), "");
    EXPECT_EQ(substring("Hallo", 1, -2), "Hal");
    EXPECT_EQ(substring("Hallo", 2, -9), "");
    EXPECT_EQ(substring("Hallo", INT32_MIN, INT32_MAX), "");
}

TEST(Overwrite, NeverChangesTheLength) {
    std::string s = "    ";
    overwrite(s, 4, 1, "x");
    EXPECT_EQ(s, "   x");
    overwrite(s, 5, 1, "y");
    EXPECT_EQ(s, "   x");
    overwrite(s, 3, 10, "abcdef");
    EXPECT_EQ(s, "  ab");
    overwrite(s, -4, 1, "z");
    EXPECT_EQ(s, "z ab");
    overwrite(s, 0, 1, "q");
    overwrite(s, 2, 0, "q");
    overwrite(s, -5, 1, "q");
    EXPECT_EQ(s, "z ab");
    std::string marks = "   ";
    overwrite(marks, 2, 1, std::string(1, kMarker));
    EXPECT_EQ(marks, " \xFE ");
}

TEST(TrimAndRemove, LeadingAndEveryOccurrence) {
    EXPECT_EQ(trim_leading("  12", " "), "12");
    EXPECT_EQ(trim_leading("12 ", " "), "12 ");
    EXPECT_EQ(trim_leading("ababc", "ab"), "c");
    EXPECT_EQ(trim_leading("abc", ""), "abc");
    EXPECT_EQ(remove_all(" -12", " "), "-12");
    EXPECT_EQ(remove_all("1 2 3 ", " "), "123");
    EXPECT_EQ(remove_all("aaa", "aa"), "a");  // no overlapping matches
    EXPECT_EQ(remove_all("a", "aa"), "a");
    EXPECT_EQ(remove_all("abc", ""), "abc");
}

TEST(SmallStrings, CodesSpacesAndConcat) {
    EXPECT_EQ(first_code(""), -1);
    EXPECT_EQ(first_code("\xFE"), 254);
    EXPECT_EQ(first_code("7") - 48, 7);
    EXPECT_EQ(spaces(3), "   ");
    EXPECT_EQ(spaces(-3), "");
    EXPECT_EQ(char_string(254), "\xFE");
    EXPECT_EQ(char_string(0), "\0"s);
    EXPECT_EQ(concat("a\0"s, "b"), "a\0b"s);
}

TEST(Compare, UnsignedBytesThenLength) {
    EXPECT_GT(compare("\x80", "a"), 0);
    EXPECT_LT(compare("ab", "abc"), 0);
    EXPECT_EQ(compare("66", "66"), 0);
    EXPECT_LT(compare("", "0"), 0);
    EXPECT_NE(compare("q", "Q"), 0);
}

TEST(UpperKeys, AsciiAndCodePageLetters) {
    EXPECT_EQ(upper_keys("q"), "Q");
    EXPECT_EQ(upper_keys("7"), "7");
    EXPECT_EQ(upper_keys("aZ{"), "AZ{");
    EXPECT_EQ(upper_keys("\x84\x94\x81\x82\xA4\x86\x87"), "\x8E\x99\x9A\x90\xA5\x8F\x80");
    EXPECT_EQ(upper_keys("\xE1"), "\xE1");  // sharp s has no capital here
    EXPECT_EQ(upper_keys("\0H"s), "\0H"s);  // a two-byte key stays as it is
}

TEST(ParseNumber, DecimalForms) {
    EXPECT_EQ(parse_number("  12abc"), 12);
    EXPECT_EQ(parse_number("1,5"), 1);
    EXPECT_EQ(parse_number("-3"), -3);
    EXPECT_EQ(parse_number("+3"), 3);
    EXPECT_EQ(parse_number("2e3"), 2000);
    EXPECT_EQ(parse_number("2D2"), 200);
    EXPECT_EQ(parse_number("1.5e+2"), 150);
    EXPECT_EQ(parse_number("15e-1"), 1.5);
    EXPECT_EQ(parse_number("5e"), 5);
    EXPECT_EQ(parse_number("0.05"), decimal(5, -2));
    EXPECT_EQ(parse_number(".5"), 0.5);
    EXPECT_EQ(parse_number("\t\n 7"), 7);
    EXPECT_EQ(parse_number("\r7"), 0);  // a carriage return is not skipped
}

TEST(ParseNumber, NoDigitsGiveZero) {
    EXPECT_EQ(parse_number(""), 0);
    EXPECT_EQ(parse_number("   "), 0);
    EXPECT_EQ(parse_number("."), 0);
    EXPECT_EQ(parse_number("-"), 0);
    EXPECT_EQ(parse_number("e5"), 0);
    EXPECT_EQ(parse_number("Q"), 0);
}

TEST(ParseNumber, EighteenSignificantDigits) {
    // Digits beyond the 18th count as zeros, without rounding.
    EXPECT_EQ(parse_number("1234567890123456789"), 1234567890123456780);
    EXPECT_EQ(parse_number("0001234567890123456789"), 1234567890123456780);
    EXPECT_EQ(parse_number("12345678901234567891234"), decimal(123456789012345678, 5));
    EXPECT_EQ(parse_number("1.23456789012345678999"), decimal(123456789012345678, -17));
    EXPECT_EQ(parse_number("-9223372036854775807"), -9223372036854775800);
    EXPECT_EQ(parse_number("123456789012345678e-10"), decimal(123456789012345678, -10));
    EXPECT_EQ(parse_number("1e22"), 1e22);
}

TEST(ParseNumber, ExponentLimits) {
    const Real two127 = two_to(127);
    EXPECT_EQ(parse_number("1E5000"), two127);
    EXPECT_EQ(parse_number("-1E5000"), -two127);
    EXPECT_EQ(parse_number("1e99999999999"), two127);  // the exponent stops at 9999
    EXPECT_EQ(parse_number("1e-5000"), 0);
    EXPECT_EQ(parse_number("0e5000"), 0);
    EXPECT_EQ(parse_number("1e4931"), Real::from_bits(0x7FFB, 0xAC23C22116CBF8A4));
    EXPECT_EQ(parse_number("1e4932"), two127);  // five thousand digits before the point, almost
    EXPECT_GT(parse_number("1e-4932"), 0);
    EXPECT_EQ(parse_number("1" + std::string(5000, '0')), two127);
    EXPECT_EQ(parse_number("." + std::string(5000, '0') + "1"), 0);
}

TEST(ParseNumber, BasedFormsAndTheirSignRules) {
    EXPECT_EQ(parse_number("&H8000"), -32768);
    EXPECT_EQ(parse_number("&H8000&"), 32768);
    EXPECT_EQ(parse_number("&H08000"), 32768);  // a leading 0 keeps it positive
    EXPECT_EQ(parse_number("&H7FFF"), 32767);
    EXPECT_EQ(parse_number("&HFFFFFFFF"), -1);
    EXPECT_EQ(parse_number("&HFFFFFFFF&"), -1);
    EXPECT_EQ(parse_number("&HFFFFFFFF&&"), 4294967295);
    EXPECT_EQ(parse_number("&H10000"), 65536);
    EXPECT_EQ(parse_number("&HFFFFFFFFFFFFFFFF"), 18446744073709551615u);
    EXPECT_EQ(parse_number("&H10000000000000000"), 0);  // needs 65 bits
    EXPECT_EQ(parse_number(" &hff"), 255);
    EXPECT_EQ(parse_number("&O17"), 15);
    EXPECT_EQ(parse_number("&q17"), 15);
    EXPECT_EQ(parse_number("&17"), 15);
    EXPECT_EQ(parse_number("&18"), 1);  // 8 is no octal digit
    EXPECT_EQ(parse_number("&B101"), 5);
    EXPECT_EQ(parse_number("&B1000000000000000"), -32768);
    EXPECT_EQ(parse_number("&H"), 0);
    EXPECT_EQ(parse_number("&"), 0);
    EXPECT_EQ(parse_number("&Hxyz"), 0);
}

TEST(InputField, SplitsAtCommas) {
    EXPECT_EQ(input_field("  12 , 7", 1), "12");
    EXPECT_EQ(input_field("  12 , 7", 2), "7");
    EXPECT_EQ(input_field("  12 , 7", 3), "");
    EXPECT_EQ(input_field("12", 1), "12");
    EXPECT_EQ(input_field("12", 2), "");
    EXPECT_EQ(input_field("", 1), "");
    EXPECT_EQ(input_field(",x", 1), "");
    EXPECT_EQ(input_field(",x", 2), "x");
    EXPECT_EQ(input_field("12,", 2), "");
    EXPECT_EQ(input_field("a b ,c", 1), "a b");
    EXPECT_EQ(input_field("12", 0), "");
}

TEST(InputField, QuotedFieldsKeepCommasAndBlanks) {
    EXPECT_EQ(input_field("\"a, b \" , c", 1), "a, b ");
    EXPECT_EQ(input_field("\"a, b \" , c", 2), "c");
    EXPECT_EQ(input_field("  \"x\"junk,7", 1), "x");
    EXPECT_EQ(input_field("  \"x\"junk,7", 2), "7");
    EXPECT_EQ(input_field("\"open, still", 1), "open, still");
    EXPECT_EQ(input_field("\"open, still", 2), "");
    EXPECT_EQ(input_field("a,\"\"", 2), "");
}

}  // namespace
}  // namespace cp
