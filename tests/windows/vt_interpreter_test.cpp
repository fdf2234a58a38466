// The console functions carry out the terminal renderer's output as a VT
// terminal would: a whole session of the real program, drawn in a narrow,
// short buffer (rows wrap, the buffer scrolls, the cursor goes two rows up),
// must leave the same characters, colours and cursor in a buffer of console
// cells as in the emulated terminal, after every piece of output.
#include "console/windows/vt_interpreter.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console.hpp"
#include "driver/program.hpp"
#include "driver/state.hpp"
#include "renderer_terminal.hpp"
#include "vt_emulator.hpp"

namespace cp {
namespace {

constexpr std::uint16_t kDefaultAttribute = 0x07;

// A screen buffer in memory.
class MemoryCells final : public ConsoleCells {
  public:
    struct Cell {
        wchar_t ch = L' ';
        std::uint16_t attribute = kDefaultAttribute;
    };
    MemoryCells(int width, int height)
        : width_(width), rows_(static_cast<std::size_t>(height), blank_row(kDefaultAttribute)) {}

    void put(std::int32_t x, std::int32_t y, std::wstring_view text,
             std::uint16_t attribute) override {
        ASSERT_LE(x + static_cast<int>(text.size()), width_) << "a put runs past the row";
        for (std::size_t i = 0; i < text.size(); ++i)
            at(x + static_cast<int>(i), y) = {text[i], attribute};
    }
    void fill(std::int32_t x, std::int32_t y, std::int64_t count,
              std::uint16_t attribute) override {
        for (std::int64_t i = 0; i < count && y < static_cast<int>(rows_.size()); ++i) {
            at(x, y) = {L' ', attribute};
            if (++x == width_) x = 0, ++y;
        }
    }
    void scroll_up(std::uint16_t attribute) override {
        rows_.erase(rows_.begin());
        rows_.push_back(blank_row(attribute));
    }
    void bell() override { ++bells; }
    void show_cursor_at(std::int32_t x, std::int32_t y) override { cursor = {x, y}; }

    Cell& at(int x, int y) {
        return rows_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
    }
    std::pair<int, int> cursor{0, 0};
    int bells = 0;

  private:
    std::vector<Cell> blank_row(std::uint16_t attribute) const {
        return std::vector<Cell>(static_cast<std::size_t>(width_), Cell{L' ', attribute});
    }
    int width_;
    std::vector<std::vector<Cell>> rows_;
};

// The console colour of an emulated cell's ANSI colours (39 and 49: the defaults).
std::uint16_t attribute_of(const testing::Emulator::Cell& cell) {
    const auto colour = [](int ansi, int base, int bright, int fallback) {
        const int n = ansi >= bright ? ansi - bright : ansi - base;
        if (ansi == base + 9) return fallback;
        const int swapped = ((n & 1) << 2) | (n & 2) | ((n & 4) >> 2);
        return swapped | (ansi >= bright ? 8 : 0);
    };
    return static_cast<std::uint16_t>(colour(cell.fg, 30, 90, 7) | colour(cell.bg, 40, 100, 0)
                                                                       << 4);
}

// The program drawing through the renderer into both.
class BothTerminal final : public testing::RendererTerminal {
  public:
    BothTerminal(int width, int height)
        : RendererTerminal(width),
          width_(width),
          height_(height),
          emulator_(width, height),
          cells_(width, height),
          interpreter_(cells_, width, height, kDefaultAttribute) {}

    int comparisons() const { return comparisons_; }

    void finish(const Screen&) override {
        renderer.finish();
        flush();
    }

  private:
    void show(std::string_view bytes) override {
        emulator_.feed(bytes);
        interpreter_.run(bytes);
        compare();
    }
    void compare() {
        ++comparisons_;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const testing::Emulator::Cell& want = emulator_.cell(y, x);
                const MemoryCells::Cell& got = cells_.at(x, y);
                ASSERT_EQ(static_cast<char32_t>(got.ch), want.ch) << "cell " << x << "," << y;
                // A blank's colour may differ: a terminal scrolls in lines in
                // its default colours, a console in the current ones.
                if (want.ch != U' ') {
                    ASSERT_EQ(got.attribute, attribute_of(want)) << "cell " << x << "," << y;
                }
            }
        }
        ASSERT_EQ(cells_.cursor, std::make_pair(emulator_.cursor_x(), emulator_.cursor_y()));
        ASSERT_EQ(cells_.bells, emulator_.bells());
    }

    int width_;
    int height_;
    testing::Emulator emulator_;
    MemoryCells cells_;
    VtInterpreter interpreter_;
    int comparisons_ = 0;
};

TEST(VtInterpreter, CarriesOutASessionAsATerminalWould) {
    for (const int width : {37, 80}) {
        BothTerminal terminal(width, 12);
        // A search, its listing with long rows, a sequence with its breaks
        // at column 90, Backspace over a wrapped echo, the option letters, a
        // beep, the text screen.
        terminal.type("\r20\rG\r00,27\r" + std::string(45, '7') + std::string(44, '\b') + "\r");
        terminal.type("B\rK\r3\rX\r5\rT\r\rQ\rx");
        Console console(terminal);
        State state;
        run_program(console, state);
        console.finish();
        EXPECT_GT(terminal.comparisons(), 100) << "width " << width;
        if (::testing::Test::HasFatalFailure()) return;
    }
}

}  // namespace
}  // namespace cp
