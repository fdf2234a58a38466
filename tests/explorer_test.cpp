// The sequence explorer through the scripted terminal: what each request shows,
// in which colours, and how runs that would never reach 1 end.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "console/console.hpp"
#include "console/strings.hpp"
#include "driver/state.hpp"
#include "explorer/sequence_explorer.hpp"
#include "explorer/sequence_value.hpp"
#include "explorer/value_set.hpp"
#include "scripted_terminal.hpp"

namespace cp {
namespace {

using testing::colour_at;
using testing::row_text;
using testing::ScriptedTerminal;

// "■" in an expected text stands for the marker character.
std::string marked(std::string_view text) {
    std::string out;
    constexpr std::string_view kSquare = "\u25A0";
    for (std::size_t i = 0; i < text.size();) {
        if (text.substr(i, kSquare.size()) == kSquare) {
            out += kMarker;
            i += kSquare.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

constexpr std::string_view kOddRunNote =
    "  REKURSIVE BERECHNUNG (mit Kompression!) ...gilt von abzaehlbar UNENDLICH bis zu EINS";

struct ExplorerTest : ::testing::Test {
    ScriptedTerminal terminal;
    Console console{terminal};
    State state;
    std::int32_t first_row = 0;  // where the output of the last request begins

    void SetUp() override {
        console.set_screen_size(900, 2000);
        state.exponent = 17;
    }
    const Screen& screen() const { return console.screen(); }

    // As the command loop hands a typed line over.
    bool request(std::string_view line, std::int32_t sign = +1) {
        state.multiplierSign = sign;
        state.command = substring(upper_keys(line), 1, 17);
        state.zeroCommand = state.command == "0" ? 1 : 0;
        first_row = screen().cursor_row() + 1;
        return explore_sequence(console, state);
    }
    // The rows the request wrote, up to (not including) the cursor row.
    std::vector<std::string> rows() const {
        std::vector<std::string> out;
        for (std::int32_t r = first_row; r < screen().cursor_row(); ++r)
            out.push_back(row_text(screen(), r));
        return out;
    }
    std::string row(std::int32_t i) const { return row_text(screen(), first_row + i); }
    std::int32_t colour(std::int32_t i, std::int32_t column) const {
        return colour_at(screen(), first_row + i, column);
    }
    // The run's values up to its summary, on one line again.
    std::string sequence() const {
        std::string all;
        const std::vector<std::string> lines = rows();
        for (std::size_t i = 0; i + 2 < lines.size(); ++i) all += lines[i];
        return all;
    }
    std::string summary() const {
        const std::vector<std::string> lines = rows();
        return lines.size() >= 2 ? lines[lines.size() - 2] : std::string();
    }
};

// --- Plain runs, labels and colours ---------------------------------------

TEST_F(ExplorerTest, ASetsTwentyFourAndLowersTheExponent) {
    state.defaultStart = 99;
    EXPECT_TRUE(request("A"));
    EXPECT_EQ(rows(), (std::vector<std::string>{"= 24 12 6 3 10 5 16 8 4 2 1",
                                                marked(" ■ 10x 2■        Ca = 24"), ""}));
    EXPECT_EQ(state.exponent, 16);
    EXPECT_EQ(state.defaultStart, 24);
}

TEST_F(ExplorerTest, CStartsAtOneHundredMillion) {
    EXPECT_TRUE(request("c"));
    EXPECT_EQ(row(0).substr(0, 26), "= 100000000 50000000 25000");
    EXPECT_EQ(state.defaultStart, 100000000);
    EXPECT_EQ(state.exponent, 16);
}

TEST_F(ExplorerTest, OtherCommandsBeginningWithAUseDefaultStartAsItIs) {
    state.defaultStart = 6;
    EXPECT_TRUE(request("A5"));
    EXPECT_EQ(row(0), "= 6 3 10 5 16 8 4 2 1");
    EXPECT_EQ(state.exponent, 17);
    EXPECT_EQ(state.defaultStart, 6);
}

TEST_F(ExplorerTest, PlainRunOfSevenWithLabelColoursAndSummary) {
    EXPECT_TRUE(request("007"));
    EXPECT_EQ(row(0), " *00  3n +-1  = 7 22 11 34 17 52 26 13 40 20 10 5 16 8 4 2 1");
    EXPECT_EQ(summary(), marked(" ■ 16x 4■        Ca = 7"));
    EXPECT_EQ(colour(0, 1), 10);              // label
    EXPECT_EQ(colour(0, 15), 15);             // "=" in the row colour: 7 is odd
    EXPECT_EQ(colour(0, 17), 15);             // 7
    EXPECT_EQ(colour(0, 19), 9);              // 22
    EXPECT_EQ(colour(0, 22), 15);             // 11
    EXPECT_EQ(colour(0, row(0).size()), 15);  // the final 1
    EXPECT_EQ(colour(1, 2), 15);              // the summary's marker
    EXPECT_EQ(colour(1, 20), 15);             // "Ca ="
    EXPECT_EQ(state.defaultStart, 7);
    EXPECT_EQ(state.command, "007");
}

TEST_F(ExplorerTest, RowColourFourteenAndAnEvenStart) {
    state.rowColour = 14;
    EXPECT_TRUE(request("0012"));
    EXPECT_EQ(row(0), " *00  3n +-1  = 12 6 3 10 5 16 8 4 2 1");
    EXPECT_EQ(colour(0, 15), 11);  // "=" light cyan: 12 is even
    EXPECT_EQ(colour(0, 17), 11);
    EXPECT_EQ(colour(0, 22), 14);  // 3
    EXPECT_EQ(colour(1, 2), 14);
}

TEST_F(ExplorerTest, ThreeNMinusOneSummaryHasTheLegend) {
    EXPECT_TRUE(request("A", -1));
    EXPECT_EQ(rows(),
              (std::vector<std::string>{"= 24 12 6 3 8 4 2 1",
                                        marked(" ■ 7x 1■ NEU /  Schleife= ■        Ca = 24"), ""}));
    const std::string line = summary();
    EXPECT_EQ(colour(1, 10), 12);  // the legend
    EXPECT_EQ(colour(1, static_cast<std::int32_t>(line.find("Ca")) + 1), 15);
}

TEST_F(ExplorerTest, ZeroShowsTheCompactForm) {
    EXPECT_TRUE(request("0"));
    EXPECT_EQ(rows(),
              (std::vector<std::string>{"= 24..3.5....1", marked(" ■ 2x ■        Ca = 24"), ""}));
    EXPECT_EQ(colour(0, 6), 9);   // a dot
    EXPECT_EQ(colour(0, 7), 15);  // 3
}

TEST_F(ExplorerTest, SuccessorAndCompressedSteps) {
    EXPECT_TRUE(request("777"));
    EXPECT_EQ(row(0), " *77  (n +-1) = 7 8 4 2 1");
    state.compressedMode = 1;
    EXPECT_TRUE(request("007"));
    EXPECT_EQ(row(0), " *00  3n +-1  = 7 11 17 26 13 20 10 5 8 4 2 1");
    EXPECT_EQ(summary(), marked(" ■ 11x 4■        Ca = 7"));
    EXPECT_TRUE(request("779"));
    EXPECT_EQ(row(0), " *77  (n +-1) = 9 5 3 2 1");
}

TEST_F(ExplorerTest, StartValueOneStillTakesItsFirstStep) {
    EXPECT_TRUE(request("001"));
    EXPECT_EQ(row(0), " *00  3n +-1  = 1 4 2 1");
    EXPECT_EQ(summary(), marked(" ■ 3x 0■        Ca = 1"));
}

TEST_F(ExplorerTest, CommandsThatAreNoRequestGetOnlyALineBreak) {
    for (std::string_view line : {"12", "J", "K", "", "G", "QUIT"}) {
        const std::int32_t before = screen().cursor_row();
        EXPECT_FALSE(request(line)) << line;
        EXPECT_EQ(screen().cursor_row(), before + 1) << line;
        EXPECT_EQ(row_text(screen(), before), "") << line;
        EXPECT_EQ(state.command, upper_keys(line));
    }
    EXPECT_EQ(state.defaultStart, 24);
    EXPECT_EQ(console.cursor_column(), 1);
    EXPECT_EQ(screen().foreground(), 11);  // 24 is even
}

TEST_F(ExplorerTest, EntryCodesReadTheirNumberAfterTheCode) {
    EXPECT_TRUE(request("0012.5"));
    EXPECT_EQ(row(0).substr(0, 19), " *00  3n +-1  = 12 ");
    EXPECT_TRUE(request("00ABC"));  // no number: defaultStart
    EXPECT_EQ(row(0).substr(0, 19), " *00  3n +-1  = 12 ");
    EXPECT_EQ(state.command, "00ABC");
    EXPECT_TRUE(request("77-5"));  // "00-5" reads 0
    EXPECT_EQ(row(0).substr(0, 19), " *77  (n +-1) = 12 ");
}

// --- Line wrapping ---------------------------------------------------------

TEST_F(ExplorerTest, LinesBreakAfterTheFirstValueReachingColumnNinety) {
    EXPECT_TRUE(request("0027"));
    const std::vector<std::string> lines = rows();
    ASSERT_GT(lines.size(), 4u);
    for (std::size_t i = 0; i + 3 < lines.size(); ++i) {
        const std::string& line = lines[i];
        EXPECT_GE(line.size(), 90u) << line;
        const std::size_t last_value = line.rfind(' ');
        EXPECT_LE(last_value, 89u) << line;  // the value before ended in column 89 or less
    }
    EXPECT_EQ(summary(), marked(" ■ 111x 40■        Ca = 27"));
}

TEST_F(ExplorerTest, ValueEndingInColumnEightyNineDoesNotBreakOneInNinetyDoes) {
    state.defaultStart = 59;  // 10 ends in column 89, 5 in column 91
    EXPECT_TRUE(request("A1"));
    EXPECT_EQ(row(0),
              "= 59 178 89 268 134 67 202 101 304 152 76 38 19 58 29 88 44 22 11 34 17 52 26 13 40 "
              "20 10 5");
    EXPECT_EQ(row(1), " 16 8 4 2 1");
    state.defaultStart = 39;  // 40 ends in column 90
    EXPECT_TRUE(request("A1"));
    EXPECT_EQ(
        row(0),
        "= 39 118 59 178 89 268 134 67 202 101 304 152 76 38 19 58 29 88 44 22 11 34 17 52 26 "
        "13 40");
    EXPECT_EQ(row(1), " 20 10 5 16 8 4 2 1");
}

// --- "66" -------------------------------------------------------------------

TEST_F(ExplorerTest, CompressedOddRun) {
    state.loopHistory[0] = 77;
    EXPECT_TRUE(request("667"));
    EXPECT_EQ(rows(), (std::vector<std::string>{
                          " *66 komprimierte COLLATZ 3n+1. Fuer 3n-1 bitte permutierte Startwerte "
                          "nutzen oder 88, 99 ENTER !",
                          "= 7 13 5 1", marked(" ■ 3x ■") + std::string(kOddRunNote), ""}));
    EXPECT_EQ(colour(0, 2), 14);
    EXPECT_EQ(colour(1, 5), 15);
    EXPECT_EQ(colour(2, 2), 14);
    EXPECT_EQ(state.defaultStart, 24);  // untouched
    EXPECT_EQ(state.loopHistory[0], 77);

    EXPECT_TRUE(request("6616"));
    EXPECT_EQ(row(1), "= 16");
    EXPECT_EQ(row(2), marked(" ■ 4x ■") + std::string(kOddRunNote));
    state.compressedMode = 1;  // ignored by "66"
    EXPECT_TRUE(request("6627"));
    EXPECT_EQ(row(1).substr(0, 26), "= 27 31 121 91 103 175 445");
}

// --- Guard list -------------------------------------------------------------

TEST_F(ExplorerTest, GuardListReplacesCycleStartsInThreeNMinusOne) {
    EXPECT_TRUE(request("005", -1));
    EXPECT_EQ(terminal.beeps(), 1);
    EXPECT_EQ(row(0).substr(0, 36), marked(" *00  3n +-1  = 5 ■ 333333333333332 "));
    EXPECT_EQ(colour(0, 18), 12);
    EXPECT_EQ(colour(0, 19), 12);
    EXPECT_EQ(state.defaultStart, 111111111111111);
    EXPECT_NE(summary().find("Ca = 111111111111111"), std::string::npos);

    for (std::int64_t start : {7, 16, 17, 25, 34, 37, 41, 61, 91}) {
        EXPECT_TRUE(request("00" + std::to_string(start), -1));
        EXPECT_EQ(state.defaultStart, 111111111111111) << start;
    }
    EXPECT_TRUE(request("00555555555555555", -1));
    EXPECT_EQ(state.defaultStart, 111111111111111);
    EXPECT_EQ(terminal.beeps(), 11);
    // Not in 3n+1.
    EXPECT_TRUE(request("005"));
    EXPECT_EQ(terminal.beeps(), 11);
    EXPECT_EQ(state.defaultStart, 5);
}

// --- "88" and "99" ----------------------------------------------------------

TEST_F(ExplorerTest, NextCandidatesInThreeNMinusOne) {
    EXPECT_TRUE(request("88", -1));
    const std::string line = marked(
        " *88 x? Wert +1 = 24 ■ 25 74 ■ 26 14 ■ 27 20 ■ 28 14 ■ 29 86 43 128 64 32 16 8 4 2 1");
    EXPECT_EQ(row(0), line);
    EXPECT_EQ(summary(), marked(" ■ 9x 1■ NEU /  Schleife= ■        Ca = 29"));
    const auto at = [&](std::string_view text) {
        return static_cast<std::int32_t>(line.find(marked(text))) + 1;
    };
    EXPECT_EQ(colour(0, at("■ 25")), 12);
    EXPECT_EQ(colour(0, at(" 25") + 1), 15);  // candidates in the row colour
    EXPECT_EQ(colour(0, at(" 74") + 1), 12);  // repeats in red
    EXPECT_EQ(colour(0, at(" 20 ") + 1), 12);
    EXPECT_EQ(colour(0, at(" 86") + 1), 9);
    EXPECT_EQ(state.defaultStart, 29);

    EXPECT_TRUE(request("88", -1));
    EXPECT_EQ(row(0), marked(" *88 x? Wert +1 = 29 ■ 30 15 44 22 11 32 16 8 4 2 1"));
    EXPECT_EQ(state.defaultStart, 30);

    // Compressed, the check still takes plain steps; only the run shown halves.
    state.compressedMode = 1;
    state.defaultStart = 24;
    EXPECT_TRUE(request("88", -1));
    EXPECT_EQ(
        row(0),
        marked(" *88 x? Wert +1 = 24 ■ 25 74 ■ 26 14 ■ 27 20 ■ 28 14 ■ 29 43 64 32 16 8 4 2 1"));
}

TEST_F(ExplorerTest, NextCandidateInThreeNPlusOneIsTakenAtOnce) {
    EXPECT_TRUE(request("88123"));  // the typed number is shown, not used
    EXPECT_EQ(row(0), marked(" *88 x? Wert +1 = 123 ■ 25 76 38 19 58 29 88 44 22 11 34 17 52 26 "
                             "13 40 20 10 5 16 8 4 2 1"));
    EXPECT_EQ(summary(), marked(" ■ 22x 6■        Ca = 25"));
}

TEST_F(ExplorerTest, RandomCandidatesWithAFixedSeed) {
    state.random.randomize(1234);
    RandomGenerator copy = state.random;
    const std::int64_t first =
        2 * static_cast<std::int64_t>(copy.random_between(10000000, 1000000000)) + 1;
    EXPECT_TRUE(request("99"));
    const std::string expected = marked(" *99 x? ZUFALL ■ ") + std::to_string(first) + " ";
    EXPECT_EQ(row(0).substr(0, expected.size()), expected);
    EXPECT_EQ(state.defaultStart, first);
    EXPECT_EQ(summary().substr(summary().find("Ca")), "Ca = " + std::to_string(first));
}

TEST_F(ExplorerTest, RandomCandidatesInThreeNMinusOneUntilOneReachesOne) {
    state.random.randomize(7);
    RandomGenerator copy = state.random;
    const auto draw = [&] {
        return std::to_string(
            2 * static_cast<std::int64_t>(copy.random_between(10000000, 1000000000)) + 1);
    };
    const std::string rejected = draw();
    const std::string taken = draw();
    EXPECT_TRUE(request("99", -1));
    // The first candidate runs into the cycle through 5 and shows its repeat, 20.
    const std::string expected = marked(" *99 x? ZUFALL ■ " + rejected + " 20 ■ " + taken + " ");
    EXPECT_EQ(row(0).substr(0, expected.size()), expected);
    EXPECT_EQ(colour(0, static_cast<std::int32_t>(rejected.size()) + 19), 12);  // 20
    EXPECT_EQ(state.defaultStart, std::stoll(taken));
    std::int64_t v = state.defaultStart;
    for (int steps = 0; v != 1; ++steps) {
        ASSERT_LT(steps, 100000);
        v = v % 2 == 0 ? v / 2 : 3 * v - 1;
    }
    EXPECT_NE(summary().find("Ca = " + taken), std::string::npos);
}

TEST_F(ExplorerTest, NextCandidatesBelowOneGoOnAtOne) {
    state.defaultStart = -5;
    EXPECT_TRUE(request("88", -1));
    EXPECT_EQ(row(0), marked(" *88 x? Wert +1 =-5 ■-4-2 ■ 1 2 1"));
    EXPECT_EQ(summary(), marked(" ■ 1x 0■ NEU /  Schleife= ■        Ca = 1"));

    // The largest value plus one wraps to the most negative one.
    state.defaultStart = std::numeric_limits<std::int64_t>::max();
    EXPECT_TRUE(request("88", -1));
    EXPECT_EQ(row(0),
              marked(" *88 x? Wert +1 = 9.22337203685478E+18 ■-9.22337203685478E+18-4 ■ 1 2 1"));
}

// --- "75" -------------------------------------------------------------------

TEST_F(ExplorerTest, RandomOddValuesReplaceEveryOddValue) {
    state.random.randomize(99);
    EXPECT_TRUE(request("7524"));
    const std::string all = sequence();
    EXPECT_EQ(all.substr(0, 30), marked(" *75 purer ZUFALL= 24 12 6 3 ■"));
    // After each marker: 3r+1 for an odd r from 7 to 401.
    std::size_t markers = 0;
    for (std::size_t at = all.find(kMarker); at != std::string::npos;
         at = all.find(kMarker, at + 1)) {
        ++markers;
        const std::int64_t v = std::stoll(all.substr(at + 1));
        EXPECT_EQ((v - 1) % 3, 0) << v;
        const std::int64_t r = (v - 1) / 3;
        EXPECT_TRUE(r >= 7 && r <= 401 && r % 2 == 1) << v;
    }
    EXPECT_GE(markers, 1u);
    EXPECT_EQ(all.substr(all.size() - 2), " 1");
}

// --- Runs that would never reach 1 ------------------------------------------

TEST_F(ExplorerTest, CyclesOfThreeNMinusOneEndWithARepeat) {
    EXPECT_TRUE(request("0010", -1));
    EXPECT_EQ(row(0), marked(" *00  3n +-1  = 10 5 14 7 20 10 ■"));
    EXPECT_EQ(summary(), marked(" ■ 5x 1■ NEU /  Schleife= ■        Ca = 10"));
    EXPECT_EQ(colour(0, 30), 9);   // the repeated 10 in its parity colour
    EXPECT_EQ(colour(0, 32), 12);  // then the red marker
    EXPECT_EQ(colour(0, 33), 12);
    EXPECT_EQ(colour(1, 2), 15);  // the summary in the row colour again

    EXPECT_TRUE(request("0014", -1));
    EXPECT_EQ(row(0), marked(" *00  3n +-1  = 14 7 20 10 5 14 ■"));
    EXPECT_TRUE(request("0020", -1));
    EXPECT_EQ(row(0), marked(" *00  3n +-1  = 20 10 5 14 7 20 ■"));
    // The long cycle through 17, from a member outside the guard list.
    EXPECT_TRUE(request("0068", -1));
    EXPECT_EQ(row(0), marked(" *00  3n +-1  = 68 34 17 50 25 74 37 110 55 164 82 41 122 61 182 91 "
                             "272 136 68 ■"));
}

TEST_F(ExplorerTest, ZeroAndNegativeValues) {
    // n + s from 1 in 3n-1 is 0: then the history's repeat of 0 and its odd step.
    EXPECT_TRUE(request("771", -1));
    EXPECT_EQ(row(0), marked(" *77  (n +-1) = 1 0 ■-1-2-1 ■"));
    EXPECT_EQ(summary(), marked(" ■ 4x-1■ NEU /  Schleife= ■        Ca = 1"));

    state.defaultStart = 0;
    EXPECT_TRUE(request("A0"));  // the odd step after the repeat of 0 reaches 1
    EXPECT_EQ(row(0), marked("= 0 0 ■ 1"));
    EXPECT_EQ(summary(), marked(" ■ 2x 0■        Ca = 0"));

    EXPECT_TRUE(request("A0", -1));
    EXPECT_EQ(row(0), marked("= 0 0 ■-1-4-2-1 ■"));

    // Compressed, the odd step after the repeat gives 0 again.
    state.compressedMode = 1;
    EXPECT_TRUE(request("A0"));
    EXPECT_EQ(row(0), marked("= 0 0 ■ 0 ■"));
    EXPECT_EQ(summary(), marked(" ■ 2x-1■        Ca = 0"));
    state.compressedMode = 0;

    // A typed number too large for 64 bits stores the most negative value.
    EXPECT_TRUE(request("001E19"));
    const std::string all = sequence();
    EXPECT_EQ(all.substr(0, 57), " *00  3n +-1  =-9.22337203685478E+18-4.61168601842739E+18");
    EXPECT_EQ(all.substr(all.size() - 8), marked("-2-1-2 ■"));
    EXPECT_EQ(summary(), marked(" ■ 64x-1■        Ca =-9.22337203685478E+18"));
}

TEST_F(ExplorerTest, CompressedOddRunsThatNeverReachOne) {
    EXPECT_TRUE(request("661", -1));
    EXPECT_EQ(row(1), "= 1");
    EXPECT_EQ(row(2), marked(" ■ 0x ■") + std::string(kOddRunNote));
    EXPECT_EQ(rows().size(), 4u);

    EXPECT_TRUE(request("6610", -1));
    EXPECT_EQ(row(1), marked("= 10 10 ■"));
    EXPECT_EQ(row(2), marked(" ■ 2x ■") + std::string(kOddRunNote));

    state.defaultStart = 0;
    EXPECT_TRUE(request("66"));
    EXPECT_EQ(row(1), marked("= 0 0 ■"));
}

// --- Large values -------------------------------------------------------------

TEST_F(ExplorerTest, FifteenAndMoreDigitStartValues) {
    EXPECT_TRUE(request("00999999999999999"));
    EXPECT_EQ(row(0).substr(0, 43), " *00  3n +-1  = 999999999999999 3E+15 1.5E+");
    // A typed entry is cut to 17 characters: longer start values come from defaultStart.
    EXPECT_TRUE(request("001234567890123456"));
    EXPECT_EQ(state.defaultStart, 123456789012345);
    state.defaultStart = 1234567890123456;
    EXPECT_TRUE(request("00"));
    EXPECT_EQ(row(0).substr(0, 37), " *00  3n +-1  = 1.23456789012346E+15 ");
    EXPECT_EQ(state.defaultStart, 1234567890123456);
    EXPECT_EQ(summary().substr(summary().find("Ca")), "Ca = 1.23456789012346E+15");
}

TEST_F(ExplorerTest, ValuesPastSixtyFourBitsStayExact) {
    // 8528817511 peaks at 18144594937356598024, above 2^63.
    EXPECT_TRUE(request("008528817511"));
    std::string all = sequence();
    EXPECT_NE(all.find(" 1.81445949373566E+19 "), std::string::npos);
    EXPECT_EQ(all.find('-', 14), std::string::npos);  // after the label
    EXPECT_EQ(all.find(kMarker), std::string::npos);
    EXPECT_EQ(summary(), marked(" ■ 726x 267■        Ca = 8528817511"));

    // 1980976057694848447 peaks near 2^126.
    state.defaultStart = 1980976057694848447;
    EXPECT_TRUE(request("00"));
    all = sequence();
    EXPECT_NE(all.find(" 6.40246673221931E+37 "), std::string::npos);
    EXPECT_EQ(all.find('-', 14), std::string::npos);  // after the label
    EXPECT_EQ(all.find(kMarker), std::string::npos);
    EXPECT_EQ(summary(), marked(" ■ 1475x 546■        Ca = 1.98097605769485E+18"));
}

TEST(SequenceValue, OddStepsThatLeaveOneHundredTwentyEightBits) {
    const SequenceValue max = std::numeric_limits<SequenceValue>::max();
    const SequenceValue near = max / 3 + 1;  // odd: 3n + 1 no longer fits
    OddStep step = odd_step(near, 3, 1, false);
    EXPECT_FALSE(step.fits);
    EXPECT_FALSE(step.positive_odd);  // 3 * odd + 1 is even
    EXPECT_GT(step.approximate, 1.7e38);
    step = odd_step(max / 3 - 1, 3, 1, false);
    EXPECT_TRUE(step.fits);
    step = odd_step(-near, 3, -1, true);
    EXPECT_FALSE(step.fits);
    EXPECT_LT(step.approximate, -8e37);
    EXPECT_EQ(halve_to_even(1), 0);
    EXPECT_EQ(halve_to_even(3), 2);
    EXPECT_EQ(halve_to_even(-1), 0);
    EXPECT_EQ(halve_to_even(-3), -2);
    EXPECT_EQ(halve_to_even(-8), -4);
}

TEST(ValueSet, RemembersValuesAcrossGrowthUntilCleared) {
    ValueSet set;
    const SequenceValue big = static_cast<SequenceValue>(1) << 100;
    for (std::int64_t i = 0; i < 5000; ++i) {
        EXPECT_TRUE(set.insert(big + i));
        EXPECT_TRUE(set.insert(-i));
    }
    EXPECT_FALSE(set.insert(0));
    EXPECT_FALSE(set.insert(big + 4999));
    EXPECT_TRUE(set.contains(-4999));
    EXPECT_FALSE(set.contains(big - 1));
    EXPECT_EQ(set.size(), 10000u);
    set.clear();
    EXPECT_FALSE(set.contains(0));
    EXPECT_EQ(set.size(), 0u);
    EXPECT_TRUE(set.insert(big));
}

}  // namespace
}  // namespace cp
