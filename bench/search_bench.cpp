// The permutation search for 32 with its rows written to a discarding terminal,
// and the screen's scroll at the bottom row.
#include <benchmark/benchmark.h>

#include "console/console.hpp"
#include "quiet_terminal.hpp"
#include "search/permutation_search.hpp"

namespace {

void BM_Search32(benchmark::State& bench, std::int32_t sign, std::int32_t compressed) {
    cp::testing::QuietTerminal terminal;
    cp::Console console(terminal);
    console.set_screen_size(900, 16000);
    cp::State state;
    state.multiplierSign = sign;
    state.compressedMode = compressed;
    state.exponent = 32;
    std::int64_t rows = 0;
    for (auto _ : bench) {
        cp::run_search(console, state);
        rows += state.lastIndex + 1;
    }
    bench.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(BM_Search32, plus_plain, 1, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search32, plus_compressed, 1, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search32, minus_plain, -1, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search32, minus_compressed, -1, 1)->Unit(benchmark::kMillisecond);

// A line break at the bottom of the full 900 x 16,000 screen: one row, not the screen.
void BM_ScrollAtBottomRow(benchmark::State& bench) {
    cp::testing::QuietTerminal terminal;
    cp::Console console(terminal);
    console.set_screen_size(900, 16000);
    console.locate(16000, 1);
    const std::string row(80, 'x');
    for (auto _ : bench) {
        console.print_text(row);
        console.print_newline();
    }
}
BENCHMARK(BM_ScrollAtBottomRow);

void BM_ClearFullScreen(benchmark::State& bench) {
    cp::testing::QuietTerminal terminal;
    cp::Console console(terminal);
    console.set_screen_size(900, 16000);
    const std::string row(80, 'x');
    for (auto _ : bench) {
        bench.PauseTiming();
        for (int r = 0; r < 100; ++r) {
            console.print_text(row);
            console.print_newline();
        }
        bench.ResumeTiming();
        console.clear_screen();
    }
}
BENCHMARK(BM_ClearFullScreen);

}  // namespace
