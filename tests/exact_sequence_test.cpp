// Exact sequences from any integer: against a 128-bit run for small starts, by
// hand for starts of hundreds of digits, the repeats that end them, bad input.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "explorer/exact_sequence.hpp"

namespace cp {
namespace {

__extension__ using Wide = __int128;

std::string decimal(Wide v) {
    if (v == 0) return "0";
    const bool negative = v < 0;
    std::string digits;
    for (; v != 0; v /= 10)
        digits.insert(digits.begin(), static_cast<char>('0' + std::abs(static_cast<int>(v % 10))));
    return negative ? "-" + digits : digits;
}

std::vector<ExactStep> records(std::string_view start, std::int32_t sign, bool compressed) {
    auto sequence = ExactSequence::start(start, sign, compressed);
    EXPECT_TRUE(sequence) << start;
    std::vector<ExactStep> out;
    if (!sequence) return out;
    while (auto step = sequence->next()) out.push_back(*step);
    return out;
}

// The same sequence, with every value kept.
std::vector<ExactStep> reference(Wide v, std::int32_t sign, bool compressed) {
    std::vector<ExactStep> out;
    std::map<Wide, std::uint64_t> seen;
    for (std::uint64_t step = 0;; ++step) {
        out.push_back({step, decimal(v), std::nullopt});
        if (v == 1) return out;
        if (const auto it = seen.find(v); it != seen.end()) {
            out.back().repeat_of = it->second;
            return out;
        }
        seen.emplace(v, step);
        if (v % 2 == 0) {
            v /= 2;
        } else {
            v = 3 * v + sign;
            if (compressed) v /= 2;
        }
    }
}

// Decimal digits times a small factor plus a small addend, for starts of any length.
std::string times_plus(const std::string& digits, int factor, int addend) {
    std::string out(digits.size(), '0');
    int carry = addend;
    for (std::size_t i = digits.size(); i-- > 0;) {
        const int d = (digits[i] - '0') * factor + carry;
        out[i] = static_cast<char>('0' + d % 10);
        carry = d / 10;
    }
    for (; carry > 0; carry /= 10) out.insert(out.begin(), static_cast<char>('0' + carry % 10));
    return out;
}

bool operator==(const ExactStep& a, const ExactStep& b) {
    return a.step == b.step && a.value == b.value && a.repeat_of == b.repeat_of;
}

TEST(ExactSequence, SmallStartsMatchA128BitRunInEveryMode) {
    for (const std::int32_t sign : {1, -1}) {
        for (const bool compressed : {false, true}) {
            for (Wide start = -200; start <= 200; ++start) {
                const auto expected = reference(start, sign, compressed);
                const auto got = records(decimal(start), sign, compressed);
                ASSERT_EQ(got.size(), expected.size())
                    << decimal(start) << " " << sign << compressed;
                for (std::size_t i = 0; i < got.size(); ++i) {
                    ASSERT_TRUE(got[i] == expected[i]) << decimal(start) << " step " << i;
                }
            }
        }
    }
}

TEST(ExactSequence, RepeatsEndTheRun) {
    struct Case {
        const char* start;
        std::int32_t sign;
        bool compressed;
        std::uint64_t last_step;
        const char* last_value;
        std::uint64_t repeat_of;
    };
    for (const Case& c : {
             Case{"0", 1, false, 1, "0", 0},
             Case{"-1", 1, false, 2, "-1", 0},
             Case{"-17", 1, false, 18, "-17", 0},
             Case{"5", -1, false, 5, "5", 0},
             Case{"7", -1, false, 5, "7", 0},
             Case{"40", -1, false, 6, "20", 1},
             Case{"-5", 1, true, 3, "-5", 0},
         }) {
        const auto got = records(c.start, c.sign, c.compressed);
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(got.back().step, c.last_step) << c.start;
        EXPECT_EQ(got.back().value, c.last_value) << c.start;
        EXPECT_EQ(got.back().repeat_of, c.repeat_of) << c.start;
    }
}

// (4^k - 1) / 3 is odd, one multiplication takes it to 4^k, and halvings to 1.
TEST(ExactSequence, StartsOfHundredsOfDigitsAreExact) {
    std::string power = "1";
    for (int i = 0; i < 200; ++i) power = times_plus(power, 2, 0);
    auto halvings = records(power, 1, false);
    ASSERT_EQ(halvings.size(), 201u);
    EXPECT_EQ(halvings[0].value, "1606938044258990275541962092341162602522202993782792835301376");
    EXPECT_EQ(halvings[100].value, "1267650600228229401496703205376");
    EXPECT_EQ(halvings[200].value, "1");

    for (const int k : {100, 1661}) {
        std::string start = "1";
        for (int i = 1; i < k; ++i) start = times_plus(start, 4, 1);
        if (k == 1661) {
            EXPECT_EQ(start.size(), 1000u);
        }
        const std::string four_k = times_plus(start, 3, 1);
        auto plain = records(start, 1, false);
        ASSERT_EQ(plain.size(), static_cast<std::size_t>(2 * k + 2));
        EXPECT_EQ(plain[0].value, start);
        EXPECT_EQ(plain[1].value, four_k);
        EXPECT_EQ(plain.back().value, "1");
        EXPECT_FALSE(plain.back().repeat_of);
        EXPECT_EQ(records(start, 1, true).size(), static_cast<std::size_t>(2 * k + 1));
        // In 3n-1 the negative start runs the same way into the cycle of -1.
        auto negative = records("-" + start, -1, false);
        ASSERT_EQ(negative.size(), static_cast<std::size_t>(2 * k + 3));
        EXPECT_EQ(negative[1].value, "-" + four_k);
        EXPECT_EQ(negative.back().value, "-4");
        EXPECT_EQ(negative.back().repeat_of, static_cast<std::uint64_t>(2 * k - 1));
    }
}

TEST(ExactSequence, ReadsOnlyIntegers) {
    for (const char* bad : {"", "-", "+5", "1.5", "12a", " 12", "12 ", "--1", "0x10", "1e3"}) {
        EXPECT_FALSE(ExactSequence::start(bad, 1, false)) << '"' << bad << '"';
    }
    EXPECT_FALSE(ExactSequence::start("5", 0, false));
    EXPECT_EQ(records("007", 1, false)[0].value, "7");
    EXPECT_EQ(records("0010", 1, false).size(), 7u);
    EXPECT_EQ(records("-000", 1, false)[0].value, "0");
}

// The decimal text is read and written 18 digits at a time: zeros inside and
// at the ends of those pieces, and limbs carried over, come back as typed.
TEST(ExactSequence, StartValuesComeBackDigitForDigit) {
    for (const char* start :
         {"999999999999999999", "1000000000000000000", "-1000000000000000001",
          "18446744073709551615", "18446744073709551616",
          "-340282366920938463463374607431768211456", "1000000000000000000000000000000000001",
          "900000000000000000090000000000000000009"}) {
        auto sequence = ExactSequence::start(start, 1, false);
        ASSERT_TRUE(sequence);
        EXPECT_EQ(sequence->next()->value, start);
    }
}

}  // namespace
}  // namespace cp
