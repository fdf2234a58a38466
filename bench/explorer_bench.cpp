// The listing of a long table and the explorer's runs, written to a
// discarding terminal.
#include <benchmark/benchmark.h>

#include "console/console.hpp"
#include "driver/listing.hpp"
#include "explorer/sequence_explorer.hpp"
#include "quiet_terminal.hpp"
#include "search/permutation_search.hpp"

namespace {

// "G" with every row of the 3n+1 table for 32 (1,174 rows).
void BM_ListingG32AllRows(benchmark::State& bench) {
    cp::testing::QuietTerminal terminal;
    cp::Console console(terminal);
    console.set_screen_size(900, 16000);
    cp::State state;
    state.exponent = 32;
    cp::run_search(console, state);
    state.showAllRows = 1;
    state.command.assign(1, 'G');  // GCC 12 warns falsely on assigning a literal here
    for (auto _ : bench) cp::list_last_search(console, state);
    bench.counters["rows"] = static_cast<double>(state.lastIndex + 1);
}
BENCHMARK(BM_ListingG32AllRows)->Unit(benchmark::kMillisecond);

void explore(benchmark::State& bench, const char* command, std::int32_t sign,
             std::int64_t default_start) {
    cp::testing::QuietTerminal terminal;
    cp::Console console(terminal);
    console.set_screen_size(900, 16000);
    cp::State state;
    state.multiplierSign = sign;
    state.random.randomize(12345);
    for (auto _ : bench) {
        state.command = command;
        state.defaultStart = default_start;
        cp::explore_sequence(console, state);
    }
}

// A random start value in 3n-1 whose sequence reaches 1 without a loop.
void BM_Random99MinusOne(benchmark::State& bench) {
    explore(bench, "99", -1, 24);
}
BENCHMARK(BM_Random99MinusOne)->Unit(benchmark::kMillisecond);

// 1,475 values of up to 126 bits.
void BM_LongRunPast64Bits(benchmark::State& bench) {
    explore(bench, "00", 1, 1980976057694848447);
}
BENCHMARK(BM_LongRunPast64Bits)->Unit(benchmark::kMillisecond);

}  // namespace
