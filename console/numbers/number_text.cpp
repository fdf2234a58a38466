#include <cstdlib>

#include "console/numbers/decimal_writer.hpp"
#include "console/numbers/exact_integer.hpp"
#include "console/numbers/number_format.hpp"

namespace cp {

namespace {

constexpr std::int32_t kSignificantDigits = 15;
constexpr std::uint64_t kTenTo15 = 1000000000000000;

// Sign place, digits, point and exponent never need more than 23 bytes.
constexpr std::size_t kTextCapacity = 32;

char* write_exponent_form(char* p, const char* digits, int m, int e) {
    *p++ = digits[0];
    if (m > 1) {
        *p++ = '.';
        for (int i = 1; i < m; ++i) *p++ = digits[i];
    }
    *p++ = 'E';
    const int shown = e - 1;
    *p++ = shown < 0 ? '-' : '+';
    char exponent[8];
    char* end = exponent + sizeof exponent;
    char* first = detail::write_decimal_backward(end, static_cast<std::uint64_t>(std::abs(shown)));
    while (first != end) *p++ = *first++;
    return p;
}

// The general form, through the 15 rounded significant digits.
char* write_rounded_text(char* p, Real x) {
    const DecimalDigits d = decimal_digits(x, kSignificantDigits);
    const char* digits = d.digits.data();
    int m = d.count;
    while (m > 1 && digits[m - 1] == '0') --m;
    const int e = d.exponent;
    *p++ = d.negative ? '-' : ' ';
    if (e >= m) {
        if (e > kSignificantDigits) return write_exponent_form(p, digits, m, e);
        for (int i = 0; i < m; ++i) *p++ = digits[i];
        for (int i = m; i < e; ++i) *p++ = '0';
        return p;
    }
    if (m - e > kSignificantDigits) return write_exponent_form(p, digits, m, e);
    if (e <= 0) {
        *p++ = '.';  // no 0 before the point
        for (int i = e; i < 0; ++i) *p++ = '0';
        for (int i = 0; i < m; ++i) *p++ = digits[i];
        return p;
    }
    for (int i = 0; i < e; ++i) *p++ = digits[i];
    *p++ = '.';
    for (int i = e; i < m; ++i) *p++ = digits[i];
    return p;
}

// Most printed values are integers of at most 15 digits: their text is the
// integer itself, with no rounding to do.
char* write_text(char* p, Real x) {
    std::int64_t i;
    if (detail::exact_integer(x, i)) {
        const std::uint64_t magnitude =
            i < 0 ? 0 - static_cast<std::uint64_t>(i) : static_cast<std::uint64_t>(i);
        if (magnitude < kTenTo15) {
            *p++ = i < 0 ? '-' : ' ';
            const int length = detail::decimal_length(magnitude);
            detail::write_decimal_backward(p + length, magnitude);
            return p + length;
        }
    }
    return write_rounded_text(p, x);
}

}  // namespace

std::string number_text(Real x) {
    std::string out;
    append_number_text(out, x);
    return out;
}

void append_number_text(std::string& out, Real x) {
    char text[kTextCapacity];
    const char* end = write_text(text, x);
    out.append(text, static_cast<std::size_t>(end - text));
}

}  // namespace cp
