#include "commands/record_layout.hpp"

#include <algorithm>
#include <cstring>

#include "console/numbers/decimal_writer.hpp"

namespace cp {

namespace {
constexpr std::string_view kTextGap = "  ";
constexpr std::string_view kJsonNull = "null";
}  // namespace

RecordLayout::RecordLayout(Format format, std::span<const FieldSpec> fields)
    : format_(format), fields_(fields.begin(), fields.end()) {
    const std::size_t n = fields_.size();
    around_.assign(n + 1, std::string());
    widths_.assign(n, 0);
    for (std::size_t f = 0; f < n; ++f) {
        const FieldSpec& field = fields_[f];
        std::string& before = around_[f];
        switch (format_) {
            case Format::csv:
                if (f > 0) before += ',';
                break;
            case Format::json:
                before += f == 0 ? "{\"" : ",\"";
                before += field.name;
                before += "\":";
                if (!field.number) before += '"';
                break;
            case Format::text:
                if (f > 0) before += kTextGap;
                // The last column is not padded: nothing follows it.
                if (field.number || f + 1 < n)
                    widths_[f] = std::max(field.name.size(), field.widest);
                break;
        }
        // A JSON string's closing quote goes before whatever follows it.
        if (format_ == Format::json && !field.number) around_[f + 1] += '"';
    }
    if (format_ == Format::json) around_[n] += '}';
    around_[n] += '\n';
}

std::string RecordLayout::header() const {
    if (format_ == Format::json) return {};
    ByteBuffer line;
    for (std::size_t f = 0; f < fields_.size(); ++f) {
        if (f > 0) line.append(format_ == Format::csv ? std::string_view(",") : kTextGap);
        char* p = line.room(room(f, fields_[f].name.size()));
        line.commit(format_ == Format::text
                        ? put(p, f, fields_[f].name)
                        : std::copy(fields_[f].name.begin(), fields_[f].name.end(), p));
    }
    line.push_back('\n');
    return std::string(line.view());
}

std::size_t RecordLayout::room(std::size_t f, std::size_t size) const {
    return std::max(size, widths_[f]);
}

char* RecordLayout::put(char* p, std::size_t f, std::string_view value) const {
    const std::size_t pad = widths_[f] > value.size() ? widths_[f] - value.size() : 0;
    if (fields_[f].number) {
        std::memset(p, ' ', pad);
        p += pad;
    }
    p = std::copy(value.begin(), value.end(), p);
    if (!fields_[f].number) {
        std::memset(p, ' ', pad);
        p += pad;
    }
    return p;
}

void RecordLayout::append(ByteBuffer& out,
                          std::span<const std::optional<std::string_view>> values) const {
    for (std::size_t f = 0; f < fields_.size(); ++f) {
        std::string_view before = around_[f];
        std::string_view value = values[f].value_or(std::string_view());
        if (!values[f] && format_ == Format::json) value = kJsonNull;
        out.append(before);
        char* p = out.room(room(f, value.size()));
        out.commit(put(p, f, value));
    }
    out.append(around_.back());
}

std::string_view decimal(DecimalRoom& room, std::uint64_t value) {
    char* end = room.data() + room.size();
    const char* first = detail::write_decimal_backward(end, value);
    return {first, static_cast<std::size_t>(end - first)};
}

std::size_t digits_of_power_of_two(std::int32_t exponent) {
    __extension__ using Wide = unsigned __int128;
    std::size_t digits = 1;
    for (Wide v = Wide{1} << exponent; v >= 10; v /= 10) ++digits;
    return digits;
}

}  // namespace cp
