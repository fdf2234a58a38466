// The program's own texts, spelling and all.
#include "explorer/texts.hpp"

namespace cp {

constexpr ExplorerTexts kGermanExplorerTexts{
    .plain_label = " *00  3n +-1  ",
    .compressed_label =
        " *66 komprimierte COLLATZ 3n+1. Fuer 3n-1 bitte permutierte Startwerte "
        "nutzen oder 88, 99 ENTER !",
    .successor_label = " *77  (n +-1) ",
    .random_label = " *75 purer ZUFALL",
    .next_label = " *88 x? Wert +1 ",
    .random_next_label = " *99 x? ZUFALL",
    .compressed_run_note =
        "  REKURSIVE BERECHNUNG (mit Kompression!) ...gilt von abzaehlbar "
        "UNENDLICH bis zu EINS",
    .marker_legend = " NEU /  Schleife= ",
    .start_label = "        Ca =",
};

}  // namespace cp
