// The sequence explorer in English: the German texts' meaning in their layout.
#include "explorer/texts.hpp"

namespace cp {

constexpr ExplorerTexts kEnglishExplorerTexts{
    .plain_label = " *00  3n +-1  ",
    .compressed_label =
        " *66 compressed COLLATZ 3n+1. For 3n-1 please use permuted start values, "
        "or 88, 99 ENTER !",
    .successor_label = " *77  (n +-1) ",
    .random_label = " *75 pure RANDOM ",
    .next_label = " *88 x? value+1 ",
    .random_next_label = " *99 x? RANDOM",
    .compressed_run_note =
        "  RECURSIVE CALCULATION (with compression!) ...holds from countable "
        "INFINITY down to ONE",
    .marker_legend = " NEW /      loop= ",
    .start_label = "     start =",
};

}  // namespace cp
