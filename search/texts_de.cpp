// The program's own texts, spelling and all.
#include "search/texts.hpp"

namespace cp {

constexpr SearchTexts kGermanSearchTexts{
    .minus_note = "  3n-1 statt 3n+1    m an/ab ",
    .first_odd_plus = "              1.ungerade:",
    .first_odd_minus = "1.ungerade",
    .run_time_keys =
        "  Eingaben nur im Lauf:   Spalten  ABCDEFGHIJKLMNOPQRSTUVWXYZ oder Pausen  "
        "0123456789        Pausen gewaehlt:",
    .run_time_answer =
        "          Eingabe hier:   Jede Taste + ENTER oder weiter mit leerem ENTER   ",
    .result_legend = " = 1 Wultiplikation      ...      ",
    .difference = "Dif.=",
    .seconds = "sek",
};

}  // namespace cp
