// collatzperm sequence N: the sequence of any integer, exactly.
#include <array>
#include <optional>
#include <string_view>

#include "commands/command_runs.hpp"
#include "explorer/exact_sequence.hpp"

namespace cp {

namespace {

// Text columns: the value last, where its digits, however many, need no
// column after them; the steps as wide as a sequence of thousands of digits
// needs.
constexpr std::size_t kTextStepDigits = 6;

RecordLayout sequence_layout(Format format) {
    if (format == Format::text) {
        const std::array<FieldSpec, 3> fields = {{
            {"step", true, kTextStepDigits},
            {"repeat_of", true, kTextStepDigits},
            {"value", false, 0},
        }};
        return RecordLayout(format, fields);
    }
    const std::array<FieldSpec, 3> fields = {{
        {"step", true, 0},
        {"value", true, 0},
        {"repeat_of", true, 0},
    }};
    return RecordLayout(format, fields);
}

}  // namespace

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
        const std::optional<std::string_view> number = decimal(step_room, step->step);
        std::optional<std::string_view> repeat_of;
        if (step->repeat_of) repeat_of = decimal(repeat_room, *step->repeat_of);
        const std::string_view value = step->value;
        if (request.format == Format::text) {
            const std::array<std::optional<std::string_view>, 3> values = {number, repeat_of,
                                                                           value};
            layout.append(output.text(), values);
        } else {
            const std::array<std::optional<std::string_view>, 3> values = {number, value,
                                                                           repeat_of};
            layout.append(output.text(), values);
        }
        if (!output.write_if_large()) break;
    }
    return finish_command(output, request, environment, environment.interrupt.load());
}

}  // namespace cp
