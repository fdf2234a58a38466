// The permutation search: which start numbers it finds, in which order, the
// rows it prints for them and the keys that work while it runs.
#include <gtest/gtest.h>

#include <vector>

#include "console/strings.hpp"
#include "scripted_terminal.hpp"
#include "search/permutation_search.hpp"

namespace cp {
namespace {

using testing::colour_at;
using testing::row_text;
using testing::ScriptedTerminal;

const std::string kM(1, kMarker);

struct SearchTest : ::testing::Test {
    ScriptedTerminal terminal{false};
    Console console{terminal};
    State state;
    void SetUp() override { console.set_screen_size(900, 16000); }

    std::vector<std::int64_t> search(std::int64_t exponent, std::int32_t sign = 1,
                                     std::int32_t compressed = 0) {
        state.exponent = exponent;
        state.multiplierSign = sign;
        state.compressedMode = compressed;
        run_search(console, state);
        return {state.startNumbers.begin(), state.startNumbers.begin() + (state.lastIndex + 1)};
    }
    std::int64_t count(std::int64_t exponent, std::int32_t sign, std::int32_t compressed) {
        return static_cast<std::int64_t>(search(exponent, sign, compressed).size());
    }
    std::string row(std::int32_t r) const { return row_text(console.screen(), r); }
};

using V = std::vector<std::int64_t>;

TEST_F(SearchTest, FindsTheStartNumbersInWalkOrder) {
    EXPECT_EQ(search(1), V{2});
    EXPECT_EQ(search(4), V{16});
    EXPECT_EQ(search(5), (V{32, 5}));
    EXPECT_EQ(search(8), (V{256, 42, 40, 6}));
    const V seventeen = search(17);
    EXPECT_EQ(seventeen.size(), 36u);
    EXPECT_EQ(V(seventeen.begin(), seventeen.begin() + 5), (V{131072, 21845, 21844, 21840, 21824}));
    EXPECT_EQ(search(4, -1), (V{16, 3}));
    EXPECT_EQ(search(8, -1), (V{256, 43, 44, 48}));
    EXPECT_EQ(search(5, 1, 1), (V{32, 10, 3}));
    EXPECT_EQ(search(5, -1, 1), (V{32, 11, 12}));
}

TEST_F(SearchTest, RowCountsInAllFourModes) {
    const std::vector<std::int64_t> plain = {1, 1,  1,  1,  2,  2,  4,  4,  6,  6,
                                             8, 10, 14, 18, 24, 29, 36, 44, 58, 72};
    for (std::int64_t i = 1; i <= 20; ++i) EXPECT_EQ(count(i, 1, 0), plain[i - 1]) << i;
    struct Row {
        std::int64_t i, plus, plus_k, minus, minus_k;
    };
    for (const Row& r : {Row{10, 6, 12, 7, 10}, Row{20, 72, 211, 65, 186},
                         Row{26, 287, 1187, 264, 1034}, Row{27, 366, 1590, 333, 1383},
                         Row{28, 460, 2122, 421, 1838}, Row{32, 1174, 6682, 1073, 5772}}) {
        EXPECT_EQ(count(r.i, 1, 0), r.plus) << r.i;
        EXPECT_EQ(count(r.i, 1, 1), r.plus_k) << r.i;
        EXPECT_EQ(count(r.i, -1, 0), r.minus) << r.i;
        EXPECT_EQ(count(r.i, -1, 1), r.minus_k) << r.i;
    }
    // Past the table's 1,501 entries every row is still kept.
    search(32, 1, 1);
    EXPECT_EQ(state.lastIndex, 6681);
    EXPECT_EQ(state.startNumbers[0], std::int64_t{1} << 32);
    EXPECT_GT(state.startNumbers[6681], 0);
}

TEST_F(SearchTest, ExponentBelowOneFindsNoRows) {
    EXPECT_TRUE(search(0).empty());
    EXPECT_TRUE(search(-3).empty());
}

TEST_F(SearchTest, RowIsLaidOutColumnByColumn) {
    search(7);
    // Rows 128, 21, 20, 3; row index 2 is the start number 20.
    EXPECT_EQ(row(2),
              "  i.m = 7.1    " + std::string(16, '_') + "20  .." + kM + "...." + kM + " =1 2x");
    EXPECT_EQ(row(0), "  i.m = 7.0    " + std::string(15, '_') + "128  ......." + kM + " =1 0x");
    EXPECT_EQ(row(3), "  i.m = 7.2    " + std::string(17, '_') + "3  " + kM + "." + kM + "...." +
                          kM + " =1 3x");
    const std::string result = row(4);
    EXPECT_EQ(result.substr(0, 39), "    " + kM + " = 1 Wultiplikation      ...      ");
}

TEST_F(SearchTest, RatioHighlightColoursTheStartNumber) {
    state.rowColour = 15;
    search(7);
    const Screen& screen = console.screen();
    for (std::int32_t r : {0, 2}) EXPECT_EQ(colour_at(screen, r, 20), 15) << r;
    for (std::int32_t r : {1, 3}) {
        EXPECT_EQ(colour_at(screen, r, 16), 10) << r;
        EXPECT_EQ(colour_at(screen, r, 35), 10) << r;
        EXPECT_EQ(colour_at(screen, r, 1), 15) << r;   // the label keeps the row colour
        EXPECT_EQ(colour_at(screen, r, 36), 15) << r;  // and so does the pattern
    }
}

TEST_F(SearchTest, MinusRowsCarryTheirNoteAndCompareWithTheLastPlusRow) {
    state.previousStart = 130;  // 130 / 43 = 3
    search(8, -1);
    const std::string note = "  3n-1 statt 3n+1    m an/ab";
    EXPECT_EQ(row(1).substr(row(1).size() - note.size()), note);
    const std::int32_t note_column = static_cast<std::int32_t>(row(1).size() - note.size()) + 3;
    EXPECT_EQ(colour_at(console.screen(), 1, note_column), 13);
    EXPECT_EQ(colour_at(console.screen(), 1, 20), 10);
    EXPECT_EQ(state.previousStart, 130);  // 3n-1 rows never change it
}

TEST_F(SearchTest, CompressedRowsAreLabelledK) {
    search(5, 1, 1);
    EXPECT_EQ(row(1).substr(0, 11), "  k.m = 5.1");
    EXPECT_EQ(row(1).substr(35), "." + kM + "..." + kM + " =1 1x");  // marker at position 2
}

TEST_F(SearchTest, FirstOddLinesInBothVariants) {
    state.firstOddOption = 1;
    search(7);
    EXPECT_EQ(row(1), "              1.ungerade: 63");
    EXPECT_EQ(row(3), "              1.ungerade: 15");
    EXPECT_EQ(row(5), "              1.ungerade: 9");
    EXPECT_EQ(row(6).substr(0, 11), "  i.m = 7.2");
    EXPECT_EQ(state.firstOddOption, 0);  // cleared after the search

    state.firstOddOption = 1;
    const std::int32_t first = console.cursor_row() - 1;
    search(8, -1);
    EXPECT_EQ(row(first + 1), "               43 1.ungerade");
    EXPECT_EQ(row(first + 3), "               11 1.ungerade");
    EXPECT_EQ(row(first + 5), "               3 1.ungerade");
}

TEST_F(SearchTest, ResultLineComparesWithTheSearchBefore) {
    search(17);
    const std::string legend = "    " + kM + " = 1 Wultiplikation      ...      ";
    EXPECT_EQ(row(36), legend + " 35 Dif.= 100 %   0 sek");
    search(16);  // 29 rows after 36: difference 7 of 35
    EXPECT_EQ(row(66), legend + " 7 Dif.= 20 %   0 sek");
    search(2);
    search(3);  // one row after one row: nothing to divide by
    EXPECT_EQ(row(70), legend + " 0 Dif.= 0 %   0 sek");
}

struct RunTimeKeyTest : SearchTest {
    void SetUp() override {
        terminal = ScriptedTerminal{true};
        SearchTest::SetUp();
    }
};

TEST_F(RunTimeKeyTest, DigitSetsThePauseAndLettersDoNothing) {
    terminal.type("5a");
    search(8);
    EXPECT_EQ(terminal.slept_ms(), 3 * 125);  // the three rows after the key
    EXPECT_EQ(state.lastIndex, 3);
    EXPECT_EQ(state.rowPauseMs, 125);
    search(8);  // the next search starts without a pause
    EXPECT_EQ(terminal.slept_ms(), 3 * 125);
}

TEST_F(RunTimeKeyTest, PromptShowsThePauseAndAnEmptyAnswerGoesOn) {
    terminal.type("7 \r");
    terminal.set_key_delay(1);  // every key takes a second to type
    search(8);
    EXPECT_EQ(state.lastIndex, 3);
    // Row 2's prompt lines were overwritten by rows 2 and 3; what is left of
    // the first prompt line beyond the new text stays visible.
    const std::string keys_line = row_text(console.screen(), 2);
    EXPECT_EQ(row(2).substr(0, 11), "  i.m = 8.1");
    EXPECT_NE(keys_line.find("Pausen gewaehlt: 7"), std::string::npos);
    // The second spent on the answer does not count; the pauses and the two
    // keys read during the run do.
    EXPECT_NEAR(state.elapsedSeconds, 3 * 0.245 + 2, 1e-9);
}

TEST_F(RunTimeKeyTest, StopAnswerEndsTheSearchAfterAtMostTheOddSibling) {
    terminal.type("a \x1bx\r");
    search(8);  // 256, 42: stopped at 42, which has no odd sibling
    EXPECT_EQ(state.lastIndex, 1);
    EXPECT_TRUE(state.stopRequest.empty());

    terminal.type("aa,x\r");  // the key after "aa" is ",": a prompt; answer "x"
    search(7);                // stopped at 20: its odd sibling 3 still follows
    EXPECT_EQ(state.lastIndex, 3);
}

TEST_F(RunTimeKeyTest, ResultLineOverwritesThePromptLines) {
    terminal.type(" x\r");
    search(4);
    EXPECT_EQ(state.lastIndex, 0);
    const std::string result = row(1);
    const std::string legend = "    " + kM + " = 1 Wultiplikation      ...       0 Dif.= 0 %";
    EXPECT_EQ(result.substr(0, legend.size()), legend);
    // Beyond the result line's end the old prompt line shows through.
    EXPECT_NE(result.find("gewaehlt: 0"), std::string::npos);
    EXPECT_EQ(row(2).substr(0, 23), "          Eingabe hier:");
    EXPECT_EQ(console.cursor_row(), 3);
}

TEST_F(RunTimeKeyTest, EndOfInputAtThePromptStopsTheSearch) {
    terminal.type(" ");
    search(20);
    EXPECT_TRUE(console.input_ended());
    EXPECT_EQ(state.lastIndex, 0);
}

}  // namespace
}  // namespace cp
