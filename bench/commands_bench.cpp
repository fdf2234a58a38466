// The commands for scripts, end to end: the real program's records into
// /dev/null, the time to its first record, a reader that takes three and
// goes, and the peak memory of each.
#include <benchmark/benchmark.h>

#include <signal.h>
#include <string>
#include <vector>

#include "program_runs.hpp"

namespace {

using namespace cp::bench;

constexpr int kRuns = 3;
constexpr int kQuickRuns = 21;

std::vector<std::string> command(std::vector<std::string> words) {
    words.insert(words.begin(), program());
    words.emplace_back("--progress=never");
    return words;
}

// The whole output into /dev/null: the median of kRuns.
void BM_CommandIntoNull(benchmark::State& bench, std::vector<std::string> words) {
    const std::vector<std::string> argv = command(std::move(words));
    std::vector<double> seconds;
    std::vector<double> cpu;
    for (auto _ : bench) {
        for (int i = 0; i < kRuns; ++i) {
            const int in = open_or_die("/dev/null", O_RDONLY);
            const int out = open_or_die("/dev/null", O_WRONLY);
            const auto started = Clock::now();
            const pid_t pid = spawn(argv, in, out);
            ::close(in);
            ::close(out);
            const Run run = reap(pid, started);
            if (run.seconds < 0) bench.SkipWithError("the program did not end with status 0");
            seconds.push_back(run.seconds);
            cpu.push_back(run.cpu_seconds);
        }
        bench.SetIterationTime(median(seconds));
    }
    bench.counters["cpu_ms"] = median(cpu) * 1e3;
    bench.counters["peak_MiB"] =
        peak_mib_of(argv, std::string(COLLATZPERM_BENCH_DIR) + "/commands.peak");
}
BENCHMARK_CAPTURE(BM_CommandIntoNull, search_60_compressed_csv,
                  {"search", "60", "--compressed", "--format=csv"})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CommandIntoNull, search_60_compressed_csv_jobs_1,
                  {"search", "60", "--compressed", "--format=csv", "--jobs=1"})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// From the spawn until `lines` lines have been read from the pipe; then the
// reader goes away. The median of kQuickRuns.
void BM_CommandFirstLines(benchmark::State& bench, std::vector<std::string> words, int lines) {
    const std::vector<std::string> argv = command(std::move(words));
    std::vector<double> seconds;
    for (auto _ : bench) {
        for (int i = 0; i < kQuickRuns; ++i) {
            int out[2];
            if (::pipe2(out, O_CLOEXEC) != 0) std::abort();
            const int in = open_or_die("/dev/null", O_RDONLY);
            const auto started = Clock::now();
            const pid_t pid = spawn(argv, in, out[1]);
            ::close(in);
            ::close(out[1]);
            int seen = 0;
            char buffer[4096];
            while (seen < lines) {
                const ssize_t got = ::read(out[0], buffer, sizeof buffer);
                if (got <= 0) break;
                seen += static_cast<int>(std::count(buffer, buffer + got, '\n'));
            }
            seconds.push_back(std::chrono::duration<double>(Clock::now() - started).count());
            ::close(out[0]);  // a closed pipe ends it (SIGPIPE)
            ::kill(pid, SIGKILL);
            reap(pid, started);
        }
        bench.SetIterationTime(median(seconds));
    }
}
// The header and the first record.
BENCHMARK_CAPTURE(BM_CommandFirstLines, search_32_csv_first_record,
                  {"search", "32", "--format=csv"}, 2)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CommandFirstLines, search_127_head_3, {"search", "127"}, 3)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
