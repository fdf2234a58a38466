#pragma once
// Numbers as the program shows them: the 15-digit text form and the format masks.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "console/numbers/decimal_writer.hpp"
#include "console/numbers/exact_integer.hpp"
#include "console/numbers/real.hpp"

namespace cp {

// x = 0.d1 d2 .. dn * 10^exponent; zero is the single digit 0 with exponent 1.
struct DecimalDigits {
    bool negative = false;
    std::array<char, 20> digits{};  // ASCII '0'..'9', count of them used
    std::int32_t count = 0;
    std::int32_t exponent = 1;
};

// The n (1..19) significant decimal digits of x, rounded on digit n+1 alone.
DecimalDigits decimal_digits(Real x, std::int32_t n);

// Sign place (blank or "-") and 15 significant digits, exponent form where needed.
std::string number_text(Real x);
// Room any number_text needs: sign place, digits, point and exponent.
inline constexpr std::size_t kNumberTextRoom = 32;
// Writes number_text(x) from p on, for any value; returns the end. p must have
// kNumberTextRoom bytes.
char* put_rounded_number_text(char* p, Real x);
// Appends number_text(x) to out, for any value.
void append_rounded_number_text(std::string& out, Real x);
// Writes number_text(i) from p on, straight from the integer: the text of an
// integer of at most 15 digits is the integer itself, with no rounding to do.
// p must have kNumberTextRoom bytes; returns the end.
inline char* put_integer_text(char* p, std::int64_t i) {
    constexpr std::uint64_t kTenTo15 = 1000000000000000;
    const std::uint64_t magnitude =
        i < 0 ? 0 - static_cast<std::uint64_t>(i) : static_cast<std::uint64_t>(i);
    if (magnitude >= kTenTo15) return put_rounded_number_text(p, Real(i));
    *p = i < 0 ? '-' : ' ';
    const int length = detail::decimal_length(magnitude);
    detail::write_decimal_backward(p + 1 + length, magnitude);
    return p + 1 + length;
}
// Appends number_text(i) to out.
inline void append_integer_text(std::string& out, std::int64_t i) {
    char text[kNumberTextRoom];
    const char* end = put_integer_text(text, i);
    out.append(text, static_cast<std::size_t>(end - text));
}
// Appends number_text(x) to out; the allocation-free form for hot paths.
// Inline for the integers that most printed values are.
inline void append_number_text(std::string& out, Real x) {
    std::int64_t i;
    if (detail::exact_integer(x, i)) {
        append_integer_text(out, i);
    } else {
        append_rounded_number_text(out, x);
    }
}

// Fills the fields of mask with the values in turn, reusing the mask from its
// start when it runs out of fields. The result is cut at 1024 bytes.
std::string format_using(std::string_view mask, std::span<const Real> values);
std::string format_using(std::string_view mask, std::initializer_list<Real> values);
// Appends format_using(mask, values) to out; the allocation-free form for hot paths.
void append_format_using(std::string& out, std::string_view mask, std::span<const Real> values);

}  // namespace cp
