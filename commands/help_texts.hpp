#pragma once
// The help of the commands for scripts, in English like every text of the
// command line.
#include <optional>
#include <string>
#include <string_view>

#include "commands/request.hpp"

namespace cp {

// The commands, one line each, for the program's own --help.
extern const std::string_view kCommandSummary;

// The help of one command, or of them all (`help` alone).
std::string command_help(std::optional<Command> command);

}  // namespace cp
