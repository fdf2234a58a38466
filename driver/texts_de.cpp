// The program's own texts, spelling and all.
#include "driver/texts.hpp"

namespace cp {

constexpr DriverTexts kGermanDriverTexts{
    .prompt = "                 Q=Quitt  T=Text+clear  ENTER: stop/go  Eingabe i (max 32) ",
    .next_line = "  NeXT: F=Folgen, liefert zAHLENWERTE des letzten permutierten Feldes 2^",

    .columns_note = "  Die Zahlen der 2. und 4. Spalte sind gleich, nur um eine Zeile versetzt.",
    .sums_note =
        "  Es sind Collatz-Schluessenzahlen Addiert werden 2-er Potenzen...  alles zur "
        "Permutation",
    .press_enter = "  Bitte EMTER  ..........",

    .intro_line1 =
        "  Das Programm zeigt alle moeglichen 'Permutationen' von Collatz-Folgen 2^i  "
        "durch Vertauschen von:",
    .intro_line2_start = "  '.' Punkte = Divisionen    und   ",
    .intro_line2_end = " Quadrate = Multiplikationen....",
    .intro_line3 = "  beginnend bei  2^i  = reine 2-er Potenz mit  0 Multiplikationen",
    .intro_line4 =
        "  ... bis herunter zu vielen Multiplikationen m, NICHT nach Startzahl sortiert !!",
    .keys_pause = "  Nur bei laufender Anzeige:  Pausenwahl mit Tasten 0 bis 9",
    .keys_options = {{
        "  k = Spez. Folgen an/ab Kurz,  mit 3*n+1]/2    nicht bei F=Folgen",
        "  m = Spez. Folgen an/ab minus, mit 3n-1        nicht bei F=Folgen",
        "  x = Umschaltung Gliederzahl auf-/absteigend",
        "  z   bringt erste ungerade Zahl zu jeder naechsten Zeile",
    }},
    .keys_codes = {{
        "      ausserhalb der Permutationen",
        "  00  holt 3n+1 Originl Collatz",
        "  99  hol Zufall bis schleifenfrei! oder:",
        "  88  plus 1 ... bis schleifenfrei! ...00 loescht Anzeige von Schleifen",
        "  77  holt n+1 = 1(n+1) alternativ zu Collatz",
        "  66  holt 3n+1 Komprierung jeder Origimal Collatz-Folge",
        " (75) NUR DEMO: immer Zufall (jeder Aufruf) statt Collatz Term",
        "  0   (null) nur ungerade Werte der normalen Collatz-Folge",
    }},
    .claims = {{
        "        Es gibt tausende von Collatz-Programmen aus allen Laendern.",
        "        Wohl niemand pruefte Folgen gleicher Laenge auf der Basis von 2^i    !!",
        "        Eine Permutation von 2^i vermeidet jede Schleife, wie etwa bei 3n-1  !!",
        "        Durch Meidung fixer Startwerte geht jede Folge von 2^i bis zu EINS   !!",
        "        Wichtig:",
        "        Jede Permutation (=Collatz-Multiplikatiom) fuehrt zum Ziel EINS      !!",
        "        Die Produkte vor +1 und nach +1 sind zueinander teilerfremd (Euklid) !!",
        "        ------------ ======     ======= ---------------------------------------",
    }},
    .warning =
        "  Bitte benutzen sie bei 3n-1 als Collatz-Startzahl mur die ueber Permutation "
        "gefundenen Werte.",

    .header_lines = {{
        "  Jede Collatz-Folge von 2^i fuehrt nach i Divisionen zu EINS. Gilt auch fuer Folgen "
        "3n-1.",
        "  Jede zweite 2er-Potenz liefert mod 3 den Rest 1 (oder -1=2). Was ist eine "
        "Permutation?",
        "  Es ist das Vertauschen einer Divisionn gegen eine Collatz-Multiplikation 3n+1 (oder "
        "3n-1).",
    }},
    .header_exponent_line =
        "  Moegliche Permutationen von 2^i wurden gesucht und dazu Startzahlen "
        "berechnet.     i=",
    .skipped_rows_line =
        "                        --------------------------     J=Ja/Nein     "
        "unterdrueckte Zeilen:",
    .closing_line = "    ...Alle moeglichen Permutationen zu 2^i  i=",
    .plus_variant = "      Collatz-Folgen: 3n+1",
    .minus_variant = "       SPEZIAL-Folgem: 3n-1",
    .listing_seconds = "Sek. ",
};

}  // namespace cp
