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

// A frame holds at most this many cells (256 KB) before it goes to the console.
constexpr std::int32_t kFrameCells = 1 << 16;

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
      lowest_used_(height_ - 1),
      blank_attribute_(default_attribute) {}

void VtInterpreter::resize(std::int32_t width, std::int32_t height, std::int32_t cursor_x,
                           std::int32_t cursor_y) {
    commit();
    width_ = std::max(width, 1);
    height_ = std::max(height, 1);
    x_ = std::clamp(cursor_x, 0, width_ - 1);
    y_ = std::clamp(cursor_y, 0, height_ - 1);
    wrap_pending_ = false;
    lowest_used_ = height_ - 1;
    shown_x_ = shown_y_ = -1;
}

void VtInterpreter::take_rows(std::int32_t first, std::int32_t last,
                              std::vector<ConsoleCell>::iterator at) {
    const auto row_cells = static_cast<std::size_t>(width_);
    std::vector<ConsoleCell> rows(static_cast<std::size_t>(last - first + 1) * row_cells,
                                  ConsoleCell{L' ', blank_attribute_});
    // Rows that may hold text are asked for; a host that cannot say them all
    // at once is asked row by row, and a row it cannot say at all is blank.
    const std::int32_t asked = std::min(last, lowest_used_) - first + 1;
    if (asked > 0 && !cells_.get_rows(first, asked, std::span(rows).first(asked * row_cells))) {
        for (std::int32_t r = 0; r < asked; ++r) {
            const std::span row = std::span(rows).subspan(r * row_cells, row_cells);
            if (!cells_.get_rows(first + r, 1, row))
                std::fill(row.begin(), row.end(), ConsoleCell{L' ', default_attribute_});
        }
    }
    frame_.insert(at, rows.begin(), rows.end());
}

ConsoleCell& VtInterpreter::cell(std::int32_t x, std::int32_t y) {
    const std::int32_t rows = frame_rows();
    if (rows == 0) {
        frame_top_ = y;
        take_rows(y, y, frame_.end());
    } else if (y < frame_top_ || y >= frame_top_ + rows) {
        // The frame grows to take the row in, all rows between included, unless
        // the console has yet to scroll (its rows would be read from where they
        // stood) or the frame would grow past its bound: then it goes out first.
        const std::int32_t span = std::max(y, frame_top_ + rows - 1) - std::min(y, frame_top_) + 1;
        if (scrolls_ > 0 || std::int64_t{span} * width_ > kFrameCells) {
            commit();
            return cell(x, y);
        }
        if (y < frame_top_) {
            take_rows(y, frame_top_ - 1, frame_.begin());
            frame_top_ = y;
        } else {
            take_rows(frame_top_ + rows, y, frame_.end());
        }
    }
    return frame_[static_cast<std::size_t>(y - frame_top_) * static_cast<std::size_t>(width_) +
                  static_cast<std::size_t>(x)];
}

void VtInterpreter::mark_dirty(std::int32_t left, std::int32_t right) {
    if (dirty_left_ == dirty_right_) {
        dirty_left_ = left;
        dirty_right_ = right;
    } else {
        dirty_left_ = std::min(dirty_left_, left);
        dirty_right_ = std::max(dirty_right_, right);
    }
}

bool VtInterpreter::put_block(std::int32_t x, std::int32_t y, const CellBlock& block) {
    if (cells_.put(x, y, block)) return true;
    // Refused: in halves, by rows, then by columns. A host that refuses a
    // single cell refuses everything: the rest is left out.
    if (block.height > 1) {
        const std::int32_t half = block.height / 2;
        return put_block(x, y, {block.cells, block.stride, block.width, half}) &&
               put_block(x, y + half,
                         {block.cells + static_cast<std::ptrdiff_t>(half) * block.stride,
                          block.stride, block.width, block.height - half});
    }
    if (block.width > 1) {
        const std::int32_t half = block.width / 2;
        return put_block(x, y, {block.cells, block.stride, half, 1}) &&
               put_block(x + half, y, {block.cells + half, block.stride, block.width - half, 1});
    }
    return false;
}

void VtInterpreter::commit() {
    if (scrolls_ > 0) {
        cells_.scroll_up(height_ - 1, scrolls_, attribute_);
        scrolls_ = 0;
        shown_x_ = shown_y_ = -1;  // a scroll moves the console's cursor
    }
    if (dirty_left_ < dirty_right_ && !frame_.empty()) {
        put_block(dirty_left_, frame_top_,
                  {frame_.data() + dirty_left_, width_, dirty_right_ - dirty_left_, frame_rows()});
    }
    frame_.clear();
    dirty_left_ = dirty_right_ = 0;
}

