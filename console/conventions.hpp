#pragma once
// The habits of the platform's own command-line programs: how they are asked
// for help, and what a help text shows its users as an example and a manual.
#include <span>
#include <string_view>

namespace cp {

struct CommandLineConventions {
    // The arguments that ask for the help, in the order its usage line names them.
    std::span<const std::string_view> help_options;
    // Where the program runs interactively: "terminal" or "console".
    std::string_view terminal;
    // A scripted session in the platform's shell, its command on the first line.
    std::string_view pipe_example;
    // Where every command is described: whole lines.
    std::string_view manual;
};

// The conventions of the platform being built for.
const CommandLineConventions& command_line_conventions();

// POSIX shells and man pages: Unix, and every platform that behaves like it.
inline constexpr std::string_view kUnixHelpOptions[] = {"-h", "--help"};
inline constexpr CommandLineConventions kUnixConventions{
    .help_options = kUnixHelpOptions,
    .terminal = "terminal",
    .pipe_example = "printf '\\n8\\nG\\nQ\\n\\n' | collatzperm > session.txt\n",
    .manual =
        "Every command is in the manual page: man collatzperm (docs/collatzperm.1\n"
        "in the sources).\n",
};

}  // namespace cp
