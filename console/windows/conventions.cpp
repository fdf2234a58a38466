#include "console/conventions.hpp"

namespace cp {

namespace {

// "/?" as cmd.exe's own commands take it; the others as everywhere else.
constexpr std::string_view kHelpOptions[] = {"/?", "-h", "--help"};

// cmd's syntax; the zip puts README.txt beside the program.
constexpr CommandLineConventions kConventions{
    .help_options = kHelpOptions,
    .terminal = "console",
    .pipe_example =
        "type keys.txt | collatzperm > session.txt\n"
        "where keys.txt holds the lines you would type (README.txt shows one).\n",
    .manual = "Every command is in README.txt, beside collatzperm.exe.\n",
};

}  // namespace

const CommandLineConventions& command_line_conventions() {
    return kConventions;
}

}  // namespace cp
