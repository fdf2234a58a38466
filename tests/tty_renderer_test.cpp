// The terminal renderer, drawn into a small emulated terminal of a given width:
// colours, characters, and the cursor landing on the right cell when the
// terminal wraps rows that are longer than its width.
#include "console/tty_renderer.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "console/console.hpp"
#include "console/cp437.hpp"
#include "renderer_terminal.hpp"
#include "vt_emulator.hpp"

namespace cp {
namespace {

using testing::Emulator;

// The console drawing through the renderer into the emulator.
class RenderingTerminal final : public testing::RendererTerminal {
  public:
    RenderingTerminal(int width, int height) : RendererTerminal(width), emulator(width, height) {}

    void finish(const Screen&) override {
        renderer.finish();
        finished = renderer.output().view();
        emulator.feed(finished);
        renderer.output().clear();
    }

    Emulator emulator;
    std::string finished;  // what finish wrote

  private:
    void show(std::string_view bytes) override { emulator.feed(bytes); }
};

struct TtyRendererTest : ::testing::Test {
    void start(int width, int height = 40, std::int32_t rows = 16000) {
        terminal = std::make_unique<RenderingTerminal>(width, height);
        console = std::make_unique<Console>(*terminal);
        console->set_screen_size(900, rows);
        console->set_color(15, 0);
        console->clear_screen();
    }
    const Emulator& vt() {
        terminal->flush();
        return terminal->emulator;
    }
    std::unique_ptr<RenderingTerminal> terminal;
    std::unique_ptr<Console> console;
};

TEST_F(TtyRendererTest, ConsoleColoursMapToAnsiWithTheBackgroundAlwaysSet) {
    start(80);
    console->set_color(9, 0);  // light blue
    console->print_text("b");
    console->set_color(14, 0);  // yellow
    console->print_text("y");
    console->set_color(4, 1);  // red on blue
    console->print_text("r");
    console->set_color(10, 8);  // light green on dark grey
    console->print_text("g");
    console->set_color(3, 6);  // cyan on brown
    console->print_text("c");
    const Emulator& e = vt();
    EXPECT_EQ(e.cell(0, 0).fg, 94);
    EXPECT_EQ(e.cell(0, 0).bg, 40);
    EXPECT_EQ(e.cell(0, 1).fg, 93);
    EXPECT_EQ(e.cell(0, 2).fg, 31);
    EXPECT_EQ(e.cell(0, 2).bg, 44);
    EXPECT_EQ(e.cell(0, 3).fg, 92);
    EXPECT_EQ(e.cell(0, 3).bg, 100);
    EXPECT_EQ(e.cell(0, 4).fg, 36);
    EXPECT_EQ(e.cell(0, 4).bg, 43);
    EXPECT_EQ(sgr_for(0x0F), "\x1b[97;40m");
}

TEST_F(TtyRendererTest, OnlyAChangedBackgroundIsSentAgain) {
    start(80);
    console->set_color(15, 0);
    console->print_text("w");
    console->set_color(10, 0);  // the row highlight: foreground only
    console->print_text("g");
    console->set_color(10, 1);
    console->print_text("b");
    terminal->renderer.draw_changes();
    const ByteBuffer& out = terminal->renderer.output();
    EXPECT_NE(out.view().find("w\x1b[92mg\x1b[92;44mb"), std::string::npos) << out.view();
    const Emulator& e = vt();
    EXPECT_EQ(e.cell(0, 1).fg, 92);
    EXPECT_EQ(e.cell(0, 1).bg, 40);
    // After a resume the terminal's colours are unknown: both are sent.
    terminal->renderer.forget_colours();
    console->set_color(10, 1);
    console->print_text("x");
    terminal->renderer.draw_changes();
    EXPECT_EQ(out.view(), "\x1b[92;44mx");
}

TEST_F(TtyRendererTest, ClearPaintsTheBackgroundThenClearsTheScrollBack) {
    start(20, 5);
    console->print_text("old text");
    console->set_color(14, 1);
    console->clear_screen();
    const std::string_view out = terminal->renderer.output().view();
    const std::size_t colour = out.rfind("\x1b[93;44m");
    const std::size_t clear = out.rfind("\x1b[H\x1b[2J\x1b[3J");
    ASSERT_NE(colour, std::string::npos);
    ASSERT_NE(clear, std::string::npos);
    EXPECT_LT(colour, clear);
    const Emulator& e = vt();
    EXPECT_EQ(e.line(0), "");
    EXPECT_EQ(e.cell(4, 19).bg, 44);
    EXPECT_EQ(e.scrollback_clears(), 3);  // set-up, first clear, this one
}

TEST_F(TtyRendererTest, CodePageCharactersAsUtf8) {
    start(80);
    console->print_text("a\xfe\x84\xe1\x03z");
    const Emulator& e = vt();
    EXPECT_EQ(e.cell(0, 1).ch, U'\u25A0');
    EXPECT_EQ(e.cell(0, 2).ch, U'ä');
    EXPECT_EQ(e.cell(0, 3).ch, U'ß');
    EXPECT_EQ(e.cell(0, 4).ch, U'\u2665');  // a control byte shows its glyph, never acts
    EXPECT_EQ(e.cell(0, 5).ch, U'z');
}

// Eight plain bytes go out at once, and the last few as the word that ends
// with them; any other byte among them, wherever it stands and however many
// stand near it, must come out as it does alone.
TEST(CodePage437, ByteAmongPlainTextComesOutAsItDoesAlone) {
    const auto as_alone = [](const std::string& text, ControlBytes controls) {
        ByteBuffer whole;
        ByteBuffer one_by_one;
        append_cp437_as_utf8(whole, text, controls);
        for (const char c : text)
            append_cp437_as_utf8(one_by_one, std::string_view(&c, 1), controls);
        return whole.view() == one_by_one.view();
    };
    for (const ControlBytes controls : {ControlBytes::Kept, ControlBytes::Glyphs}) {
        for (int b = 0; b < 256; ++b) {
            for (std::size_t at = 0; at < 19; at += 3) {
                std::string text = "abcdefghijklmnopqr";
                text.insert(at, 1, static_cast<char>(b));
                EXPECT_TRUE(as_alone(text, controls)) << b << " at " << at;
                std::string dense = text;
                dense.insert(at / 2, "\xfe.\x1f");
                dense.insert(at + 4, 1, static_cast<char>(255 - b));
                EXPECT_TRUE(as_alone(dense, controls)) << b << " at " << at << " with others";
                ByteBuffer whole;
                append_cp437_as_utf8(whole, text, controls);
                const bool changed =
                    b >= 128 || (controls == ControlBytes::Glyphs && (b < 32 || b == 127));
                EXPECT_EQ(whole.view() != text, changed) << b << " at " << at;
            }
        }
    }
}

TEST_F(TtyRendererTest, LocateToColumn16OfARowLongerThanTheWidth) {
    start(10);
    console->print_text("0123456789abcdefghijKLM");  // three terminal lines
    console->locate(console->cursor_row(), 16);
    console->print_text("XY");
    console->print_newline();
    console->print_text("next");
    const Emulator& e = vt();
    EXPECT_EQ(e.line(0), "0123456789");
    EXPECT_EQ(e.line(1), "abcdeXYhij");
    EXPECT_EQ(e.line(2), "KLM");
    EXPECT_EQ(e.line(3), "next");
    EXPECT_EQ(e.cursor_y(), 3);
    EXPECT_EQ(e.cursor_x(), 4);
}

TEST_F(TtyRendererTest, TwoRowsUpSameColumnWhenTheRowsAboveWrapped) {
    start(10);
    console->print_text(std::string(25, 'a'));  // 3 lines
    console->print_newline();
    console->print_text(std::string(15, 'b'));  // 2 lines
    console->print_newline();
    console->print_text("ccc");
    console->locate(console->cursor_row() - 2, 0);
    console->print_text("Z");
    const Emulator& e = vt();
    EXPECT_EQ(e.line(0), "aaaZaaaaaa");
    EXPECT_EQ(e.line(5), "ccc");
    EXPECT_EQ(e.cursor_y(), 0);
    EXPECT_EQ(e.cursor_x(), 4);
}

TEST_F(TtyRendererTest, LineBreakAfterAnOverwrittenLongerRowGoesPastItsOldText) {
    // The run-time prompt: two long lines, an answer, then the next rows are
    // written over the two prompt lines from their first column.
    start(10);
    console->print_text(std::string(25, 'p'));
    console->print_newline();
    console->print_text(std::string(12, 'q'));
    console->print_newline();
    console->locate(console->cursor_row() - 2, 0);
    console->print_text("row1");
    console->print_newline();
    console->print_text("row2");
    console->print_newline();
    console->print_text("row3");
    const Emulator& e = vt();
    EXPECT_EQ(e.line(0), "row1pppppp");
    EXPECT_EQ(e.line(1), "pppppppppp");
    EXPECT_EQ(e.line(2), "ppppp");
    EXPECT_EQ(e.line(3), "row2qqqqqq");
    EXPECT_EQ(e.line(4), "qq");
    EXPECT_EQ(e.line(5), "row3");
}

TEST_F(TtyRendererTest, RowGrowingOverTextBelowIsDrawnAgain) {
    start(10);
    console->print_text("aaaa");
    console->print_newline();
    console->print_text("bbbb");
    console->print_newline();
    console->locate(console->cursor_row() - 2, 10);
    console->set_color(14, 0);
    console->print_text("0123");
    console->print_newline();
    console->print_text("B");
    const Emulator& e = vt();
    EXPECT_EQ(e.line(0), "aaaa     0");
    EXPECT_EQ(e.line(1), "123");
    EXPECT_EQ(e.line(2), "Bbbb");
    EXPECT_EQ(e.cell(0, 0).fg, 97);  // cells keep their own colours
    EXPECT_EQ(e.cell(1, 0).fg, 93);
    EXPECT_EQ(e.cursor_y(), 2);
    EXPECT_EQ(e.cursor_x(), 1);
}

TEST_F(TtyRendererTest, TextEndingInTheLastTerminalColumnThenLineBreak) {
    start(10, 100);
    console->print_text("0123456789");
    console->print_newline();
    console->print_text("x");
    // The full logical row: the line break after the wrap leaves one empty row.
    console->print_newline();
    console->print_text(std::string(900, 'w'));
    console->print_newline();
    console->print_text("y");
    const Emulator& e = vt();
    EXPECT_EQ(e.line(0), "0123456789");
    EXPECT_EQ(e.line(1), "x");
    EXPECT_EQ(e.line(2 + 89), std::string(10, 'w'));
    EXPECT_EQ(e.line(2 + 90), "");
    EXPECT_EQ(e.line(2 + 91), "y");
}

TEST_F(TtyRendererTest, BackspaceFromColumn1ToTheLastColumnOfTheRowAbove) {
    for (const int width : {100, 80}) {
        SCOPED_TRACE(width);
        start(width, 20);
        terminal->type(std::string(903, 'x') + "\b\b\b\b\r");
        console->read_line();
        console->print_text("E");
        const Emulator& e = vt();
        const int last_line = (899 / width);
        EXPECT_EQ(e.cell(last_line, 899 % width).ch, U' ');
        EXPECT_EQ(e.cell(last_line, 898 % width).ch, U'x');
        // Enter from there goes to the next row, whose echo was blanked.
        EXPECT_EQ(e.line(last_line + 1), "E");
    }
}

TEST_F(TtyRendererTest, ScrollingTerminalAndScreenKeepTheCursorRight) {
    start(10, 8, 6);  // both the logical screen and the terminal scroll
    for (int i = 10; i < 22; ++i) {
        console->print_text("row" + std::to_string(i) + "-longer-than-te");  // two full lines
        console->print_newline();
    }
    console->print_text("abc");
    console->locate(console->cursor_row() - 2, 0);
    console->print_text("Z");
    terminal->flush();
    console->locate(console->cursor_row() + 2, 0);
    console->print_text("!");
    const Emulator& e = vt();
    EXPECT_EQ(e.line(0), "er-than-te");
    EXPECT_EQ(e.line(1), "row19-long");
    EXPECT_EQ(e.line(3), "rowZ0-long");
    EXPECT_EQ(e.line(5), "row21-long");
    EXPECT_EQ(e.line(6), "er-than-te");
    EXPECT_EQ(e.line(7), "abc !");
}

TEST_F(TtyRendererTest, NewWidthAppliesToTheRowsAlreadyDrawn) {
    start(10);
    console->print_text(std::string(15, 'a'));
    terminal->flush();
    terminal->renderer.set_width(5);  // a rewrapping terminal now shows 3 lines
    terminal->emulator = Emulator(5, 10);
    terminal->emulator.feed(std::string(15, 'a'));
    console->print_newline();
    console->print_text("b");
    EXPECT_EQ(vt().line(3), "b");
}

// A terminal that rewraps its rows on resize (xterm.js, tmux) is resized
// after any flush of a few short sessions, one way and back: the rows it then
// holds are the screen's, each on lines of its own. The sessions go on after
// a line's end, jump past a row's end onto a later line, and come back down
// over the wrapped lines of a longer row written over.
TEST_F(TtyRendererTest, EveryRowStaysWholeAcrossResizesBetweenAnyTwoFlushes) {
    using Step = std::function<void(Console&)>;
    const std::string row = "0123456789ABCDEFGHIJKLMN";
    const auto text = [](std::string t) { return [t](Console& c) { c.print_text(t); }; };
    const Step newline = [](Console& c) { c.print_newline(); };
    // Rows and columns from 0 (locate counts from 1).
    const auto jump = [](std::int32_t column, std::string t) {
        return [column, t](Console& c) {
            c.locate(c.cursor_row(), column + 1);
            c.print_text(t);
        };
    };
    const auto up = [](std::int32_t rows) {
        return [rows](Console& c) { c.locate(c.cursor_row() - rows, 1); };
    };
    const auto at = [](std::int32_t row, std::int32_t column) {
        return [row, column](Console& c) { c.locate(row + 1, column + 1); };
    };
    std::vector<Step> a_cell_at_a_time;
    for (const char c : row) a_cell_at_a_time.push_back(text(std::string(1, c)));
    a_cell_at_a_time.insert(a_cell_at_a_time.end(), {newline, text("next")});
    const std::vector<std::vector<Step>> sessions = {
        a_cell_at_a_time,
        {text("abcdefg"), jump(13, "XY"), newline, text("abcdefgh"), jump(12, "Z"), newline,
         text("abcdefghijkl"), jump(24, "W"), newline, text("abc"), jump(24, "V"), newline,
         text("abc"), at(4, 20), text("U")},
        {text(row + row), newline, text(row), newline, up(2), text("short"), newline, text("s"),
         newline, text("third"), up(1), text("t"), newline, text("end"), at(0, 60), text("far")},
    };
    const auto check = [this](const std::string& when) {
        std::vector<std::string> rows;
        const Screen& screen = console->screen();
        for (std::int32_t r = 0; r < screen.rows(); ++r) {
            std::string text(screen.row_text(r));
            text.erase(text.find_last_not_of(' ') + 1);
            rows.push_back(text);
        }
        while (!rows.empty() && rows.back().empty()) rows.pop_back();
        ASSERT_EQ(terminal->emulator.rows(), rows) << when;
    };
    for (std::size_t s = 0; s < sessions.size(); ++s) {
        for (const int from : {5, 12, 23, 24, 25}) {
            for (const int to : {5, 12, 23, 24, 25}) {
                if (from == to) continue;
                for (std::size_t cut = 0; cut < sessions[s].size(); ++cut) {
                    const std::string when = "session " + std::to_string(s) + ", " +
                                             std::to_string(from) + " to " + std::to_string(to) +
                                             " columns after step " + std::to_string(cut);
                    start(from, 24, 24);
                    for (std::size_t i = 0; i < sessions[s].size(); ++i) {
                        sessions[s][i](*console);
                        terminal->flush();
                        if (i == cut) {
                            terminal->emulator.rewrap(to);
                            terminal->renderer.set_width(to);
                            check(when);
                        }
                    }
                    terminal->emulator.rewrap(from);
                    terminal->renderer.set_width(from);
                    check(when + ", and back");
                    if (HasFatalFailure()) return;
                }
            }
        }
    }
}

TEST_F(TtyRendererTest, FinishResetsColoursOnALineOfItsOwn) {
    start(10);
    console->print_text("0123456789ab");
    console->locate(console->cursor_row(), 2);
    console->finish();
    const Emulator& e = terminal->emulator;
    EXPECT_EQ(e.cursor_y(), 2);
    EXPECT_EQ(e.cursor_x(), 0);
    EXPECT_NE(terminal->finished.find("\x1b[0m"), std::string::npos);
}

TEST_F(TtyRendererTest, WrappedLinesOfARowArePaintedInItsBackground) {
    start(20, 5);
    for (int r = 0; r < 6; ++r) console->print_newline();  // the terminal now scrolls
    console->print_text(std::string(45, 'x'));
    const Emulator& e = vt();
    for (int y = 2; y <= 4; ++y) {
        for (int x = 0; x < 20; ++x) EXPECT_EQ(e.cell(y, x).bg, 40) << y << "," << x;
    }
}

}  // namespace
}  // namespace cp
