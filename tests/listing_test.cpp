// "F", "D" and "G": the listing of the last search, row by row and cell by cell.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "console/console.hpp"
#include "driver/listing.hpp"
#include "driver/state.hpp"
#include "scripted_terminal.hpp"

namespace cp {
namespace {

using testing::colour_at;
using testing::row_text;
using testing::ScriptedTerminal;

constexpr std::int32_t kFirstTableRow = 6;  // after the line break, 4 header lines, an empty line

struct ListingTest : ::testing::Test {
    ScriptedTerminal terminal;
    Console console{terminal};
    State state;

    void SetUp() override { console.set_screen_size(900, 400); }
    const Screen& screen() const { return console.screen(); }

    void table(std::int64_t exponent, std::int32_t sign, const std::vector<std::int64_t>& starts) {
        state.exponent = exponent;
        state.multiplierSign = sign;
        for (std::size_t k = 0; k < starts.size(); ++k) state.startNumbers[k] = starts[k];
        state.lastIndex = static_cast<std::int64_t>(starts.size()) - 1;
    }
    void list(const char* form) {
        state.command = form;
        list_last_search(console, state);
    }
    std::string table_row(std::int32_t k) const { return row_text(screen(), kFirstTableRow + k); }
    // The terms after the 24-character row head.
    std::string terms(std::int32_t k) const { return table_row(k).substr(24); }
    // Row heads' middle field: the index k each table row shows.
    std::vector<std::int64_t> listed_indices() const {
        std::vector<std::int64_t> out;
        for (std::int32_t r = kFirstTableRow; r < screen().cursor_row() - 1; ++r) {
            const std::string text = row_text(screen(), r);
            if (text.size() > 10 && text[0] != ' ') out.push_back(std::stoll(text.substr(5, 5)));
        }
        return out;
    }
};

TEST_F(ListingTest, HeaderAndClosingLinesInThreeNPlusOne) {
    table(8, +1, {256, 42, 40, 6});
    list("G");
    EXPECT_EQ(row_text(screen(), 0), "");
    EXPECT_EQ(
        row_text(screen(), 1),
        "  Jede Collatz-Folge von 2^i fuehrt nach i Divisionen zu EINS. Gilt auch fuer Folgen "
        "3n-1.");
    EXPECT_EQ(row_text(screen(), 2),
              "  Jede zweite 2er-Potenz liefert mod 3 den Rest 1 (oder -1=2). Was ist eine "
              "Permutation?");
    EXPECT_EQ(
        row_text(screen(), 3),
        "  Es ist das Vertauschen einer Divisionn gegen eine Collatz-Multiplikation 3n+1 (oder "
        "3n-1).");
    EXPECT_EQ(
        row_text(screen(), 4),
        "  Moegliche Permutationen von 2^i wurden gesucht und dazu Startzahlen berechnet.     "
        "i= 8");
    EXPECT_EQ(row_text(screen(), 5), "");
    EXPECT_EQ(colour_at(screen(), 1, 3), 14);
    EXPECT_EQ(row_text(screen(), 10),
              "    ...Alle moeglichen Permutationen zu 2^i  i= 8      Collatz-Folgen: 3n+1");
    EXPECT_EQ(colour_at(screen(), 10, 5), 14);
    // The duration, then "Sek. " with the cursor after it for the prompt.
    EXPECT_EQ(screen().row_text(11), " 0 Sek. ");
    EXPECT_EQ(console.cursor_row(), 12);
    EXPECT_EQ(console.cursor_column(), 9);
    EXPECT_EQ(state.elapsedSeconds, 36000.0);
}

TEST_F(ListingTest, ThreeFormsOfTheTableForExponentEight) {
    table(8, +1, {256, 42, 40, 6});
    list("G");
    EXPECT_EQ(table_row(1), "G  +8    1x          42  42 21 64 32 16 8 4 2 1");
    EXPECT_EQ(terms(0), " 256 128 64 32 16 8 4 2 1");
    EXPECT_EQ(terms(2), " 40 20 10 5 16 8 4 2 1");
    EXPECT_EQ(terms(3), " 6 3 10 5 16 8 4 2 1");

    list("D");
    const std::int32_t d = 11;  // the D listing begins on the row of "Sek. "
    EXPECT_EQ(row_text(screen(), kFirstTableRow + d),
              "D  +8    0x         256  256 128 64 32 16 8 4 2 1");
    EXPECT_EQ(row_text(screen(), kFirstTableRow + d + 1).substr(24), " 21 64 32 16 8 4 2 1");
    EXPECT_EQ(row_text(screen(), kFirstTableRow + d + 2).substr(24), " 5 16 8 4 2 1");
    EXPECT_EQ(row_text(screen(), kFirstTableRow + d + 3).substr(24), " 3 10 5 16 8 4 2 1");

    list("F");
    const std::int32_t f = 2 * d;
    EXPECT_EQ(row_text(screen(), kFirstTableRow + f + 1), "F  +8    1x          42 . 21o.o.o. 1");
    EXPECT_EQ(row_text(screen(), kFirstTableRow + f).substr(24), "o.o.o.o. 1");
    EXPECT_EQ(row_text(screen(), kFirstTableRow + f + 2).substr(24), "o.o 5o.o. 1");
    EXPECT_EQ(row_text(screen(), kFirstTableRow + f + 3).substr(24), ". 3o 5o.o. 1");
}

TEST_F(ListingTest, TermColours) {
    table(8, +1, {256, 42, 40, 6});
    list("G");
    const std::int32_t row = kFirstTableRow + 1;  // G  +8    1x          42  42 21 64 ...
    EXPECT_EQ(colour_at(screen(), row, 1), 15);   // the letter
    EXPECT_EQ(colour_at(screen(), row, 4), 15);   // the row head
    EXPECT_EQ(colour_at(screen(), row, 26), 9);   // 42, even and above 8
    EXPECT_EQ(colour_at(screen(), row, 29), 15);  // 21, odd
    EXPECT_EQ(colour_at(screen(), row, 41), 14);  // 8, even and at most 8
    EXPECT_EQ(colour_at(screen(), row, 47), 15);  // the final 1

    list("F");
    const std::int32_t f = kFirstTableRow + 11 + 1;  // F  +8    1x          42 . 21o.o.o. 1
    EXPECT_EQ(colour_at(screen(), f, 25), 9);        // "."
    EXPECT_EQ(colour_at(screen(), f, 27), 15);       // 21
    EXPECT_EQ(colour_at(screen(), f, 29), 9);        // "o"
}

TEST_F(ListingTest, ThreeNMinusOneTable) {
    table(8, -1, {256, 43, 44, 48});
    list("G");
    EXPECT_EQ(table_row(1), "G - 8    1x          43  43 128 64 32 16 8 4 2 1");
    EXPECT_EQ(terms(2), " 44 22 11 32 16 8 4 2 1");
    EXPECT_EQ(terms(3), " 48 24 12 6 3 8 4 2 1");
    EXPECT_EQ(colour_at(screen(), 1, 3), 13);
    EXPECT_EQ(colour_at(screen(), kFirstTableRow + 1, 30), 13);  // 128 in 3n-1
    EXPECT_EQ(row_text(screen(), 10),
              "    ...Alle moeglichen Permutationen zu 2^i  i= 8       SPEZIAL-Folgem: 3n-1");
    EXPECT_EQ(colour_at(screen(), 10, 5), 13);
}

TEST_F(ListingTest, LongTablesLeaveOutTheirMiddleRows) {
    std::vector<std::int64_t> starts;
    for (std::int64_t k = 0; k <= 37; ++k) starts.push_back(k + 1);
    table(10, +1, starts);
    list("G");
    std::vector<std::int64_t> expected;
    for (std::int64_t k = 0; k <= 37; ++k)
        if (k != 18) expected.push_back(k);
    EXPECT_EQ(listed_indices(), expected);
    EXPECT_EQ(table_row(18),
              "                        --------------------------     J=Ja/Nein     unterdrueckte "
              "Zeilen: 1");
    EXPECT_EQ(table_row(19).substr(0, 24), "G +10   19x          20 ");

    // 37 rows are listed whole.
    console.clear_screen();
    starts.pop_back();
    table(10, +1, starts);
    list("G");
    expected.assign(1, 0);
    for (std::int64_t k = 1; k <= 36; ++k) expected.push_back(k);
    EXPECT_EQ(listed_indices(), expected);
}

TEST_F(ListingTest, ShowAllRowsListsEveryRowOfALongTable) {
    std::vector<std::int64_t> starts;
    for (std::int64_t k = 0; k <= 71; ++k) starts.push_back(2 * k + 2);
    table(20, +1, starts);
    list("D");
    std::vector<std::int64_t> shortened;
    for (std::int64_t k = 0; k <= 17; ++k) shortened.push_back(k);
    for (std::int64_t k = 53; k <= 71; ++k) shortened.push_back(k);
    EXPECT_EQ(listed_indices(), shortened);
    EXPECT_NE(table_row(18).find("unterdrueckte Zeilen: 35"), std::string::npos);

    console.clear_screen();
    state.showAllRows = 1;
    list("D");
    EXPECT_EQ(listed_indices().size(), 72u);
}

TEST_F(ListingTest, DamagedTablesDoNotHang) {
    // An entry that never reaches 1 (0) and one whose terms would overflow.
    table(8, +1, {256, 0, 4611686018427387904, 6});
    list("G");
    EXPECT_EQ(terms(0), " 256 128 64 32 16 8 4 2 1");
    EXPECT_EQ(terms(1), " 0");
    EXPECT_EQ(terms(3), " 6 3 10 5 16 8 4 2 1");
    // A last index beyond the table is cut to it.
    state.lastIndex = static_cast<std::int64_t>(state.startNumbers.size()) + 40;
    list("G");
    EXPECT_EQ(console.cursor_column(), 9);
}

}  // namespace
}  // namespace cp
