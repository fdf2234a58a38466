#pragma once
// Just enough of a VT terminal for the tests to read what the program drew:
// text and colour of every cell of its visible lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace cp::testing {

// Just enough of a VT terminal: auto-wrap with the pending last-column wrap,
// CR, LF (scrolling at the bottom), BEL, and the CSI sequences the renderer uses.
// It knows which lines the wrap made, as a terminal that rewraps on resize does.
class Emulator {
  public:
    struct Cell {
        char32_t ch = ' ';
        int fg = 39;
        int bg = 49;
        bool printed = false;  // a character stands here (an erased cell holds none)
    };

    Emulator(int width, int height) : width_(width), height_(height) {
        lines_.assign(static_cast<std::size_t>(height), blank_line());
        wrapped_.assign(static_cast<std::size_t>(height), false);
    }

    // A new width, as xterm takes it: lines are cut or padded, not rewrapped,
    // and the cursor stays on its line.
    void resize(int width) {
        width_ = width;
        for (std::vector<Cell>& line : lines_) line.resize(static_cast<std::size_t>(width), Cell{});
        x_ = std::min(x_, width_ - 1);
        pending_ = false;
    }
    int height() const { return height_; }

    // A new width, as a terminal that rewraps does it (xterm.js, tmux): each
    // row, the lines its wrap made joined, is cut again at the new width, up
    // to its last character. The cursor keeps its cell of its row; at a
    // line's end it stands in the last column with no wrap pending, as the
    // page leaves it. Lines beyond the height go off the top.
    void rewrap(int width) {
        std::vector<std::vector<Cell>> lines;
        std::vector<bool> wrapped;
        int cursor_y = 0;
        int cursor_x = 0;
        std::vector<Cell> row;
        // Below the cursor and the last character, blank lines stay blank.
        int used = y_ + 1;
        for (int y = used; y < height_; ++y) {
            const std::vector<Cell>& line = lines_[static_cast<std::size_t>(y)];
            if (std::any_of(line.begin(), line.end(), [](const Cell& c) { return c.printed; }))
                used = y + 1;
        }
        for (int y = 0; y < used; ++y) {
            if (y > 0 && wrapped_[static_cast<std::size_t>(y)]) continue;
            row.clear();
            int cursor = -1;
            for (int part = y;
                 part == y || (part < used && wrapped_[static_cast<std::size_t>(part)]); ++part) {
                if (part == y_) cursor = static_cast<int>(row.size()) + x_ + (pending_ ? 1 : 0);
                const std::vector<Cell>& line = lines_[static_cast<std::size_t>(part)];
                row.insert(row.end(), line.begin(), line.end());
            }
            int length = static_cast<int>(row.size());
            while (length > 0 && !row[static_cast<std::size_t>(length - 1)].printed) --length;
            const int count = std::max(1, (length + width - 1) / width);
            if (cursor >= 0) {
                // Past the row's last line it stands on the lines below.
                const int at = cursor > 0 && cursor % width == 0 ? cursor - 1 : cursor;
                cursor_y = static_cast<int>(lines.size()) + at / width;
                cursor_x = at % width;
            }
            row.resize(static_cast<std::size_t>(count * width), Cell{});
            for (int k = 0; k < count; ++k) {
                lines.emplace_back(row.begin() + k * width, row.begin() + (k + 1) * width);
                wrapped.push_back(k > 0);
            }
        }
        width_ = width;
        while (static_cast<int>(lines.size()) <= cursor_y) {
            lines.push_back(blank_line());
            wrapped.push_back(false);
        }
        // Blank lines below the cursor's go first, then lines off the top.
        while (static_cast<int>(lines.size()) > std::max(height_, cursor_y + 1) &&
               std::none_of(lines.back().begin(), lines.back().end(),
                            [](const Cell& c) { return c.printed; })) {
            lines.pop_back();
            wrapped.pop_back();
        }
        const int off = std::max(0, static_cast<int>(lines.size()) - height_);
        lines.erase(lines.begin(), lines.begin() + off);
        wrapped.erase(wrapped.begin(), wrapped.begin() + off);
        lines.resize(static_cast<std::size_t>(height_), blank_line());
        wrapped.resize(static_cast<std::size_t>(height_), false);
        lines_ = std::move(lines);
        wrapped_ = std::move(wrapped);
        y_ = std::max(0, cursor_y - off);
        x_ = cursor_x;
        pending_ = false;
    }

    // The rows as the terminal holds them, each a line and the lines its wrap
    // made, trailing blanks and blank rows at the end removed (ASCII only).
    std::vector<std::string> rows() const {
        std::vector<std::string> rows;
        for (int y = 0; y < height_; ++y) {
            if (y == 0 || !wrapped_[static_cast<std::size_t>(y)]) rows.emplace_back();
            for (const Cell& c : lines_[static_cast<std::size_t>(y)])
                rows.back().push_back(c.ch < 128 ? static_cast<char>(c.ch) : '?');
        }
        for (std::string& row : rows) row.erase(row.find_last_not_of(' ') + 1);
        while (!rows.empty() && rows.back().empty()) rows.pop_back();
        return rows;
    }

