// The console functions carry out the terminal renderer's output as a VT
// terminal would: a whole session of the real program, drawn in a narrow,
// short buffer (rows wrap, the buffer scrolls, the cursor goes two rows up),
// must leave the same characters, colours and cursor in a buffer of console
// cells as in the emulated terminal, after every piece of output, in a few
// calls per piece, and also where the host takes only small pieces.
#include "console/windows/vt_interpreter.hpp"

#include <gtest/gtest.h>

#include <cstdint>
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

// A screen buffer in memory that counts the calls made on it. A host may
// refuse puts of more than `put_limit` cells, as some limit one call.
class MemoryCells final : public ConsoleCells {
  public:
    MemoryCells(int width, int height, std::size_t put_limit)
        : width_(width),
          rows_(static_cast<std::size_t>(height), blank_row(kDefaultAttribute)),
          put_limit_(put_limit) {}

    bool put(std::int32_t x, std::int32_t y, const CellBlock& block) override {
        ++calls;
        if (static_cast<std::size_t>(block.width * block.height) > put_limit_) return false;
        EXPECT_LE(x + block.width, width_) << "a put runs past the row";
        EXPECT_LE(y + block.height, static_cast<int>(rows_.size())) << "a put runs past the buffer";
        for (int r = 0; r < block.height; ++r)
            for (int c = 0; c < block.width; ++c)
                at(x + c, y + r) = block.cells[r * block.stride + c];
        return true;
    }
    bool get_rows(std::int32_t first_row, std::int32_t rows,
                  std::span<ConsoleCell> cells) override {
        ++calls;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < width_; ++c)
                cells[static_cast<std::size_t>(r * width_ + c)] = at(c, first_row + r);
        return true;
    }
    void fill(std::int32_t x, std::int32_t y, std::int64_t count,
              std::uint16_t attribute) override {
        ++calls;
        for (std::int64_t i = 0; i < count && y < static_cast<int>(rows_.size()); ++i) {
            at(x, y) = {L' ', attribute};
            if (++x == width_) x = 0, ++y;
        }
    }
    void scroll_up(std::int32_t bottom, std::int32_t rows, std::uint16_t attribute) override {
        ++calls;
        EXPECT_EQ(bottom, static_cast<int>(rows_.size()) - 1);
        for (int i = 0; i < rows; ++i) {
            rows_.erase(rows_.begin());
            rows_.push_back(blank_row(attribute));
        }
    }
    void bell() override { ++bells; }
    void show_cursor_at(std::int32_t x, std::int32_t y) override {
        ++calls;
        cursor = {x, y};
    }

    ConsoleCell& at(int x, int y) {
        return rows_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
    }
    std::pair<int, int> cursor{0, 0};
    int bells = 0;
    int calls = 0;

  private:
    std::vector<ConsoleCell> blank_row(std::uint16_t attribute) const {
        return std::vector<ConsoleCell>(static_cast<std::size_t>(width_),
                                        ConsoleCell{L' ', attribute});
    }
    int width_;
    std::vector<std::vector<ConsoleCell>> rows_;
    std::size_t put_limit_;
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
    BothTerminal(int width, int height, std::size_t put_limit)
        : RendererTerminal(width),
          width_(width),
          height_(height),
          emulator_(width, height),
          cells_(width, height, put_limit),
          interpreter_(cells_, width, height, kDefaultAttribute) {}

    int comparisons() const { return comparisons_; }
    int calls() const { return cells_.calls; }

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
    // Both screens as text, a line per row: each cell's character, then its
    // colours where it is not blank (a terminal scrolls in lines in its
    // default colours, a console in the current ones).
    void compare() {
        ++comparisons_;
        std::u32string want;
        std::u32string got;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const testing::Emulator::Cell& w = emulator_.cell(y, x);
                const ConsoleCell& g = cells_.at(x, y);
                want += w.ch;
                got += static_cast<char32_t>(g.ch);
                if (w.ch != U' ') want += static_cast<char32_t>(0xE000 + attribute_of(w));
                if (w.ch != U' ') got += static_cast<char32_t>(0xE000 + g.attribute);
            }
            want += U'\n';
            got += U'\n';
        }
        ASSERT_TRUE(got == want) << "after piece " << comparisons_;
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
    struct Host {
        int width;
        std::size_t put_limit;  // cells one put may carry
    };
    for (const Host host : {Host{37, SIZE_MAX}, Host{80, SIZE_MAX}, Host{80, 50}}) {
        BothTerminal terminal(host.width, 12, host.put_limit);
        // A search, its listing with long rows, a sequence with its breaks
        // at column 90, Backspace over a wrapped echo, the option letters, a
        // beep, the text screen.
        terminal.type("\r20\rG\r00,27\r" + std::string(45, '7') + std::string(44, '\b') + "\r");
        terminal.type("B\rK\r3\rX\r5\rT\r\rQ\rx");
        Console console(terminal);
        State state;
        run_program(console, state);
        console.finish();
        EXPECT_GT(terminal.comparisons(), 100) << "width " << host.width;
        // A piece of output costs the console a few calls, not one per row.
        if (host.put_limit == SIZE_MAX) {
            EXPECT_LE(terminal.calls(), 4 * terminal.comparisons()) << "width " << host.width;
        }
        if (::testing::Test::HasFatalFailure()) return;
    }
}

}  // namespace
}  // namespace cp
