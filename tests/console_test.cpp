// The console's screen model: writing, wrapping, scrolling, cursor moves, colours
// and the line reader, read back cell by cell.
#include <gtest/gtest.h>

#include <random>

#include "console/console.hpp"
#include "console/strings.hpp"
#include "scripted_terminal.hpp"

namespace cp {
namespace {

using testing::colour_at;
using testing::row_text;
using testing::ScriptedTerminal;

struct ConsoleTest : ::testing::Test {
    ScriptedTerminal terminal;
    Console console{terminal};
    void SetUp() override { console.set_screen_size(10, 3); }
    const Screen& screen() const { return console.screen(); }
};

TEST_F(ConsoleTest, TextEndingInLastColumnThenNewlineLeavesOneEmptyLine) {
    console.print_text("0123456789");
    EXPECT_EQ(console.cursor_row(), 2);
    EXPECT_EQ(console.cursor_column(), 1);
    console.print_newline();
    console.print_text("x");
    EXPECT_EQ(row_text(screen(), 0), "0123456789");
    EXPECT_EQ(row_text(screen(), 1), "");
    EXPECT_EQ(row_text(screen(), 2), "x");
}

TEST_F(ConsoleTest, BottomRowWrapWaitsForNextByteAndLocateCancelsIt) {
    console.locate(3, 1);
    console.print_text("abcdefghij");
    // The scroll is pending: the cursor reports column 1 of the bottom row.
    EXPECT_TRUE(screen().wrap_pending());
    EXPECT_EQ(console.cursor_row(), 3);
    EXPECT_EQ(console.cursor_column(), 1);
    EXPECT_EQ(row_text(screen(), 2), "abcdefghij");
    console.print_text("k");
    EXPECT_EQ(row_text(screen(), 1), "abcdefghij");
    EXPECT_EQ(row_text(screen(), 2), "k");

    console.locate(3, 1);
    console.print_text("0123456789");
    console.locate(3, 5);  // cancels the scroll
    console.print_text("X");
    EXPECT_EQ(row_text(screen(), 2), "0123X56789");
    EXPECT_EQ(row_text(screen(), 1), "abcdefghij");
}

TEST_F(ConsoleTest, NewlineAtBottomScrollsTwiceWhenWrapPending) {
    console.locate(3, 1);
    console.print_text("abcdefghij");
    console.print_newline();
    console.print_text("z");
    EXPECT_EQ(row_text(screen(), 0), "abcdefghij");
    EXPECT_EQ(row_text(screen(), 1), "");
    EXPECT_EQ(row_text(screen(), 2), "z");
}

TEST_F(ConsoleTest, ScrolledInRowTakesTheCurrentColours) {
    console.set_color(14, 1);
    console.locate(3, 1);
    console.print_newline();
    EXPECT_EQ(screen().cell(2, 4).attribute, 0x1E);
    EXPECT_EQ(screen().cell(0, 4).attribute, 0x07);  // cleared in 7 on 0
}

TEST_F(ConsoleTest, PrintZoneFillsToTheNextZoneStart) {
    console.set_screen_size(100, 5);
    for (std::int32_t start : {1, 15, 29}) {
        console.locate(1, start);
        console.print_zone();
        EXPECT_EQ(console.cursor_column(), start + 14);
    }
    console.locate(1, 2);
    console.print_zone();
    EXPECT_EQ(console.cursor_column(), 15);
}

TEST_F(ConsoleTest, LocateIgnoresOutOfRangeValuesSigned) {
    console.locate(2, 4);
    console.locate(0, 0);
    EXPECT_EQ(console.cursor_row(), 2);
    EXPECT_EQ(console.cursor_column(), 4);
    console.locate(-1, 11);
    EXPECT_EQ(console.cursor_row(), 2);
    EXPECT_EQ(console.cursor_column(), 4);
    console.locate(console.cursor_row() - 2, 0);  // row 0: stays
    EXPECT_EQ(console.cursor_row(), 2);
    console.locate(3, 0);
    console.locate(console.cursor_row() - 2, 0);
    EXPECT_EQ(console.cursor_row(), 1);
    EXPECT_EQ(console.cursor_column(), 4);
}

TEST_F(ConsoleTest, SetColorKeepsOutOfRangeValues) {
    console.set_color(14, -1);
    EXPECT_EQ(screen().foreground(), 14);
    EXPECT_EQ(screen().background(), 0);
    console.set_color(16, 2);
    EXPECT_EQ(screen().foreground(), 14);
    EXPECT_EQ(screen().background(), 2);
    console.print_text("a");
    EXPECT_EQ(screen().cell(0, 0).attribute, 0x2E);
}

TEST_F(ConsoleTest, ClearScreenBlanksEveryRowAndHomesTheCursor) {
    console.print_text("abc");
    console.print_newline();
    console.print_text("de");
    console.set_color(15, 0);
    console.clear_screen();
    EXPECT_EQ(console.cursor_row(), 1);
    EXPECT_EQ(console.cursor_column(), 1);
    EXPECT_EQ(screen().row_length(0), 0);
    EXPECT_EQ(screen().row_length(1), 0);
    EXPECT_EQ(screen().cell(1, 0).attribute, 0x0F);
}

TEST_F(ConsoleTest, ScreenSizeLimits) {
    EXPECT_FALSE(console.set_screen_size(65536, 10));
    EXPECT_EQ(screen().columns(), 10);
    EXPECT_TRUE(console.set_screen_size(900, 16000));
    EXPECT_EQ(screen().columns(), 900);
    EXPECT_EQ(screen().rows(), 16000);
    // An empty screen of that size holds no cells.
    EXPECT_EQ(screen().rows_in_use(), 0u);
}

TEST_F(ConsoleTest, ScrollingAtTheBottomReusesRows) {
    console.set_screen_size(900, 16000);
    console.locate(16000, 1);
    for (int i = 0; i < 50000; ++i) {
        console.print_text("row");
        console.print_newline();
    }
    EXPECT_LE(screen().rows_in_use(), 16000u);
    EXPECT_EQ(row_text(screen(), 15998), "row");
}

TEST_F(ConsoleTest, ReadLineEchoesAndEditsWithBackspace) {
    terminal.type("ab\x08");
    terminal.press(std::string("\0H", 2));  // Up: no character, ignored
    terminal.type("c\x01\r");
    EXPECT_EQ(console.read_line(), "ac");
    EXPECT_EQ(row_text(screen(), 0), "ac");
    EXPECT_EQ(console.cursor_row(), 2);
    EXPECT_EQ(console.cursor_column(), 1);
}

TEST_F(ConsoleTest, BackspaceCrossesToTheRowAboveAndStopsOnAnEmptyLine) {
    console.locate(1, 9);
    terminal.type("xyz\x08\x08\x08\x08q\r");
    EXPECT_EQ(console.read_line(), "q");
    EXPECT_EQ(row_text(screen(), 0), "        q");
    EXPECT_EQ(row_text(screen(), 1), "");
}

TEST_F(ConsoleTest, ReadLineStopsAtTenThousandCharacters) {
    console.set_screen_size(900, 100);
    terminal.type(std::string(10005, '7') + "\r");
    EXPECT_EQ(console.read_line().size(), 10000u);
}

TEST_F(ConsoleTest, TypedAheadKeysWaitInOrder) {
    terminal.type("12\r5");
    EXPECT_EQ(console.read_line(), "12");
    EXPECT_EQ(console.key_waiting(), -1);
    EXPECT_EQ(console.read_key(), "5");
    EXPECT_EQ(console.key_waiting(), 0);
    EXPECT_EQ(console.read_key(), "");
}

TEST_F(ConsoleTest, EndOfInputEndsReadsAndSilencesOutput) {
    terminal.type("ab");
    EXPECT_EQ(console.read_line(), "");
    EXPECT_TRUE(console.input_ended());
    EXPECT_EQ(console.wait_key(), "");
    console.print_text("more");
    EXPECT_EQ(row_text(screen(), 0), "ab");
}

TEST(ConsoleTranscript, RowsAppearWhenLeftAndOverwrittenRowsAgain) {
    ScriptedTerminal terminal;
    Console console{terminal};
    console.set_screen_size(900, 100);
    console.print_text("one");
    console.print_newline();
    console.print_text("two");
    console.print_newline();
    console.locate(console.cursor_row() - 2, 0);  // back up over both rows
    console.print_text("ONE!");
    console.print_newline();
    console.print_newline();
    console.locate(console.cursor_row(), 16);  // untouched rows are not written again
    console.finish();
    EXPECT_EQ(terminal.transcript(), (std::vector<std::string>{"one", "two", "ONE!", "two"}));
}

// A row takes each text in one step and keeps its colours as runs: it must
// hold the same cells as a plain grid written cell by cell, through overwrites,
// skipped cells and scrolls.
TEST(ScreenRows, PutInOneStepHoldsTheCellsOfAGridWrittenCellByCell) {
    constexpr int kColumns = 30;
    constexpr int kRows = 3;
    struct GridRow {
        std::vector<Cell> cells;
        Attribute fill = 0x07;
    };
    std::mt19937 random(22);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    Screen screen(kColumns, kRows);
    std::vector<GridRow> grid(kRows);
    for (int step = 0; step < 4000; ++step) {
        screen.set_colors(9 + pick(3), pick(2));  // few colours, so that runs meet and merge
        if (pick(20) == 0) {
            screen.scroll_up();
            grid.erase(grid.begin());
            grid.push_back({{}, screen.attribute()});
            continue;
        }
        const int row = pick(kRows);
        const int column = pick(kColumns);
        std::string bytes(static_cast<std::size_t>(1 + pick(kColumns - column)), ' ');
        for (char& b : bytes) b = "ab\xfe"[pick(3)];
        screen.set_cursor(row, column);
        screen.put(bytes);
        GridRow& expected = grid[static_cast<std::size_t>(row)];
        const std::size_t end = static_cast<std::size_t>(column) + bytes.size();
        if (expected.cells.size() < end) expected.cells.resize(end, Cell{' ', expected.fill});
        for (std::size_t i = 0; i < bytes.size(); ++i)
            expected.cells[static_cast<std::size_t>(column) + i] =
                Cell{bytes[i], screen.attribute()};

        const std::vector<Cell>& cells = expected.cells;
        ASSERT_EQ(screen.row_length(row), static_cast<std::int32_t>(cells.size())) << step;
        for (std::size_t c = 0; c <= cells.size(); ++c) {
            const Cell want = c < cells.size() ? cells[c] : Cell{' ', expected.fill};
            const Cell got = screen.cell(row, static_cast<std::int32_t>(c));
            ASSERT_EQ(got.ch, want.ch) << step << " column " << c;
            ASSERT_EQ(got.attribute, want.attribute) << step << " column " << c;
        }
        // Any stretch of the row, run by run: the same cells, and a new run
        // only where the colour changes.
        const int from = pick(kColumns);
        const int to = from + pick(kColumns);
        std::size_t at = static_cast<std::size_t>(from);
        int previous = -1;
        screen.for_each_run(row, from, to, [&](std::string_view run, Attribute attribute) {
            EXPECT_NE(attribute, previous) << step;
            previous = attribute;
            for (const char b : run) {
                EXPECT_EQ(b, cells[at].ch) << step;
                EXPECT_EQ(attribute, cells[at].attribute) << step;
                ++at;
            }
        });
        EXPECT_EQ(at, std::max(std::min(static_cast<std::size_t>(to), cells.size()),
                               static_cast<std::size_t>(from)))
            << step;
    }
}

}  // namespace
}  // namespace cp
