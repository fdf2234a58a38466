#include "app/command_line.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "console/conventions.hpp"

namespace cp {

namespace {

constexpr int kUsageError = 2;
constexpr int kWriteError = 1;

constexpr std::string_view kVersionText = "collatzperm " COLLATZPERM_VERSION "\n";

constexpr std::string_view kHelpText =
    "Usage: collatzperm [--help | --version]\n"
    "\n"
    "Explore the Collatz sequences that start at powers of two. For an exponent\n"
    "i from 1 to 32, collatzperm finds every start number whose sequence reaches\n"
    "1 after exactly i steps, as the sequence of 2^i does, and shows each with\n"
    "its pattern of divisions and multiplications. Its screens are in German.\n"
    "\n"
    "Run it in a terminal, with no arguments:\n"
    "  Enter         at the opening table: on to the text screen and the first\n"
    "                search, for 2^17\n"
    "  a number      then Enter, at the prompt: search that exponent (1 to 32)\n"
    "  Enter         at the prompt: search the next exponent\n"
    "  Q             then Enter and one more key: quit\n"
    "  Space         while a search runs: its run-time prompt, where any text\n"
    "                and Enter stop the search and Enter alone goes on (every\n"
    "                key but a digit or a letter does the same)\n"
    "  0 to 9        while a search runs: a longer pause after each row\n"
    "\n"
    "Script it with pipes: when standard input is not a terminal, each byte is\n"
    "a key and a line end is Enter; when standard output is not a terminal, it\n"
    "writes a plain UTF-8 transcript. For example:\n"
    "  printf '\\n8\\nG\\nQ\\n\\n' | collatzperm > session.txt\n"
    "\n"
    "Options:\n"
    "  -h, --help    show this help and exit\n"
    "  --version     show the version and exit\n"
    "\n"
    "Environment:\n"
    "  NO_COLOR      set and not empty: draw without colours\n"
    "\n"
    "Every command is in the manual page: man collatzperm (docs/collatzperm.1\n"
    "in the sources).\n";

constexpr std::string_view kUnknownOption = "collatzperm: unknown option '";
constexpr std::string_view kUnexpectedArgument = "collatzperm: unexpected argument '";
constexpr std::string_view kUsageHint = "'\nTry 'collatzperm --help' for more information.\n";
constexpr std::string_view kWriteFailed = "collatzperm: cannot write to standard output\n";

void write_error(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
}

// A help text that did not arrive must not be reported as shown.
int answer(std::string_view text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (std::fflush(stdout) == 0 && written) return 0;
    write_error(kWriteFailed);
    return kWriteError;
}

int usage_error(std::string_view argument) {
    const bool option = argument.size() > 1 && argument.front() == '-';
    std::string message(option ? kUnknownOption : kUnexpectedArgument);
    message += argument;
    message += kUsageHint;
    write_error(message);
    return kUsageError;
}

}  // namespace

std::optional<int> answer_command_line(std::span<const std::string_view> arguments) {
    // The first argument decides, as with the usual option parsers.
    if (arguments.empty()) return std::nullopt;
    const std::string_view first = arguments.front();
    if (first == "--help" || first == "-h" || (first == "/?" && takes_slash_help())) {
        return answer(kHelpText);
    }
    if (first == "--version") return answer(kVersionText);
    return usage_error(first);
}

bool colours_wanted() {
    const char* no_colour = std::getenv("NO_COLOR");
    return no_colour == nullptr || *no_colour == '\0';
}

}  // namespace cp
