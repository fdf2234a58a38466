// Heap allocations per search row and per listing term, through the real
// screen and the real back ends (their output goes to /dev/null).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <memory>

#include "allocation_counter.hpp"
#include "console/console.hpp"
#include "console/pipe_input.hpp"
#include "console/split_terminal.hpp"
#include "console/transcript_output.hpp"
#include "console/unix/tty_output.hpp"
#include "driver/listing.hpp"
#include "quiet_terminal.hpp"
#include "search/permutation_search.hpp"

namespace {

enum class Output { Discarding, Transcript, Tty };

// A terminal for the chosen output, with keys that never come.
class BenchTerminal {
  public:
    explicit BenchTerminal(Output output)
        : null_(::open("/dev/null", O_RDWR | O_CLOEXEC)), keys_(null_) {
        if (output == Output::Transcript) sink_ = std::make_unique<cp::TranscriptOutput>(null_);
        if (output == Output::Tty) sink_ = std::make_unique<cp::TtyOutput>(null_);
        if (sink_) split_ = std::make_unique<cp::SplitTerminal>(keys_, *sink_);
    }
    ~BenchTerminal() { ::close(null_); }
    cp::Terminal& terminal() {
        if (split_) return *split_;
        return discarding_;
    }

  private:
    int null_;
    cp::PipeInput keys_;
    cp::testing::QuietTerminal discarding_;
    std::unique_ptr<cp::ScreenSink> sink_;
    std::unique_ptr<cp::SplitTerminal> split_;
};

void prepare(cp::Console& console, cp::State& state, std::int32_t sign, std::int32_t compressed) {
    console.set_screen_size(900, 16000);
    state.multiplierSign = sign;
    state.compressedMode = compressed;
    state.exponent = 32;
}

// Steady: over many searches, once the 16,000 rows have storage to reuse.
// fresh: the first search on a new screen, whose rows get their storage.
void BM_AllocationsPerSearchRow(benchmark::State& bench, Output output, std::int32_t sign,
                                std::int32_t compressed) {
    BenchTerminal terminal(output);
    cp::Console console(terminal.terminal());
    cp::State state;
    prepare(console, state, sign, compressed);

    const std::uint64_t fresh_before = cp::bench::allocations();
    cp::run_search(console, state);
    const double fresh = static_cast<double>(cp::bench::allocations() - fresh_before) /
                         static_cast<double>(state.lastIndex + 1);
    // Fill the screen once, so that what follows is the steady state.
    for (int filled = 0; filled < 16000; filled += static_cast<int>(state.lastIndex + 2))
        cp::run_search(console, state);

    std::uint64_t rows = 0;
    const std::uint64_t before = cp::bench::allocations();
    for (auto _ : bench) {
        cp::run_search(console, state);
        rows += static_cast<std::uint64_t>(state.lastIndex + 1);
    }
    const auto allocations = static_cast<double>(cp::bench::allocations() - before);
    bench.counters["allocs/row"] = allocations / static_cast<double>(rows);
    bench.counters["fresh_allocs/row"] = fresh;
    bench.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(BM_AllocationsPerSearchRow, discarding_plus_plain, Output::Discarding, 1, 0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AllocationsPerSearchRow, transcript_plus_plain, Output::Transcript, 1, 0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AllocationsPerSearchRow, tty_plus_plain, Output::Tty, 1, 0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AllocationsPerSearchRow, tty_minus_compressed, Output::Tty, -1, 1)
    ->Unit(benchmark::kMillisecond);

// The terms the listing writes for the table: one per step from twice the
// start number (for "D", twice its odd part) down to 1.
std::uint64_t listing_terms(const cp::State& state, char form) {
    std::uint64_t terms = 0;
    for (std::int64_t k = 0; k <= state.lastIndex; ++k) {
        std::int64_t v = 2 * state.startNumbers[static_cast<std::size_t>(k)];
        if (form == 'D' && k > 0) {
            while (v % 2 == 0) v /= 2;
            v *= 2;
        }
        while (v != 1) {
            v = v % 2 == 0 ? v / 2 : 3 * v + state.multiplierSign;
            ++terms;
        }
    }
    return terms;
}

// Every row of the table of 32 (after "J"), listed again and again.
void BM_AllocationsPerListingTerm(benchmark::State& bench, Output output, char form) {
    BenchTerminal terminal(output);
    cp::Console console(terminal.terminal());
    cp::State state;
    prepare(console, state, 1, 0);
    cp::run_search(console, state);
    state.showAllRows = 1;
    state.command = std::string(1, form);
    const std::uint64_t terms_per_listing = listing_terms(state, form);

    const std::uint64_t fresh_before = cp::bench::allocations();
    cp::list_last_search(console, state);
    const double fresh = static_cast<double>(cp::bench::allocations() - fresh_before) /
                         static_cast<double>(terms_per_listing);
    for (int filled = 0; filled < 16000; filled += static_cast<int>(state.lastIndex + 8))
        cp::list_last_search(console, state);

    std::uint64_t terms = 0;
    const std::uint64_t before = cp::bench::allocations();
    for (auto _ : bench) {
        cp::list_last_search(console, state);
        terms += terms_per_listing;
    }
    const auto allocations = static_cast<double>(cp::bench::allocations() - before);
    bench.counters["allocs/term"] = allocations / static_cast<double>(terms);
    bench.counters["fresh_allocs/term"] = fresh;
    bench.counters["terms/s"] =
        benchmark::Counter(static_cast<double>(terms), benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(BM_AllocationsPerListingTerm, discarding_G, Output::Discarding, 'G')
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AllocationsPerListingTerm, tty_G, Output::Tty, 'G')
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AllocationsPerListingTerm, tty_F, Output::Tty, 'F')
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AllocationsPerListingTerm, tty_D, Output::Tty, 'D')
    ->Unit(benchmark::kMillisecond);

}  // namespace
