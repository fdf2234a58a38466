// The command loop: how each typed line turns into the next exponent, an option
// or the end of the program.
#include <gtest/gtest.h>

#include "console/strings.hpp"
#include "driver/program.hpp"
#include "scripted_terminal.hpp"

namespace cp {
namespace {

using testing::colour_at;
using testing::row_text;
using testing::ScriptedTerminal;

struct DriverTest : ::testing::Test {
    ScriptedTerminal terminal{false};
    Console console{terminal};
    State state;

    void SetUp() override {
        terminal.type("\r");  // past the start table
        console_start();
    }
    // Start-up up to the first prompt, as the program runs it.
    void console_start() {
        // run_program would loop until the keys run out; do its start by hand
        // through one pass with no command keys left.
        run_program(console, state);
        ASSERT_TRUE(console.input_ended());
        // A fresh console for the commands, with the state the start-up left.
        terminal = ScriptedTerminal{false};
        console_.emplace(terminal);
        console_->set_screen_size(900, 16000);
    }
    bool enter(const std::string& line) {
        terminal.type(line + "\r");
        return run_command(*console_, state);
    }
    std::int32_t beeps() const { return terminal.beeps(); }
    std::optional<Console> console_;
};

TEST_F(DriverTest, StartUpSearchesSeventeen) {
    EXPECT_EQ(state.exponent, 17);
    EXPECT_EQ(state.previousExponent, 17);
    EXPECT_EQ(state.lastIndex, 35);
    EXPECT_EQ(state.previousLastIndex, 35);
}

TEST_F(DriverTest, QuitInAnyCaseAndSpacingButNotQuit) {
    EXPECT_TRUE(enter("QUIT"));
    EXPECT_EQ(state.exponent, 18);
    terminal.type(" q \rx");
    EXPECT_FALSE(run_command(*console_, state));
    EXPECT_EQ(terminal.keys_left(), 0u);  // the key after "Q" was taken
    EXPECT_FALSE(enter("Q"));
}

TEST_F(DriverTest, NumbersFieldsAndRounding) {
    enter("5,7");
    EXPECT_EQ(state.exponent, 5);
    enter("2.5");
    EXPECT_EQ(state.exponent, 2);
    enter("3.5");
    EXPECT_EQ(state.exponent, 4);
}

TEST_F(DriverTest, EnterStepsUpToThirtyTwoThenWrapsToTenWithABeep) {
    for (std::int64_t i = 18; i <= 32; ++i) {
        enter("");
        EXPECT_EQ(state.exponent, i);
    }
    EXPECT_EQ(beeps(), 0);
    enter("");
    EXPECT_EQ(state.exponent, 10);
    EXPECT_EQ(beeps(), 1);
}

TEST_F(DriverTest, DirectionReversesWithXAndTurnsAtTwo) {
    enter("20");
    enter("X");
    EXPECT_EQ(state.exponent, 19);
    enter("");
    EXPECT_EQ(state.exponent, 18);
    enter("3");
    enter("");
    EXPECT_EQ(state.exponent, 2);
    enter("");
    EXPECT_EQ(state.exponent, 3);
    enter("");
    EXPECT_EQ(state.exponent, 4);
}

TEST_F(DriverTest, OptionLettersRepeatTheLastExponent) {
    enter("12");
    enter("K");
    EXPECT_EQ(state.exponent, 12);
    EXPECT_EQ(state.compressedMode, 1);
    EXPECT_EQ(state.rowColour, 14);
    enter("X");  // 11, now stepping down
    enter("K");
    EXPECT_EQ(state.exponent, 9);
    EXPECT_EQ(state.compressedMode, 0);
    EXPECT_EQ(state.rowColour, 15);
    enter("M");
    EXPECT_EQ(state.exponent, 7);
    EXPECT_EQ(state.multiplierSign, -1);
    enter("Z");
    EXPECT_EQ(state.exponent, 5);
    EXPECT_EQ(state.firstOddOption, 0);  // it served the search for 5
    enter("B");
    EXPECT_EQ(state.exponent, 4);
    EXPECT_EQ(state.beepOption, 1);
    EXPECT_EQ(beeps(), 1);
    enter("B");
    EXPECT_EQ(beeps(), 1);
}

TEST_F(DriverTest, JTogglesTheShorteningWithoutASearch) {
    const std::int32_t row = console_->cursor_row();
    enter("J");
    EXPECT_EQ(state.showAllRows, 1);
    EXPECT_EQ(state.exponent, 17);
    // Only the prompt's line and the explorer's line break: no rows, no result line.
    EXPECT_EQ(console_->cursor_row(), row + 2);
    enter("J");
    EXPECT_EQ(state.showAllRows, 0);
}

TEST_F(DriverTest, OutOfRangeExponentsBecomeTenWithABeep) {
    enter("40");
    EXPECT_EQ(state.exponent, 10);
    EXPECT_EQ(beeps(), 1);
    enter("32");
    enter("7");
    EXPECT_EQ(state.exponent, 10);
    EXPECT_EQ(beeps(), 2);
    enter("-3");
    EXPECT_EQ(state.exponent, 10);
    EXPECT_EQ(beeps(), 3);
    enter("12345678901234567890123");  // cut to 17 characters, still too large
    EXPECT_EQ(state.exponent, 10);
    EXPECT_EQ(beeps(), 4);
    enter("1");
    enter("X");  // 1 + (-1) = 0 steps: refused like the others
    EXPECT_EQ(state.exponent, 10);
    EXPECT_EQ(beeps(), 5);
}

TEST_F(DriverTest, KFromOneSteppingDownSearchesTenCompressed) {
    enter("X");  // 16, stepping down
    enter("1");
    enter("K");
    EXPECT_EQ(state.exponent, 10);
    EXPECT_EQ(state.compressedMode, 1);
    EXPECT_EQ(beeps(), 1);
}

TEST_F(DriverTest, ListingLettersStepOnWhileCompressed) {
    enter("K");
    enter("F");
    EXPECT_EQ(state.exponent, 18);
    EXPECT_EQ(state.compressedMode, 1);
}

TEST_F(DriverTest, TextScreenThenElevenInPlusMode) {
    enter("M");
    ASSERT_EQ(state.multiplierSign, -1);
    enter("t");
    EXPECT_EQ(state.exponent, 11);
    EXPECT_EQ(state.multiplierSign, 1);
    EXPECT_EQ(row_text(console_->screen(), 0), "");
    // The text screen's first lines take the prompt's colour of 3n-1.
    EXPECT_EQ(colour_at(console_->screen(), 1, 3), 13);
}

TEST_F(DriverTest, PromptColoursAndTheNextLineAfterF) {
    const std::int32_t row = console_->cursor_row() - 1;
    terminal.type("F\r");
    run_command(*console_, state);
    run_command(*console_, state);  // the prompt after "F"; the input then ends
    const Screen& screen = console_->screen();
    EXPECT_EQ(row_text(screen, row),
              "                 Q=Quitt  T=Text+clear  ENTER: stop/go  "
              "Eingabe i (max 32) F");
    EXPECT_EQ(colour_at(screen, row, 18), 14);
    const std::int32_t after = console_->cursor_row() - 1;
    // The listing ends with its duration; the NeXT line follows on the same row.
    EXPECT_EQ(row_text(screen, after - 1),
              " 0 Sek.   NeXT: F=Folgen, liefert zAHLENWERTE des letzten permutierten Feldes 2^17");
    EXPECT_EQ(colour_at(screen, after - 1, 11), 10);
}

TEST_F(DriverTest, LongAndOddLinesAreCommandsLikeAnyOther) {
    enter(std::string(12000, '5'));  // read up to its limit: a huge number
    EXPECT_EQ(state.exponent, 10);
    enter(",,,,");
    EXPECT_EQ(state.exponent, 11);
    enter("\"\"\"");
    EXPECT_EQ(state.exponent, 12);
    EXPECT_EQ(state.command, "");
    enter("abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(state.command, "ABCDEFGHIJKLMNOPQ");
}

}  // namespace
}  // namespace cp