void VtInterpreter::line_feed() {
    if (y_ + 1 < height_) {
        ++y_;
        return;
    }
    // The bottom row: the buffer scrolls, and the frame moves up with it. Its
    // rows must stay the bottom ones, and its top row must not leave the buffer
    // before the console has it.
    const std::int32_t rows = frame_rows();
    if (rows > 0 && (frame_top_ + rows != height_ || frame_top_ == 0 ||
                     std::int64_t{rows + 1} * width_ > kFrameCells)) {
        commit();
    }
    frame_top_ = frame_.empty() ? height_ - 1 : frame_top_ - 1;
    frame_.resize(frame_.size() + static_cast<std::size_t>(width_), ConsoleCell{L' ', attribute_});
    mark_dirty(0, width_);
    ++scrolls_;
    lowest_used_ = height_ - 1;
}

void VtInterpreter::glyph(char32_t code_point) {
    if (wrap_pending_) {
        line_feed();
        x_ = 0;
        wrap_pending_ = false;
    }
    // Code page 437 lies within the first 65,536 code points.
    cell(x_, y_) = {code_point <= 0xFFFF ? static_cast<wchar_t>(code_point) : L'?', attribute_};
    mark_dirty(x_, x_ + 1);
    lowest_used_ = std::max(lowest_used_, y_);
    if (x_ == width_ - 1) {
        wrap_pending_ = true;
    } else {
        ++x_;
    }
}

void VtInterpreter::colours(std::string_view parameters) {
    for (;;) {
        const std::size_t end = std::min(parameters.find(';'), parameters.size());
        const int p = first_parameter(parameters.substr(0, end));
        if (p == 0) attribute_ = default_attribute_;
        if (p >= 30 && p <= 37) attribute_ = (attribute_ & 0xF0) | console_colour(p - 30);
        if (p >= 90 && p <= 97) attribute_ = (attribute_ & 0xF0) | 8 | console_colour(p - 90);
        if (p >= 40 && p <= 47) attribute_ = (attribute_ & 0x0F) | console_colour(p - 40) << 4;
        if (p >= 100 && p <= 107)
            attribute_ = (attribute_ & 0x0F) | (8 | console_colour(p - 100)) << 4;
        if (end == parameters.size()) break;
        parameters.remove_prefix(end + 1);
    }
}

void VtInterpreter::erase_below(std::int64_t from_cell) {
    // Straight to the console, after what the frame holds. Rows below the
    // lowest used one are blank already, unless in other colours.
    commit();
    const std::int32_t last = blank_attribute_ == attribute_ ? lowest_used_ : height_ - 1;
    cells_.fill(static_cast<std::int32_t>(from_cell % width_),
                static_cast<std::int32_t>(from_cell / width_),
                std::int64_t{width_} * (last + 1) - from_cell, attribute_);
    // The row of from_cell keeps what stands before it.
    lowest_used_ = static_cast<std::int32_t>((from_cell + width_ - 1) / width_) - 1;
    blank_attribute_ = attribute_;
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
            for (std::int32_t x = x_; x < width_; ++x) cell(x, y_) = {L' ', attribute_};
            mark_dirty(x_, width_);
            lowest_used_ = std::max(lowest_used_, y_);
            break;
        case 'J':
            if (first_parameter(parameters) == 2) {
                erase_below(0);
            } else if (first_parameter(parameters) == 0) {
                erase_below(std::int64_t{y_} * width_ + x_);
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
            x_ = 0;
            wrap_pending_ = false;
            ++i;
        } else if (c == '\n') {
            line_feed();
            wrap_pending_ = false;
            ++i;
        } else if (c == '\a') {
            cells_.bell();
            ++i;
        } else {
            const std::size_t length =
                std::min(utf8_length(static_cast<unsigned char>(c)), bytes.size() - i);
            glyph(decode_utf8(bytes.substr(i, length)));
            i += length;
        }
    }
    commit();
    if (x_ != shown_x_ || y_ != shown_y_) {
        cells_.show_cursor_at(x_, y_);
        shown_x_ = x_;
        shown_y_ = y_;
    }
}

}  // namespace cp