    // Bytes as they come from the terminal's other end: a sequence cut off at
    // the end waits for the rest.
    void feed(std::string_view more) {
        carry_.append(more);
        const std::string_view bytes = carry_;
        std::size_t i = 0;
        while (i < bytes.size() && complete(bytes, i)) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (b == 0x1b) {
                i = csi(bytes, i);
            } else if (b == '\r') {
                x_ = 0;
                pending_ = false;
                ++i;
            } else if (b == '\n') {
                line_feed(false);
                pending_ = false;
                ++i;
            } else if (b == '\a') {
                ++bells_;
                ++i;
            } else {
                EXPECT_GE(b, 0x20) << "control byte " << int{b};
                i = print(bytes, i);
            }
        }
        carry_.erase(0, i);
    }

    // Text of a terminal line, trailing blanks removed (ASCII cells only; others as '?').
    std::string line(int y) const {
        std::string text;
        for (const Cell& c : lines_[static_cast<std::size_t>(y)])
            text.push_back(c.ch < 128 ? static_cast<char>(c.ch) : '?');
        return text.substr(0, text.find_last_not_of(' ') + 1);
    }
    const Cell& cell(int y, int x) const {
        return lines_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
    }
    int cursor_y() const { return y_; }
    int cursor_x() const { return x_; }
    int bells() const { return bells_; }
    int scrollback_clears() const { return scrollback_clears_; }

  private:
    static std::size_t utf8_length(unsigned char b) {
        if (b >= 0xF0) return 4;
        if (b >= 0xE0) return 3;
        if (b >= 0xC0) return 2;
        return 1;
    }
    // The character or sequence at i is all there.
    static bool complete(std::string_view bytes, std::size_t i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b != 0x1b) return i + utf8_length(b) <= bytes.size();
        std::size_t j = i + 2;
        while (j < bytes.size() && bytes[j] >= '0' && bytes[j] <= '?') ++j;
        return j < bytes.size();
    }
    std::vector<Cell> blank_line() const {
        return std::vector<Cell>(static_cast<std::size_t>(width_), Cell{' ', fg_, bg_});
    }
    // The line reached continues the row above when the wrap made it; a line
    // feed onto a line ends the row above there, as in xterm.js.
    void line_feed(bool wrap) {
        if (y_ + 1 < height_) {
            ++y_;
        } else {
            lines_.erase(lines_.begin());
            wrapped_.erase(wrapped_.begin());
            // As tmux does, a line scrolled in takes the default colours.
            lines_.emplace_back(static_cast<std::size_t>(width_), Cell{});
            wrapped_.push_back(false);
        }
        wrapped_[static_cast<std::size_t>(y_)] = wrap;
    }
    std::size_t print(std::string_view bytes, std::size_t i) {
        auto b = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = utf8_length(b);
        char32_t cp = length == 4   ? (b & 0x07u)
                      : length == 3 ? (b & 0x0Fu)
                      : length == 2 ? (b & 0x1Fu)
                                    : b;
        for (std::size_t k = 1; k < length; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3Fu);
        if (pending_) {
            x_ = 0;
            line_feed(true);
            pending_ = false;
        }
        lines_[static_cast<std::size_t>(y_)][static_cast<std::size_t>(x_)] =
            Cell{cp, fg_, bg_, true};
        if (x_ == width_ - 1) {
            pending_ = true;
        } else {
            ++x_;
        }
        return i + length;
    }
    std::size_t csi(std::string_view bytes, std::size_t i) {
        EXPECT_EQ(bytes[i + 1], '[');
        std::size_t j = i + 2;
        std::vector<int> params{0};
        while (bytes[j] >= '0' && bytes[j] <= ';') {
            if (bytes[j] == ';') {
                params.push_back(0);
            } else {
                params.back() = params.back() * 10 + (bytes[j] - '0');
            }
            ++j;
        }
        const char final_byte = bytes[j];
        const int n = std::max(params[0], 1);
        // A colour change leaves a pending wrap pending, as in xterm.
        if (final_byte != 'm') pending_ = false;
        switch (final_byte) {
            case 'A':
                y_ = std::max(0, y_ - n);
                break;
            case 'G':
                x_ = std::min(width_, n) - 1;
                break;
            case 'H':
                x_ = y_ = 0;
                break;
            case 'J':
                if (params[0] == 3) {
                    ++scrollback_clears_;
                } else {
                    const int from = params[0] == 2 ? 0 : y_;
                    // Erased from its first column on, a line no longer continues a row.
                    if (x_ == 0) wrapped_[static_cast<std::size_t>(y_)] = false;
                    if (params[0] == 0) {
                        for (int x = x_; x < width_; ++x)
                            lines_[static_cast<std::size_t>(y_)][static_cast<std::size_t>(x)] =
                                Cell{' ', fg_, bg_};
                    }
                    for (int y = params[0] == 0 ? y_ + 1 : from; y < height_; ++y) {
                        lines_[static_cast<std::size_t>(y)] = blank_line();
                        wrapped_[static_cast<std::size_t>(y)] = false;
                    }
                }
                break;
            case 'K':
                if (x_ == 0) wrapped_[static_cast<std::size_t>(y_)] = false;
                for (int x = x_; x < width_; ++x)
                    lines_[static_cast<std::size_t>(y_)][static_cast<std::size_t>(x)] =
                        Cell{' ', fg_, bg_};
                break;
            case 'm':
                for (const int p : params) {
                    if ((p >= 30 && p <= 37) || (p >= 90 && p <= 97)) fg_ = p;
                    if ((p >= 40 && p <= 47) || (p >= 100 && p <= 107)) bg_ = p;
                    if (p == 0) fg_ = 39, bg_ = 49;
                }
                break;
            default:
                ADD_FAILURE() << "unexpected sequence ending in " << final_byte;
        }
        return j + 1;
    }

    int width_;
    int height_;
    std::vector<std::vector<Cell>> lines_;
    std::vector<bool> wrapped_;  // the line continues the one above it (the wrap made it)
    int y_ = 0;
    int x_ = 0;
    bool pending_ = false;
    int fg_ = 39;
    int bg_ = 49;
    int bells_ = 0;
    int scrollback_clears_ = 0;
    std::string carry_;
};

}  // namespace cp::testing
