// collatzperm count A..B: how many start numbers each 2^I has, from one count
// of the tree down to 2^B.
#include <array>
#include <optional>
#include <string_view>

#include "commands/command_runs.hpp"
#include "commands/progress_line.hpp"
#include "search/level_counts.hpp"

namespace cp {

namespace {

RecordLayout count_layout(Format format, std::int32_t last) {
    const std::size_t exponent_digits = last >= 100 ? 3 : last >= 10 ? 2 : 1;
    const std::array<FieldSpec, 2> fields = {{
        {"exponent", true, exponent_digits},
        {"count", true, digits_of_power_of_two(last)},
    }};
    return RecordLayout(format, fields);
}

}  // namespace

int run_count_command(const CommandRequest& request, const CommandEnvironment& environment) {
    const std::int32_t last = request.last;
    RecordOutput output(environment.out);
    const std::vector<TreePart> piece = parts_for(request, last);

    WorkProgress work;
    std::optional<ProgressLine> progress;
    if (progress_wanted(request.progress, environment)) {
        progress.emplace(environment.errors, [&] {
            const std::uint64_t total = work.total.load();
            ProgressReading reading;
            if (total > 0)
                reading.share = static_cast<double>(work.done.load()) / static_cast<double>(total);
            return reading;
        });
    }
    const auto counts = count_levels(request.rules, piece, last,
                                     {.jobs = jobs_for(request, environment),
                                      .stop = &environment.interrupt,
                                      .progress = &work});
    progress.reset();
    // Stopped: no count is whole, so none is written.
    if (!counts) return finish_command(output, request, environment, true);

    const RecordLayout layout = count_layout(request.format, last);
    if (request.part == 1) output.text().append(layout.header());
    for (std::int32_t exponent = request.first; exponent <= last; ++exponent) {
        DecimalRoom exponent_room;
        DecimalRoom count_room;
        const std::array<std::optional<std::string_view>, 2> values = {
            decimal(exponent_room, static_cast<std::uint64_t>(exponent)),
            decimal(count_room, (*counts)[static_cast<std::size_t>(exponent)]),
        };
        layout.append(output.text(), values);
    }
    return finish_command(output, request, environment, false);
}

}  // namespace cp
