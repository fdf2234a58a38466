#include "console/windows/vt_interpreter.hpp"

#include <algorithm>
#include <charconv>

#include "console/tty_renderer.hpp"

namespace cp {

namespace {
constexpr char kEsc = 0x1b;

std::uint16_t console_colour(int ansi) {
    return static_cast<std::uint16_t>(swap_red_blue(ansi));
}

std::size_t utf8_length(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

char32_t decode_utf8(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    char32_t code_point = bytes.size() == 1   ? lead
                          : bytes.size() == 2 ? (lead & 0x1Fu)
                          : bytes.size() == 3 ? (lead & 0x0Fu)
                                              : (lead & 0x07u);
    for (std::size_t i = 1; i < bytes.size(); ++i)
        code_point = (code_point << 6) | (static_cast<unsigned char>(bytes[i]) & 0x3Fu);
    return code_point;
}

// The first parameter of a sequence, 0 when it has none.
int first_parameter(std::string_view parameters) {
    int value = 0;
    std::from_chars(parameters.data(), parameters.data() + parameters.size(), value);
    return value;
}
}  // namespace

VtInterpreter::VtInterpreter(ConsoleCells& cells, std::int32_t width, std::int32_t height,
                             std::uint16_t default_attribute)
    : cells_(cells),
      width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      default_attribute_(default_attribute),
      attribute_(default_attribute),
      lowest_used_(height_ - 1) {}

void VtInterpreter::resize(std::int32_t width, std::int32_t height, std::int32_t cursor_x,
                           std::int32_t cursor_y) {
    put_pending();
    width_ = std::max(width, 1);
    height_ = std::max(height, 1);
    x_ = std::clamp(cursor_x, 0, width_ - 1);
    y_ = std::clamp(cursor_y, 0, height_ - 1);
    wrap_pending_ = false;
    lowest_used_ = height_ - 1;
}

void VtInterpreter::note_row(std::int32_t y) {
    lowest_used_ = std::max(lowest_used_, y);
}

void VtInterpreter::put_pending() {
    if (run_.empty()) return;
    cells_.put(run_x_, y_, run_, attribute_);
    run_.clear();
}

void VtInterpreter::line_feed() {
    put_pending();
    if (y_ + 1 < height_) {
        ++y_;
        note_row(y_);
    } else {
        cells_.scroll_up(attribute_);
    }
}

void VtInterpreter::glyph(char32_t code_point) {
    if (wrap_pending_) {
        line_feed();
        x_ = 0;
        wrap_pending_ = false;
    }
    if (run_.empty()) run_x_ = x_;
    // Code page 437 lies within the first 65,536 code points.
    run_.push_back(code_point <= 0xFFFF ? static_cast<wchar_t>(code_point) : L'?');
    note_row(y_);
    if (x_ == width_ - 1) {
        wrap_pending_ = true;
    } else {
        ++x_;
    }
}

void VtInterpreter::colours(std::string_view parameters) {
    std::uint16_t attribute = attribute_;
    for (;;) {
        const std::size_t end = std::min(parameters.find(';'), parameters.size());
        const int p = first_parameter(parameters.substr(0, end));
        if (p == 0) attribute = default_attribute_;
        if (p >= 30 && p <= 37) attribute = (attribute & 0xF0) | console_colour(p - 30);
        if (p >= 90 && p <= 97) attribute = (attribute & 0xF0) | 8 | console_colour(p - 90);
        if (p >= 40 && p <= 47) attribute = (attribute & 0x0F) | console_colour(p - 40) << 4;
        if (p >= 100 && p <= 107)
            attribute = (attribute & 0x0F) | (8 | console_colour(p - 100)) << 4;
        if (end == parameters.size()) break;
        parameters.remove_prefix(end + 1);
    }
    if (attribute != attribute_) put_pending();
    attribute_ = attribute;
}

std::size_t VtInterpreter::sequence(std::string_view bytes, std::size_t at) {
    // ESC [ parameters final
    std::size_t end = at + 2;
    while (end < bytes.size() && bytes[end] >= '0' && bytes[end] <= '?') ++end;
    if (at + 1 >= bytes.size() || bytes[at + 1] != '[' || end >= bytes.size()) return bytes.size();
    const std::string_view parameters = bytes.substr(at + 2, end - at - 2);
    const int n = std::max(first_parameter(parameters), 1);
    const char final_byte = bytes[end];
    if (final_byte == 'm') {
        colours(parameters);
        return end + 1;
    }
    put_pending();
    wrap_pending_ = false;
    switch (final_byte) {
        case 'A':
            y_ = std::max(0, y_ - n);
            break;
        case 'G':
            x_ = std::min(n, width_) - 1;
            break;
        case 'H':
            x_ = 0;
            y_ = 0;
            break;
        case 'K':
            cells_.fill(x_, y_, width_ - x_, attribute_);
            break;
        case 'J':
            if (first_parameter(parameters) == 2) {
                cells_.fill(0, 0, std::int64_t{width_} * (lowest_used_ + 1), attribute_);
                lowest_used_ = 0;
            } else if (first_parameter(parameters) == 0) {
                cells_.fill(x_, y_, std::int64_t{width_} * (lowest_used_ - y_ + 1) - x_,
                            attribute_);
                lowest_used_ = y_;
            }
            // 3J, the scroll-back: the buffer is all there is.
            break;
        default:
            break;
    }
    return end + 1;
}

void VtInterpreter::run(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c == kEsc) {
            i = sequence(bytes, i);
        } else if (c == '\r') {
            put_pending();
            x_ = 0;
            wrap_pending_ = false;
            ++i;
        } else if (c == '\n') {
            line_feed();
            wrap_pending_ = false;
            ++i;
        } else if (c == '\a') {
            put_pending();
            cells_.bell();
            ++i;
        } else {
            const std::size_t length =
                std::min(utf8_length(static_cast<unsigned char>(c)), bytes.size() - i);
            glyph(decode_utf8(bytes.substr(i, length)));
            i += length;
        }
    }
    put_pending();
    cells_.show_cursor_at(x_, y_);
}

}  // namespace cp
