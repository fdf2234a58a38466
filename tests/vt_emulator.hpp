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
class Emulator {
  public:
    struct Cell {
        char32_t ch = ' ';
        int fg = 39;
        int bg = 49;
    };

    Emulator(int width, int height) : width_(width), height_(height) {
        lines_.assign(static_cast<std::size_t>(height), blank_line());
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
                line_feed();
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
    void line_feed() {
        if (y_ + 1 < height_) {
            ++y_;
        } else {
            lines_.erase(lines_.begin());
            // As tmux does, a line scrolled in takes the default colours.
            lines_.emplace_back(static_cast<std::size_t>(width_), Cell{});
        }
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
            line_feed();
            pending_ = false;
        }
        lines_[static_cast<std::size_t>(y_)][static_cast<std::size_t>(x_)] = Cell{cp, fg_, bg_};
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
                    if (params[0] == 0) {
                        for (int x = x_; x < width_; ++x)
                            lines_[static_cast<std::size_t>(y_)][static_cast<std::size_t>(x)] =
                                Cell{' ', fg_, bg_};
                    }
                    for (int y = params[0] == 0 ? y_ + 1 : from; y < height_; ++y)
                        lines_[static_cast<std::size_t>(y)] = blank_line();
                }
                break;
            case 'K':
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
