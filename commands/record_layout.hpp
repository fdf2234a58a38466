#pragma once
// How the records of a command are written: CSV with a header line, JSON
// Lines, or text columns for people. A layout knows the bytes around each
// field, so that hot paths write the values straight between them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "console/byte_buffer.hpp"

namespace cp {

enum class Format { text, csv, json };

struct FieldSpec {
    std::string_view name;
    // A number: a JSON number, right-aligned in text. Otherwise a JSON string,
    // left-aligned in text.
    bool number = true;
    // Text: the widest value the command can write here. Records stream, so
    // the column's width is fixed before the first of them.
    std::size_t widest = 0;
};

class RecordLayout {
  public:
    RecordLayout(Format format, std::span<const FieldSpec> fields);

    Format format() const { return format_; }
    // The header line with its line end; empty for JSON Lines.
    std::string header() const;
    // The bytes before field f's value (f = 0 to the number of fields - 1),
    // and for f = the number of fields, those after the last, line end included.
    std::string_view around(std::size_t f) const { return around_[f]; }
    // Text: the width every value of field f is padded to; 0 otherwise.
    std::size_t width(std::size_t f) const { return widths_[f]; }

    // A value as field f takes it: right-aligned (a number) or left-aligned
    // in the field's width. Returns the end.
    char* put(char* p, std::size_t f, std::string_view value) const;
    // The room put() may take for a value of `size` bytes.
    std::size_t room(std::size_t f, std::size_t size) const;

    // A whole record; a missing value is empty (text, CSV) or null (JSON).
    void append(ByteBuffer& out, std::span<const std::optional<std::string_view>> values) const;

  private:
    Format format_;
    std::vector<FieldSpec> fields_;
    std::vector<std::string> around_;
    std::vector<std::size_t> widths_;
};

// Room for the digits of any 64-bit number, and those digits written there.
using DecimalRoom = std::array<char, 20>;
std::string_view decimal(DecimalRoom& room, std::uint64_t value);

// The number of decimal digits of 2^exponent (0 to 127): the widest start
// number of a search that deep, and as wide as its rows can be, since its
// start numbers are different numbers up to 2^exponent.
std::size_t digits_of_power_of_two(std::int32_t exponent);

}  // namespace cp
