#pragma once
// The commands for scripts: `collatzperm search|count|sequence|help`, records
// instead of screens. The program without a command word is the interactive
// one; app/ only chooses.
#include <atomic>
#include <cstdint>
#include <span>
#include <string_view>

#include "commands/record_output.hpp"

namespace cp {

// What a command works with: its outputs, Ctrl+C, and the machine.
struct CommandEnvironment {
    OutputSink& out;
    OutputSink& errors;
    const std::atomic<bool>& interrupt;
    bool error_is_terminal = false;
    bool output_is_terminal = false;
    std::int32_t hardware_jobs = 1;
    bool threads = true;
};

// Exit statuses.
inline constexpr int kCommandDone = 0;
inline constexpr int kOutputFailed = 1;
inline constexpr int kWrongArguments = 2;
inline constexpr int kInterrupted = 130;

// Whether `word`, the program's first argument, is a command word.
bool is_command_word(std::string_view word);

// Runs the command of `arguments` (its word first) and gives the exit status.
int run_command(std::span<const std::string_view> arguments, const CommandEnvironment& environment);

// The environment of the process itself: its standard streams, its Ctrl+C.
int run_command_of_process(std::span<const std::string_view> arguments);

}  // namespace cp
