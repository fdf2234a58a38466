#include "driver/intro_screens.hpp"

#include <array>
#include <string>
#include <string_view>

#include "console/numbers/arithmetic.hpp"
#include "console/strings.hpp"

namespace cp {

namespace {
constexpr std::string_view kTableIndent = "  ";
constexpr std::string_view kPlus = "+";
constexpr std::string_view kEquals = "=";
constexpr std::string_view kColumnsNote =
    "  Die Zahlen der 2. und 4. Spalte sind gleich, nur um eine Zeile versetzt.";
constexpr std::string_view kSumsNote =
    "  Es sind Collatz-Schluessenzahlen Addiert werden 2-er Potenzen...  alles zur Permutation";
constexpr std::string_view kPressEnter = "  Bitte EMTER  ..........";

constexpr std::string_view kIntroLine1 =
    "  Das Programm zeigt alle moeglichen 'Permutationen' von Collatz-Folgen 2^i  durch "
    "Vertauschen von:";
constexpr std::string_view kIntroLine2Start = "  '.' Punkte = Divisionen    und   ";
constexpr std::string_view kIntroLine2End = " Quadrate = Multiplikationen....";
constexpr std::string_view kIntroLine3 =
    "  beginnend bei  2^i  = reine 2-er Potenz mit  0 Multiplikationen";
constexpr std::string_view kIntroLine4 =
    "  ... bis herunter zu vielen Multiplikationen m, NICHT nach Startzahl sortiert !!";

constexpr std::string_view kKeysPause =
    "  Nur bei laufender Anzeige:  Pausenwahl mit Tasten 0 bis 9";
constexpr std::array<std::string_view, 4> kKeysOptions = {
    "  k = Spez. Folgen an/ab Kurz,  mit 3*n+1]/2    nicht bei F=Folgen",
    "  m = Spez. Folgen an/ab minus, mit 3n-1        nicht bei F=Folgen",
    "  x = Umschaltung Gliederzahl auf-/absteigend",
    "  z   bringt erste ungerade Zahl zu jeder naechsten Zeile",
};
constexpr std::array<std::string_view, 8> kKeysCodes = {
    "      ausserhalb der Permutationen",
    "  00  holt 3n+1 Originl Collatz",
    "  99  hol Zufall bis schleifenfrei! oder:",
    "  88  plus 1 ... bis schleifenfrei! ...00 loescht Anzeige von Schleifen",
    "  77  holt n+1 = 1(n+1) alternativ zu Collatz",
    "  66  holt 3n+1 Komprierung jeder Origimal Collatz-Folge",
    " (75) NUR DEMO: immer Zufall (jeder Aufruf) statt Collatz Term",
    "  0   (null) nur ungerade Werte der normalen Collatz-Folge",
};
constexpr std::array<std::string_view, 8> kClaims = {
    "        Es gibt tausende von Collatz-Programmen aus allen Laendern.",
    "        Wohl niemand pruefte Folgen gleicher Laenge auf der Basis von 2^i    !!",
    "        Eine Permutation von 2^i vermeidet jede Schleife, wie etwa bei 3n-1  !!",
    "        Durch Meidung fixer Startwerte geht jede Folge von 2^i bis zu EINS   !!",
    "        Wichtig:",
    "        Jede Permutation (=Collatz-Multiplikatiom) fuehrt zum Ziel EINS      !!",
    "        Die Produkte vor +1 und nach +1 sind zueinander teilerfremd (Euklid) !!",
    "        ------------ ======     ======= ---------------------------------------",
};
constexpr std::string_view kWarning =
    "  Bitte benutzen sie bei 3n-1 als Collatz-Startzahl mur die ueber Permutation gefundenen "
    "Werte.";

constexpr std::int32_t kTableColour = 15;
constexpr std::int32_t kKeysColour = 14;
constexpr std::int32_t kClaimsColour = 15;
constexpr std::int32_t kWarningColour = 13;
constexpr char kEnter = 13;

void print_line(Console& console, std::string_view text) {
    console.print_text(text);
    console.print_newline();
}
}  // namespace

void show_start_table(Console& console) {
    console.set_color(kTableColour, -1);
    std::int64_t sum = 0;
    for (double j = 0; j <= 30; j += 2) {
        const Real power_of_two = power(2, j);
        console.print_text(kTableIndent);
        console.print_number(j);
        console.print_zone();
        console.print_number(static_cast<Real>(sum));
        console.print_zone();
        console.print_text(kPlus);
        console.print_number(power_of_two);
        console.print_zone();
        console.print_text(kEquals);
        console.print_number(power_of_two + sum);
        console.print_zone();
        console.print_number(4 * (power_of_two + sum));
        console.print_number(1);
        console.print_newline();
        sum = to_int64(power_of_two + sum);
    }
    console.print_newline();
    print_line(console, kColumnsNote);
    print_line(console, kSumsNote);
    console.print_newline();
    print_line(console, kPressEnter);
    for (;;) {
        const std::string key = console.wait_key();
        if (key.empty() || key[0] == kEnter) return;  // Enter, or the end of the input
    }
}

void print_warning_line(Console& console, std::int32_t colour) {
    console.set_color(colour, -1);
    print_line(console, kWarning);
}

void show_text_screen(Console& console, State& state) {
    state.defaultStart = 24;
    console.clear_screen();
    console.print_newline();

    print_line(console, kIntroLine1);
    console.print_text(kIntroLine2Start);
    console.print_text(std::string(1, kMarker));
    print_line(console, kIntroLine2End);
    print_line(console, kIntroLine3);
    print_line(console, kIntroLine4);
    console.print_newline();

    console.set_color(kKeysColour, -1);
    print_line(console, kKeysPause);
    console.print_newline();
    for (std::string_view line : kKeysOptions) print_line(console, line);
    console.print_newline();
    for (std::string_view line : kKeysCodes) print_line(console, line);
    console.print_newline();

    state.rowColour = 15;
    console.set_color(kClaimsColour, -1);
    for (std::string_view line : kClaims) print_line(console, line);

    print_warning_line(console, kWarningColour);
    state.multiplierSign = +1;
    state.random.randomize(console.seconds_since_midnight());
}

}  // namespace cp
