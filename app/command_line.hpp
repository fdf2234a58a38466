#pragma once
// The conventions of a command in front of the program, which itself reads no
// arguments but its language (app/language.hpp): --help, --version, and a
// usage error for anything else.
#include <optional>
#include <span>
#include <string_view>

namespace cp {

// Answers the arguments (without the program name) that ask for help or the
// version, or are a usage error, and gives the exit status; nullopt when there
// are none and the program should run. Nothing here touches a terminal.
std::optional<int> answer_command_line(std::span<const std::string_view> arguments);

// Reports a usage error on standard error (the problem, then a hint at
// --help) and gives its exit status.
int report_usage_error(std::string_view problem);

// NO_COLOR set and not empty (no-color.org): the screen without colour codes.
bool colours_wanted();

}  // namespace cp
