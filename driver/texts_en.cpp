// The driver in English: the German texts' meaning in their layout.
#include "driver/texts.hpp"

namespace cp {

constexpr DriverTexts kEnglishDriverTexts{
    .prompt = "                 Q=Quit  T=Text+clear  ENTER: stop/go  Exponent i (max 32) ",
    .next_line = "  NEXT: F=sequences, the VALUES of the last table of permutations for 2^",

    .columns_note =
        "  The numbers of the 2nd and 4th columns are the same, only shifted by one row.",
    .sums_note =
        "  These are Collatz key numbers: powers of 2 are added...  all for the "
        "permutation",
    .press_enter = "  Please press ENTER  ..........",

    .intro_line1 =
        "  The program shows all possible 'permutations' of the Collatz sequence of 2^i  "
        "by exchanging:",
    .intro_line2_start = "  '.' dots = divisions    and   ",
    .intro_line2_end = " squares = multiplications....",
    .intro_line3 = "  starting at  2^i  = a pure power of 2 with  0 multiplications",
    .intro_line4 = "  ... down to many multiplications m, NOT sorted by start number !!",
    .keys_pause = "  Only while rows are shown:  choose a pause with the keys 0 to 9",
    .keys_options = {{
        "  k = special sequences on/off: short, with (3n+1)/2    not with F=sequences",
        "  m = special sequences on/off: minus, with 3n-1        not with F=sequences",
        "  x = switches the exponent i between rising and falling",
        "  z   adds the first odd number to each next row",
    }},
    .keys_codes = {{
        "      outside the permutations",
        "  00  gets the original 3n+1 Collatz sequence",
        "  99  gets random values until one is loop-free! or:",
        "  88  plus 1 ... until loop-free! ...00 clears the display of loops",
        "  77  gets n+1 = 1(n+1) as an alternative to Collatz",
        "  66  gets the 3n+1 compression of any original Collatz sequence",
        " (75) DEMO ONLY: always random (every call) instead of the Collatz term",
        "  0   (zero) only the odd values of the normal Collatz sequence",
    }},
    .claims = {{
        "        There are thousands of Collatz programs from every country.",
        "        Probably nobody has checked sequences of equal length based on 2^i   !!",
        "        A permutation of 2^i avoids every loop, such as those of 3n-1        !!",
        "        Avoiding fixed start values, every sequence of 2^i goes down to ONE  !!",
        "        Important:",
        "        Every permutation (=Collatz multiplication) leads to the goal ONE    !!",
        "        The products before +1 and after +1 are coprime (Euclid)             !!",
        "        ------------ =========     ======== -----------------------------------",
    }},
    .warning =
        "  With 3n-1, please use only the values found by permutation as Collatz start "
        "numbers.",

    .header_lines = {{
        "  Every Collatz sequence of 2^i leads to ONE after i divisions. This also holds for "
        "3n-1.",
        "  Every second power of 2 leaves the remainder 1 mod 3 (or -1=2). What is a "
        "permutation?",
        "  It is the exchange of a division for a Collatz multiplication 3n+1 (or 3n-1).",
    }},
    .header_exponent_line =
        "  Possible permutations of 2^i were searched for and their start "
        "numbers computed.   i=",
    .skipped_rows_line =
        "                        --------------------------     J=yes/no      "
        "       rows left out:",
    .closing_line = "    ...All possible permutations of 2^i      i=",
    .plus_variant = "      Collatz sequences: 3n+1",
    .minus_variant = "       SPECIAL sequences: 3n-1",
    .listing_seconds = "sec. ",
};

}  // namespace cp
