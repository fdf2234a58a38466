#include "explorer/sequence_explorer.hpp"

#include <algorithm>
#include <array>
#include <string_view>

#include "explorer/request.hpp"
#include "explorer/runs.hpp"
#include "explorer/texts.hpp"

namespace cp {
namespace {

struct Label {
    EntryCode code;
    std::int32_t colour;
    std::string_view ExplorerTexts::*text;
    bool own_line;
};

constexpr std::array<Label, 6> kLabels{{
    {EntryCode::Plain, 10, &ExplorerTexts::plain_label, false},
    {EntryCode::Compressed, 14, &ExplorerTexts::compressed_label, true},
    {EntryCode::Successor, 10, &ExplorerTexts::successor_label, false},
    {EntryCode::Random, 10, &ExplorerTexts::random_label, false},
    {EntryCode::Next, 10, &ExplorerTexts::next_label, false},
    {EntryCode::RandomNext, 10, &ExplorerTexts::random_next_label, false},
}};

constexpr std::int32_t kEvenStartColour = 11;
constexpr std::int32_t kRunColour = 15;

// Start values that run into a cycle of 3n-1 (and three more), replaced by
// kGuardReplacement.
constexpr std::array<std::int64_t, 12> kGuardList{
    5, 7, 16, 17, 25, 34, 37, 41, 61, 91, 555555555555555, 777777777777777};
constexpr std::int64_t kGuardReplacement = 111111111111111;

void print_label(Console& console, const ExplorerTexts& texts, EntryCode code) {
    for (const Label& label : kLabels) {
        if (label.code != code) continue;
        console.set_color(label.colour, -1);
        console.print_text(texts.*label.text);
        if (label.own_line) console.print_newline();
    }
}

// The run's name for the observer: its entry code, or the command ("A" for
// any line beginning with A, "C" likewise, "0").
std::string_view run_code(EntryCode code, const State& state) {
    if (code != EntryCode::None) return entry_code_text(code);
    if (state.zeroCommand == 1) return "0";
    return std::string_view(state.command).substr(0, 1);
}

}  // namespace

bool explore_sequence(Console& console, State& state) {
    const Request request = read_request(state);
    std::int64_t n = request.start;
    console.print_newline();
    print_label(console, explorer_texts(state.language), request.code);
    console.set_color(n % 2 == 0 ? kEvenStartColour : state.rowColour, -1);
    if (!request.is_sequence) return false;

    Observer* const observer = state.observer;
    if (observer != nullptr) {
        observer->run_started(run_code(request.code, state), state.multiplierSign,
                              state.compressedMode == 1);
    }
    SequenceOutput out(console);
    if (request.code != EntryCode::RandomNext) {
        console.print_text("=");
        observe_value(state, n, RunValueKind::start);
        out.value(static_cast<Real>(n));
    }
    if (state.multiplierSign == -1 &&
        std::find(kGuardList.begin(), kGuardList.end(), n) != kGuardList.end()) {
        console.beep();
        n = kGuardReplacement;
        if (observer != nullptr) observer->run_replaced(n);
        out.marker();
    }
    RunCounters counters;
    console.set_color(kRunColour, -1);

    ValueSet had;
    switch (request.code) {
        case EntryCode::Compressed:
            run_compressed_odd(out, state, n, counters, had);
            break;
        case EntryCode::Next:
        case EntryCode::RandomNext:
            n = choose_candidate(out, state, request.code, had);
            counters.steps = -1;
            run_display(out, state, request.code, request.multiplier, n, counters, had);
            break;
        default:
            run_display(out, state, request.code, request.multiplier, n, counters, had);
            break;
    }
    if (observer != nullptr) observer->run_ended();
    return true;
}

}  // namespace cp
