// The line after every display run: steps and odd values, the legend of the
// red marker in 3n-1, and the start value just shown.
#include "console/strings.hpp"
#include "explorer/runs.hpp"
#include "explorer/texts.hpp"

namespace cp {
namespace {

constexpr std::int32_t kLegendColour = 12;
constexpr std::int32_t kStartColour = 15;

}  // namespace

void print_run_summary(SequenceOutput& out, const State& state, RunCounters counters) {
    static constexpr char kBlankAndMarker[] = {' ', kMarker};
    static constexpr char kMarkerText[] = {kMarker};
    static constexpr char kTimesAndMarker[] = {'x', ' ', kMarker};
    const std::string_view blank_and_marker(kBlankAndMarker, sizeof kBlankAndMarker);
    const std::string_view marker(kMarkerText, sizeof kMarkerText);
    Console& console = out.console();
    const ExplorerTexts& texts = explorer_texts(state.language);

    console.print_newline();
    // A run that reached 1 printed it in the row colour; one ended by a repeat
    // closes in the same colour.
    console.set_color(state.rowColour, -1);
    console.print_text(blank_and_marker);
    if (state.zeroCommand == 1) {
        out.value(static_cast<Real>(counters.odds));
        console.print_text(std::string_view(kTimesAndMarker, sizeof kTimesAndMarker));
    } else {
        out.value(static_cast<Real>(counters.steps));
        console.print_text("x");
        out.value(static_cast<Real>(counters.odds));
        console.print_text(marker);
    }
    if (state.multiplierSign < 0) {
        console.set_color(kLegendColour, -1);
        console.print_text(texts.marker_legend);
        console.print_text(marker);
    }
    console.set_color(kStartColour, -1);
    console.print_text(texts.start_label);
    console.print_number(static_cast<Real>(state.defaultStart));
    console.print_newline();
    console.print_newline();
}

}  // namespace cp
