#include <cstdint>
#include <limits>

#include "console/numbers/arithmetic.hpp"
#include "console/numbers/parse_number.hpp"

namespace cp {

namespace {

constexpr int kKeptDigits = 18;
constexpr std::int64_t kExponentCap = 9999;
// Decimal exponents (digits before the point) from which a typed number is
// taken as too large or too small for the format.
constexpr std::int64_t kDecimalExponentLimit = 4933;
constexpr Real kTooLarge = Real::from_bits(Real::kBias + 127, Real::kIntegerBit);  // 2^127

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

int digit_value(char c, int base) {
    int v = -1;
    if (is_digit(c)) {
        v = c - '0';
    } else if (c >= 'A' && c <= 'F') {
        v = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
        v = c - 'a' + 10;
    }
    return v < base ? v : -1;
}

// "&H", "&O"/"&Q", "&B" or "&" and octal digits; pos is just after the "&".
Real parse_based(std::string_view text, std::size_t pos) {
    int base = 8;
    if (pos < text.size()) {
        switch (text[pos]) {
            case 'H':
            case 'h':
                base = 16;
                ++pos;
                break;
            case 'O':
            case 'o':
            case 'Q':
            case 'q':
                ++pos;
                break;
            case 'B':
            case 'b':
                base = 2;
                ++pos;
                break;
            default:
                break;  // already the first octal digit
        }
    }
    const std::size_t first = pos;
    std::uint64_t value = 0;
    bool overflow = false;
    for (; pos < text.size(); ++pos) {
        const int d = digit_value(text[pos], base);
        if (d < 0) break;
        const auto digit = static_cast<std::uint64_t>(d);
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) /
                        static_cast<std::uint64_t>(base)) {
            overflow = true;
        } else {
            value = value * static_cast<std::uint64_t>(base) + digit;
        }
    }
    if (pos == first || overflow) return 0;

    // Typed 16- and 32-bit patterns with the top bit set are negative unless a
    // leading 0 or the long ("&") / quad ("&&") suffix says otherwise.
    if (text[first] != '0') {
        const bool long_suffix = pos < text.size() && text[pos] == '&';
        const bool quad_suffix = long_suffix && pos + 1 < text.size() && text[pos + 1] == '&';
        if (value >= 0x8000u && value <= 0xFFFFu && !long_suffix) {
            return static_cast<Real>(value) - 65536;
        }
        if (value >= 0x80000000u && value <= 0xFFFFFFFFu && !quad_suffix) {
            return static_cast<Real>(value) - std::int64_t{4294967296};
        }
    }
    return static_cast<Real>(value);
}

}  // namespace

Real parse_number(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && is_blank(text[pos])) ++pos;
    if (pos < text.size() && text[pos] == '&') return parse_based(text, pos + 1);

    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }

    std::uint64_t kept = 0;  // the first 18 significant digits as an integer
    int kept_count = 0;
    std::int64_t integer_digits = 0;   // significant digits before the point
    std::int64_t dropped_integer = 0;  // of those, the ones beyond the 18th
    std::int64_t fraction_places = 0;  // point places the kept digits reach into
    bool any_digit = false;
    bool point = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (!is_digit(c)) break;
        any_digit = true;
        if (kept_count == 0 && c == '0') {
            if (point) ++fraction_places;  // leading zeros only place the point
            continue;
        }
        if (!point) ++integer_digits;
        if (kept_count < kKeptDigits) {
            kept = kept * 10 + static_cast<std::uint64_t>(c - '0');
            ++kept_count;
            if (point) ++fraction_places;
        } else if (!point) {
            ++dropped_integer;
        }
    }
    if (!any_digit) return 0;

    std::int64_t exponent = 0;
    if (pos < text.size() &&
        (text[pos] == 'E' || text[pos] == 'e' || text[pos] == 'D' || text[pos] == 'd')) {
        ++pos;
        bool exponent_negative = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            exponent_negative = text[pos] == '-';
            ++pos;
        }
        for (; pos < text.size() && is_digit(text[pos]); ++pos) {
            exponent = std::min(exponent * 10 + (text[pos] - '0'), kExponentCap);
        }
        if (exponent_negative) exponent = -exponent;
    }
    if (kept == 0) return 0;

    // Digits before the point of the result (x = 0.d1d2... * 10^e).
    const std::int64_t leading_zero_places = integer_digits > 0 ? 0 : fraction_places - kept_count;
    const std::int64_t decimal_exponent =
        (integer_digits > 0 ? integer_digits : -leading_zero_places) + exponent;
    if (decimal_exponent >= kDecimalExponentLimit) return negative ? -kTooLarge : kTooLarge;
    if (decimal_exponent <= -kDecimalExponentLimit) return 0;

    const std::int64_t scale = exponent + dropped_integer - fraction_places;
    const Real value =
        scale_by_power_of_ten(static_cast<Real>(kept), static_cast<std::int32_t>(scale));
    return negative ? -value : value;
}

}  // namespace cp
