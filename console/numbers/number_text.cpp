#include <cstdlib>

#include "console/numbers/decimal_writer.hpp"
#include "console/numbers/number_format.hpp"

namespace cp {

namespace {

constexpr std::int32_t kSignificantDigits = 15;

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

}  // namespace

// The general form, through the 15 rounded significant digits. (Sign place,
// digits, point and exponent never need more than 23 bytes.)
char* put_rounded_number_text(char* p, Real x) {
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

std::string number_text(Real x) {
    std::string out;
    append_number_text(out, x);
    return out;
}

void append_rounded_number_text(std::string& out, Real x) {
    char text[kNumberTextRoom];
    const char* end = put_rounded_number_text(text, x);
    out.append(text, static_cast<std::size_t>(end - text));
}

}  // namespace cp
