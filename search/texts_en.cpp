// The search in English: the German texts' meaning in their layout.
#include "search/texts.hpp"

namespace cp {

constexpr SearchTexts kEnglishSearchTexts{
    .minus_note = "  3n-1, not 3n+1    m on/off ",
    .first_odd_plus = "               first odd:",
    .first_odd_minus = "first odd",
    .run_time_keys =
        "  Keys while it runs:     letters  ABCDEFGHIJKLMNOPQRSTUVWXYZ or pauses    "
        "0123456789           pause chosen:",
    .run_time_answer =
        "           Input here:   any key + ENTER, or go on with an empty ENTER      ",
    .result_legend = " = 1 multiplication      ...      ",
    .difference = "Diff=",
    .seconds = "sec",
};

}  // namespace cp
