#include "commands/commands.hpp"

#include <algorithm>
#include <string>
#include <variant>

#include "commands/command_runs.hpp"
#include "commands/help_texts.hpp"
#include "commands/request.hpp"
#include "console/jobs.hpp"
#include "console/process.hpp"
#include "search/pieces.hpp"

namespace cp {

namespace {
constexpr std::string_view kNoSpace =
    ": cannot write to standard output: no space left on the device\n";
constexpr std::string_view kWriteFailed = ": cannot write to standard output\n";
}  // namespace

bool is_command_word(std::string_view word) {
    return command_word(word).has_value();
}

int run_command(std::span<const std::string_view> arguments,
                const CommandEnvironment& environment) {
    const auto read = read_request(arguments);
    if (const auto* problem = std::get_if<std::string>(&read)) {
        environment.errors.write(*problem + "\n");
        return kWrongArguments;
    }
    const CommandRequest& request = std::get<CommandRequest>(read);
    if (request.help) {
        RecordOutput output(environment.out);
        output.text().append(
            command_help(request.command == Command::help ? request.topic : request.command));
        return finish_command(output, request, environment, false);
    }
    switch (request.command) {
        case Command::search:
            return run_search_command(request, environment);
        case Command::count:
            return run_count_command(request, environment);
        case Command::sequence:
            return run_sequence_command(request, environment);
        case Command::help:
            break;
    }
    return kCommandDone;
}

int run_command_of_process(std::span<const std::string_view> arguments) {
    FdSink out(1);
    FdSink errors(2);
    const CommandEnvironment environment{
        .out = out,
        .errors = errors,
        .interrupt = catch_interrupt(),
        .error_is_terminal = error_is_terminal(),
        .output_is_terminal = output_is_terminal(),
        .hardware_jobs = hardware_jobs(),
        .threads = threads_available(),
    };
    return run_command(arguments, environment);
}

std::int32_t jobs_for(const CommandRequest& request, const CommandEnvironment& environment) {
    if (!environment.threads) return 1;
    return request.jobs > 0 ? request.jobs : std::max(environment.hardware_jobs, 1);
}

std::vector<TreePart> parts_for(const CommandRequest& request, std::int32_t deepest) {
    if (request.parts == 1) return {TreePart{}};
    return piece_of_tree(request.rules, deepest, request.part, request.parts);
}

std::vector<TreePart> parts_before(StepRules rules, const TreeNode& node) {
    std::vector<TreePart> before;
    // Up the path towards 1, one step forwards at a time.
    TreeNode at = node;
    while (at.depth > 0) {
        const bool multiplied = (at.steps & 1) != 0;
        TreeNode parent{at.value / 2, at.depth - 1, at.multiplications, at.steps >> 1};
        if (multiplied) {
            const TreeValue up = rules.sign > 0 ? 3 * at.value + 1 : 3 * at.value - 1;
            parent.value = rules.compressed ? up / 2 : up;
            parent.multiplications = at.multiplications - 1;
            // Twice the parent, and all under it, comes before this child.
            before.push_back({doubled(parent), true});
        }
        at = parent;
    }
    return before;
}

int finish_command(RecordOutput& output, const CommandRequest& request,
                   const CommandEnvironment& environment, bool interrupted) {
    output.write();
    const std::string name = "collatzperm " + std::string(command_name(request.command));
    switch (output.failure()) {
        case WriteFailure::none:
            break;
        case WriteFailure::closed:
            return kCommandDone;
        case WriteFailure::full:
            environment.errors.write(name + std::string(kNoSpace));
            return kOutputFailed;
        case WriteFailure::other:
            environment.errors.write(name + std::string(kWriteFailed));
            return kOutputFailed;
    }
    return interrupted ? kInterrupted : kCommandDone;
}

}  // namespace cp
