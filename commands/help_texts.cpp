#include "commands/help_texts.hpp"

#include <initializer_list>

namespace cp {

const std::string_view kCommandSummary =
    "  search I        every start number of 2^I (I from 1 to 127), one record each\n"
    "  count A..B      how many start numbers each 2^I from 2^A to 2^B has\n"
    "  sequence N      the sequence of any integer N, exactly\n"
    "  help [COMMAND]  the help of the commands\n";

namespace {

constexpr std::string_view kOverviewStart =
    "Usage: collatzperm COMMAND [ARGUMENT] [OPTION]...\n"
    "\n"
    "The numbers of collatzperm for scripts and spreadsheets: records in text\n"
    "columns, CSV or JSON Lines on standard output, every integer exact.\n"
    "\n"
    "Commands (also: COMMAND --help):\n";
constexpr std::string_view kOverviewEnd =
    "\n"
    "A '-' followed by digits is a number (sequence -17), and '--' ends the\n"
    "options. Without a command collatzperm is the interactive program\n"
    "(collatzperm --help).\n"
    "\n"
    "Exit status: 0 done, 1 the output could not be written, 2 wrong arguments,\n"
    "130 stopped by Ctrl+C.\n";

constexpr std::string_view kSearchHelp =
    "Usage: collatzperm search I [OPTION]...\n"
    "\n"
    "One record per start number of 2^I, I from 1 to 127: every number whose\n"
    "sequence reaches 1 after exactly I steps and not before, in the order the\n"
    "interactive search finds them. The fields:\n"
    "  exponent         I\n"
    "  row              the record's place in the whole search, from 1\n"
    "  start            the start number, exact\n"
    "  multiplications  the number of multiplication steps\n"
    "  parity           I characters, one per step from the start number on:\n"
    "                   1 a multiplication, 0 a halving\n"
    "\n";
constexpr std::string_view kSearchOptions =
    "  --jobs=N              walk on N cores (default: every core); the output\n"
    "                        is the same whatever N is\n"
    "  --part=K/N            only the K-th of N pieces (1 <= K <= N <= 10000):\n"
    "                        the N outputs joined in order are the whole search,\n"
    "                        rows and header line included\n";
constexpr std::string_view kSearchEnd =
    "\n"
    "Records stream as they are found; Ctrl+C stops at a whole record.\n";

constexpr std::string_view kCountHelp =
    "Usage: collatzperm count A..B [OPTION]...\n"
    "       collatzperm count I [OPTION]...\n"
    "\n"
    "For each exponent from A to B (1 <= A <= B <= 127), how many start numbers\n"
    "2^I has: the number of records of collatzperm search I. One walk counts\n"
    "the whole range. The fields: exponent, count.\n"
    "\n";
constexpr std::string_view kCountOptions =
    "  --jobs=N              count on N cores (default: every core)\n"
    "  --part=K/N            only the K-th of N pieces (1 <= K <= N <= 10000);\n"
    "                        each lists every exponent, so the N outputs sum to\n"
    "                        the whole; only part 1 writes the header line\n";
constexpr std::string_view kCountEnd =
    "\n"
    "Ctrl+C stops the count; it then writes nothing.\n";

constexpr std::string_view kSequenceHelp =
    "Usage: collatzperm sequence N [OPTION]...\n"
    "\n"
    "The sequence of the integer N (any number of digits, zero and negative\n"
    "numbers too): an even value is halved, an odd n becomes 3n+1 (or 3n-1).\n"
    "It ends at 1, or at the first value that repeats one before it. The\n"
    "fields: step (from 0, which is N), value, repeat_of (the step where a\n"
    "repeating value first appeared; empty otherwise).\n"
    "\n";

// The options every command takes, and those of the walks.
constexpr std::string_view kCommonOptions =
    "Options:\n"
    "  --variant=3n+1|3n-1   the step of an odd n (default 3n+1)\n"
    "  --compressed          a multiplication and its halving as one step\n"
    "  --format=text|csv|json\n"
    "                        columns for people (default), CSV with a header\n"
    "                        line, or JSON Lines\n";
constexpr std::string_view kProgressOption =
    "  --progress=auto|always|never\n"
    "                        a progress line on standard error (auto: when it\n"
    "                        is a terminal and the records go elsewhere)\n";
constexpr std::string_view kHelpOption = "  -h, --help            show this help and exit\n";

std::string joined(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (const std::string_view piece : pieces) text += piece;
    return text;
}

}  // namespace

std::string command_help(std::optional<Command> command) {
    switch (command.value_or(Command::help)) {
        case Command::search:
            return joined({kSearchHelp, kCommonOptions, kSearchOptions, kProgressOption,
                           kHelpOption, kSearchEnd});
        case Command::count:
            return joined({kCountHelp, kCommonOptions, kCountOptions, kProgressOption, kHelpOption,
                           kCountEnd});
        case Command::sequence:
            return joined({kSequenceHelp, kCommonOptions, kHelpOption});
        case Command::help:
            break;
    }
    return joined({kOverviewStart, kCommandSummary, kOverviewEnd});
}

}  // namespace cp
