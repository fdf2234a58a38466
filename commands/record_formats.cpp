#include "commands/record_formats.hpp"

#include <array>

namespace cp {

namespace {

// Text columns: the value last, where its digits, however many, need no
// column after them; the steps as wide as a sequence of thousands of digits
// needs.
constexpr std::size_t kTextStepDigits = 6;

}  // namespace

RecordLayout search_layout(Format format, std::int32_t exponent) {
    const std::size_t exponent_digits = exponent >= 100 ? 3 : exponent >= 10 ? 2 : 1;
    const std::size_t value_digits = digits_of_power_of_two(exponent);
    const std::array<FieldSpec, 5> fields = {{
        {"exponent", true, exponent_digits},
        {"row", true, value_digits},
        {"start", true, value_digits},
        {"multiplications", true, exponent_digits},
        {"parity", false, static_cast<std::size_t>(exponent)},
    }};
    return RecordLayout(format, fields);
}

RecordLayout sequence_layout(Format format) {
    if (format == Format::text) {
        const std::array<FieldSpec, 3> fields = {{
            {"step", true, kTextStepDigits},
            {"repeat_of", true, kTextStepDigits},
            {"value", false, 0},
        }};
        return RecordLayout(format, fields);
    }
    const std::array<FieldSpec, 3> fields = {{
        {"step", true, 0},
        {"value", true, 0},
        {"repeat_of", true, 0},
    }};
    return RecordLayout(format, fields);
}

void append_sequence_record(const RecordLayout& layout, ByteBuffer& out, std::string_view step,
                            std::string_view value, std::optional<std::string_view> repeat_of) {
    if (layout.format() == Format::text) {
        const std::array<std::optional<std::string_view>, 3> values = {step, repeat_of, value};
        layout.append(out, values);
    } else {
        const std::array<std::optional<std::string_view>, 3> values = {step, value, repeat_of};
        layout.append(out, values);
    }
}

}  // namespace cp
