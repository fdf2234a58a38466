// The start table and the text screen, exactly as they appear.
#include <gtest/gtest.h>

#include "console/strings.hpp"
#include "driver/intro_screens.hpp"
#include "scripted_terminal.hpp"

namespace cp {
namespace {

using testing::colour_at;
using testing::ScriptedTerminal;

struct IntroTest : ::testing::Test {
    ScriptedTerminal terminal;
    Console console{terminal};
    State state;
    void SetUp() override {
        console.set_screen_size(900, 16000);
        console.set_color(15, 0);
        console.clear_screen();
    }
    std::string row(std::int32_t r) const { return std::string(console.screen().row_text(r)); }
};

TEST_F(IntroTest, StartTableRowsAndTheirTextLines) {
    terminal.type("x\r");
    show_start_table(console, state);
    EXPECT_EQ(terminal.keys_left(), 0u);  // waited for the Enter, not the x
    EXPECT_EQ(row(0), "   0           0            + 1           = 1            4  1 ");
    EXPECT_EQ(row(0).size(), 62u);
    EXPECT_EQ(row(1), "   2           1            + 4           = 5            20  1 ");
    EXPECT_EQ(row(15), "   30          357913941    + 1073741824  = 1431655765   5726623060  1 ");
    EXPECT_EQ(row(15).size(), 71u);
    EXPECT_EQ(row(16), "");
    EXPECT_EQ(row(17),
              "  Die Zahlen der 2. und 4. Spalte sind gleich, nur um eine Zeile versetzt.");
    EXPECT_EQ(row(18),
              "  Es sind Collatz-Schluessenzahlen Addiert werden 2-er Potenzen...  alles "
              "zur Permutation");
    EXPECT_EQ(row(19), "");
    EXPECT_EQ(row(20), "  Bitte EMTER  ..........");
    EXPECT_EQ(console.cursor_row(), 22);
    EXPECT_EQ(colour_at(console.screen(), 15, 20), 15);
}

TEST_F(IntroTest, TextScreenLinesColoursAndResets) {
    console.print_text("old");
    state.defaultStart = 77;
    state.rowColour = 14;
    state.multiplierSign = -1;
    state.compressedMode = 1;
    console.set_color(13, -1);  // the prompt colour of 3n-1
    show_text_screen(console, state);
    const Screen& screen = console.screen();
    EXPECT_EQ(row(0), "");
    EXPECT_EQ(row(1),
              "  Das Programm zeigt alle moeglichen 'Permutationen' von Collatz-Folgen 2^i  "
              "durch Vertauschen von:");
    EXPECT_EQ(row(2), "  '.' Punkte = Divisionen    und   " + std::string(1, kMarker) +
                          " Quadrate = Multiplikationen....");
    EXPECT_EQ(row(4),
              "  ... bis herunter zu vielen Multiplikationen m, NICHT nach Startzahl "
              "sortiert !!");
    EXPECT_EQ(row(5), "");
    for (std::int32_t r = 1; r <= 4; ++r) EXPECT_EQ(colour_at(screen, r, 3), 13) << r;
    EXPECT_EQ(row(6), "  Nur bei laufender Anzeige:  Pausenwahl mit Tasten 0 bis 9");
    EXPECT_EQ(colour_at(screen, 6, 3), 14);
    EXPECT_EQ(row(8), "  k = Spez. Folgen an/ab Kurz,  mit 3*n+1]/2    nicht bei F=Folgen");
    EXPECT_EQ(row(11), "  z   bringt erste ungerade Zahl zu jeder naechsten Zeile");
    EXPECT_EQ(row(13), "      ausserhalb der Permutationen");
    EXPECT_EQ(row(19), " (75) NUR DEMO: immer Zufall (jeder Aufruf) statt Collatz Term");
    EXPECT_EQ(row(20), "  0   (null) nur ungerade Werte der normalen Collatz-Folge");
    EXPECT_EQ(row(21), "");
    EXPECT_EQ(row(22), "        Es gibt tausende von Collatz-Programmen aus allen Laendern.");
    EXPECT_EQ(colour_at(screen, 22, 9), 15);
    EXPECT_EQ(row(29),
              "        ------------ ======     ======= ---------------------------------------");
    EXPECT_EQ(row(30),
              "  Bitte benutzen sie bei 3n-1 als Collatz-Startzahl mur die ueber "
              "Permutation gefundenen Werte.");
    EXPECT_EQ(colour_at(screen, 30, 3), 13);
    EXPECT_EQ(console.cursor_row(), 32);

    EXPECT_EQ(state.defaultStart, 24);
    EXPECT_EQ(state.rowColour, 15);
    EXPECT_EQ(state.multiplierSign, 1);
    EXPECT_EQ(state.compressedMode, 1);  // left as it was
    // Reseeded from the clock (10:00:00 in the scripted terminal).
    RandomGenerator seeded;
    seeded.randomize(36000);
    EXPECT_EQ(state.random.state(), seeded.state());
}

}  // namespace
}  // namespace cp
