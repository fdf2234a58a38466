#pragma once
// What a command for scripts is asked to do, read from its arguments.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "commands/record_layout.hpp"
#include "search/tree.hpp"

namespace cp {

enum class Command { search, count, sequence, help };
enum class ProgressMode { automatic, always, never };

inline constexpr std::int32_t kMostJobs = 1024;
inline constexpr std::int32_t kMostParts = 10000;

struct CommandRequest {
    Command command = Command::help;
    // --help, or `help COMMAND` (then `topic`), or `help` alone.
    bool help = false;
    std::optional<Command> topic;
    StepRules rules;
    Format format = Format::text;
    std::int32_t jobs = 0;  // 0: every core
    std::int32_t part = 1;  // part K of N
    std::int32_t parts = 1;
    ProgressMode progress = ProgressMode::automatic;
    // The exponents: search's I (first = last), count's A..B.
    std::int32_t first = 1;
    std::int32_t last = 1;
    // sequence's N, as typed.
    std::string_view start;
};

// The command a word names, if it names one.
std::optional<Command> command_word(std::string_view word);
std::string_view command_name(Command command);

// The request of `arguments` (the command word first), or the one line that
// says what is wrong with them and what would be right, without its line end.
std::variant<CommandRequest, std::string> read_request(std::span<const std::string_view> arguments);

}  // namespace cp
