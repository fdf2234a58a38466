// collatzperm sequence N: the sequence of any integer, exactly.
#include <optional>
#include <string_view>

#include "commands/command_runs.hpp"
#include "commands/record_formats.hpp"
#include "explorer/exact_sequence.hpp"

namespace cp {

int run_sequence_command(const CommandRequest& request, const CommandEnvironment& environment) {
    RecordOutput output(environment.out);
    std::optional<ExactSequence> sequence =
        ExactSequence::start(request.start, request.rules.sign, request.rules.compressed);
    if (!sequence) return finish_command(output, request, environment, false);
    const RecordLayout layout = sequence_layout(request.format);
    output.text().append(layout.header());
    while (const auto step = sequence->next()) {
        if (environment.interrupt.load(std::memory_order_relaxed)) break;
        DecimalRoom step_room;
        DecimalRoom repeat_room;
        std::optional<std::string_view> repeat_of;
        if (step->repeat_of) repeat_of = decimal(repeat_room, *step->repeat_of);
        append_sequence_record(layout, output.text(), decimal(step_room, step->step), step->value,
                               repeat_of);
        if (!output.write_if_large()) break;
    }
    return finish_command(output, request, environment, environment.interrupt.load());
}

}  // namespace cp
