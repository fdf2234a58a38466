// Console calls per search on the Windows console, counted with a stand-in
// for the console API that the interpreter drives as it drives the real one.
// Each call is charged on the pacer's clock as Wine's console costs it (about
// a millisecond a call, measured there), so that flushes come as often as
// they would on that console: the figures model the search of 2^32 drawn in
// Wine's console in a terminal. bench/wine_console.sh times the real thing.
#include <benchmark/benchmark.h>

#include <chrono>

#include "console/console.hpp"
#include "console/rendered_output.hpp"
#include "console/split_terminal.hpp"
#include "console/windows/vt_interpreter.hpp"
#include "driver/state.hpp"
#include "search/permutation_search.hpp"

namespace {

constexpr std::chrono::microseconds kCallCost{1000};

class CountingCells final : public cp::ConsoleCells {
  public:
    bool put(std::int32_t, std::int32_t, const cp::CellBlock& block) override {
        cells += block.width * block.height;
        return count();
    }
    bool get_rows(std::int32_t, std::int32_t, std::span<cp::ConsoleCell>) override {
        return count();
    }
    void fill(std::int32_t, std::int32_t, std::int64_t, std::uint16_t) override { count(); }
    void scroll_up(std::int32_t, std::int32_t, std::uint16_t) override { count(); }
    void bell() override { count(); }
    void show_cursor_at(std::int32_t, std::int32_t) override { count(); }

    std::int64_t calls = 0;
    std::int64_t cells = 0;

  private:
    bool count() {
        ++calls;
        return true;
    }
};

// What the Windows console output does with the shared renderer's bytes.
class ConsoleSink final : public cp::RenderedOutput {
  public:
    ConsoleSink(CountingCells& cells, std::int32_t width, std::int32_t height)
        : RenderedOutput(width, true), interpreter_(cells, width, height, 0x07) {}

    void flush() override {
        ++flushes;
        RenderedOutput::flush();
    }

    std::int64_t flushes = 0;

  private:
    void catch_up(const cp::Screen*) override {}
    void write_out() override {
        interpreter_.run(renderer().output().view());
        renderer().output().clear();
    }
    cp::VtInterpreter interpreter_;
};

// A person at the keyboard who types nothing while the search runs.
class NoKeys final : public cp::KeySource {
  public:
    bool interactive() const override { return true; }
    bool key_ready() override { return false; }
    std::optional<std::string> next_key() override { return std::nullopt; }
};

// width x height: the console's buffer, 900 x 16,000 as the program sets it
// in a console window, or a pseudo-console's 120 x 30 (Windows Terminal).
void BM_ConsoleCallsSearch32(benchmark::State& bench, std::int32_t width, std::int32_t height) {
    for (auto _ : bench) {
        CountingCells cells;
        ConsoleSink sink(cells, width, height);
        NoKeys keys;
        cp::SplitTerminal terminal(
            keys, sink, [&] { return std::chrono::steady_clock::now() + cells.calls * kCallCost; });
        cp::Console console(terminal);
        cp::State state;
        console.set_screen_size(900, 16000);
        terminal.flush();
        state.compressedMode = 1;
        state.exponent = 32;
        const auto started = std::chrono::steady_clock::now();
        const std::int64_t calls_before = cells.calls;
        const std::int64_t flushes_before = sink.flushes;
        cp::run_search(console, state);
        terminal.flush();
        const auto rows = static_cast<double>(state.lastIndex + 1);
        const auto calls = static_cast<double>(cells.calls - calls_before);
        bench.counters["rows"] = rows;
        bench.counters["calls"] = calls;
        bench.counters["calls/row"] = calls / rows;
        bench.counters["flushes"] = static_cast<double>(sink.flushes - flushes_before);
        bench.counters["modelled_s"] =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started +
                                          (cells.calls - calls_before) * kCallCost)
                .count();
    }
}
BENCHMARK_CAPTURE(BM_ConsoleCallsSearch32, window_900x16000, 900, 16000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ConsoleCallsSearch32, pseudo_console_120x30, 120, 30)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
