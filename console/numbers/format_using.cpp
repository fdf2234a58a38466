#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "console/numbers/decimal_writer.hpp"
#include "console/numbers/exact_integer.hpp"
#include "console/numbers/number_format.hpp"

namespace cp {

namespace {

constexpr std::size_t kOutputLimit = 1024;
constexpr std::uint64_t kTenTo18 = 1000000000000000000;

// The text of one mask application, built on the stack and handed to the
// caller's string once; whatever would go beyond the limit is dropped. Its
// pieces are a few characters long: a byte at a time costs less than a call,
// and digits and fill go in whole words, into slack past the limit.
class MaskText {
  public:
    std::size_t size() const { return size_; }
    std::string_view view() const { return {text_, size_}; }
    void push_back(char c) {
        if (size_ < kOutputLimit) text_[size_++] = c;
    }
    void append(std::size_t count, char c) {
        const std::uint64_t word =
            std::uint64_t{0x0101010101010101} * static_cast<unsigned char>(c);
        count = std::min(count, kOutputLimit - size_);
        for (std::size_t i = 0; i < count; i += sizeof word)
            std::memcpy(text_ + size_ + i, &word, sizeof word);
        size_ += count;
    }
    template <std::size_t N>
    void append_digits(const char (&digits)[N], int length) {
        static_assert(N <= kSlack);
        std::memcpy(text_ + size_, digits, N);
        size_ = std::min(size_ + static_cast<std::size_t>(length), kOutputLimit);
    }

  private:
    static constexpr std::size_t kSlack = 32;
    char text_[kOutputLimit + kSlack];
    std::size_t size_ = 0;
};

struct Field {
    int positions = 0;  // digit positions, the sign position not counted
    bool sign_position = false;
    char fill = ' ';
};

bool field_begins(std::string_view mask, std::size_t pos) {
    const char c = mask[pos];
    if (c == '#') return true;
    const bool has_next = pos + 1 < mask.size();
    if (c == '+') return has_next && mask[pos + 1] == '#';
    if (c == '*') return has_next;
    return false;
}

// Copies literal characters up to the next field or the end of the mask.
// (The position is kept in a local: held by reference, it would go back to
// memory with every character.)
void copy_literals(std::string_view mask, std::size_t& position, MaskText& out) {
    std::size_t pos = position;
    for (; pos < mask.size(); ++pos) {
        char c = mask[pos];
        // Only these can begin a field or escape a character.
        if (c == '#' || c == '+' || c == '*' || c == '_') {
            if (field_begins(mask, pos)) break;
            if (c == '_' && pos + 1 < mask.size()) c = mask[++pos];  // the next is a literal
        }
        out.push_back(c);
    }
    position = pos;
}

// The end of the run of "#" from pos on, eight characters at a time where
// a word's first byte in memory is its lowest.
std::size_t end_of_digit_positions(std::string_view mask, std::size_t pos) {
    constexpr std::uint64_t kHashes = 0x0101010101010101 * '#';
    while (std::endian::native == std::endian::little && mask.size() - pos >= 8) {
        std::uint64_t word;
        std::memcpy(&word, mask.data() + pos, sizeof word);
        const std::uint64_t others = word ^ kHashes;  // zero bytes are "#"
        if (others != 0) return pos + static_cast<std::size_t>(std::countr_zero(others) / 8);
        pos += sizeof word;
    }
    while (pos < mask.size() && mask[pos] == '#') ++pos;
    return pos;
}

Field read_field(std::string_view mask, std::size_t& position) {
    Field field;
    std::size_t pos = position;
    if (mask[pos] == '+') {
        field.sign_position = true;
        ++pos;
    } else if (mask[pos] == '*') {
        field.fill = mask[pos + 1];
        field.positions = 2;
        pos += 2;
    }
    const std::size_t end = end_of_digit_positions(mask, pos);
    field.positions += static_cast<int>(end - pos);
    position = end;
    return field;
}

// A value rounded to a whole number: up to 20 leading digits, then zeros
// (the digits beyond the 19th of a huge value).
struct WholeNumber {
    bool negative = false;
    char digits[20];
    int length = 0;
    int zeros = 0;
};

WholeNumber round_to_whole(Real x) {
    WholeNumber w;
    std::int64_t i;
    if (detail::exact_integer(x, i)) {  // the common case
        w.negative = i < 0;
        const std::uint64_t magnitude =
            w.negative ? 0 - static_cast<std::uint64_t>(i) : static_cast<std::uint64_t>(i);
        if (magnitude < kTenTo18) {
            w.length = detail::decimal_length(magnitude);
            detail::write_decimal_backward(w.digits + w.length, magnitude);
            return w;
        }
    }

    const DecimalDigits d = decimal_digits(x, 19);
    w.negative = d.negative;
    const int e = d.exponent;
    if (e <= 0) {
        // Below 1 there is no digit to round to: one half and more become 1.
        w.digits[0] = (e == 0 && d.digits[0] >= '5') ? '1' : '0';
        w.length = 1;
        return w;
    }
    if (e >= d.count) {
        std::copy_n(d.digits.begin(), d.count, w.digits);
        w.length = d.count;
        w.zeros = e - d.count;
        return w;
    }
    std::copy_n(d.digits.begin(), e, w.digits);
    w.length = e;
    const char next = d.digits[static_cast<std::size_t>(e)];
    bool rest = false;
    for (int i = e + 1; i < d.count; ++i)
        rest = rest || d.digits[static_cast<std::size_t>(i)] != '0';
    const bool odd = ((w.digits[e - 1] - '0') & 1) != 0;
    if (next > '5' || (next == '5' && (rest || odd))) {
        int i = e - 1;
        while (i >= 0 && w.digits[i] == '9') w.digits[i--] = '0';
        if (i >= 0) {
            ++w.digits[i];
        } else {
            std::copy_backward(w.digits, w.digits + w.length, w.digits + w.length + 1);
            w.digits[0] = '1';
            ++w.length;
        }
    }
    return w;
}

void append_field(MaskText& out, const Field& field, Real x) {
    const WholeNumber w = round_to_whole(x);
    const int digit_count = w.length + w.zeros;
    int capacity = field.positions;
    bool sign = field.sign_position;
    if (w.negative && !sign) {
        // The minus takes one of the positions; a one-position field grows instead.
        capacity = std::max(capacity - 1, 1);
        sign = true;
    }
    const int fill = std::max(capacity - digit_count, 0);
    out.append(static_cast<std::size_t>(fill), field.fill);
    if (sign) out.push_back(w.negative ? '-' : '+');
    out.append_digits(w.digits, w.length);
    out.append(static_cast<std::size_t>(w.zeros), '0');
}

}  // namespace

void append_format_using(std::string& out, std::string_view mask, std::span<const Real> values) {
    if (values.empty()) return;
    MaskText text;
    std::size_t pos = 0;
    for (const Real value : values) {
        copy_literals(mask, pos, text);
        // Only a mask without any field ends here: its literals go out once,
        // rather than for ever.
        if (pos == mask.size()) break;
        const Field field = read_field(mask, pos);
        append_field(text, field, value);
        copy_literals(mask, pos, text);
        if (pos == mask.size()) pos = 0;
        if (text.size() >= kOutputLimit) break;
    }
    out.append(text.view());
}

std::string format_using(std::string_view mask, std::span<const Real> values) {
    std::string out;
    append_format_using(out, mask, values);
    return out;
}

std::string format_using(std::string_view mask, std::initializer_list<Real> values) {
    return format_using(mask, std::span<const Real>(values.begin(), values.size()));
}

}  // namespace cp
