// Counting the start numbers of every 2^i: the counter against a plain
// depth-first walk, its time and peak memory with every job, how soon it
// stops and how its progress moves. Each run is a process of its own.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <string>

namespace {

// The key=value line of one run of the probe.
std::map<std::string, double> probe(const std::string& arguments) {
    const std::string command = std::string(COLLATZPERM_COUNT_PROBE) + " " + arguments;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::array<char, 512> line{};
    std::map<std::string, double> values;
    if (!pipe || !fgets(line.data(), line.size(), pipe.get())) return values;
    std::istringstream fields(line.data());
    for (std::string field; fields >> field;) {
        const auto equals = field.find('=');
        values[field.substr(0, equals)] = std::stod(field.substr(equals + 1));
    }
    return values;
}

// sign, compressed, deepest, jobs, and the count the run must give.
void BM_Count(benchmark::State& bench, int sign, int compressed, int deepest, int jobs,
              double expected) {
    for (auto _ : bench) {
        auto run = probe(std::to_string(sign) + " " + std::to_string(compressed) + " " +
                         std::to_string(deepest) + " " + std::to_string(jobs));
        if (run["count"] != expected) bench.SkipWithError("wrong count");
        bench.SetIterationTime(run["seconds"]);
        bench.counters["cpu_s"] = run["cpu"];
        bench.counters["peak_MiB"] = run["peak_kib"] / 1024;
        bench.counters["standstill_ms"] = run["standstill"] * 1000;
    }
}
BENCHMARK_CAPTURE(BM_Count, plus_1_to_100, 1, 0, 100, 2, 9599145278.0)
    ->Iterations(1)
    ->Repetitions(3)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_Count, plus_compressed_1_to_80, 1, 1, 80, 2, 6638155867.0)
    ->Iterations(1)
    ->Repetitions(3)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

// One job each, side by side: the plain walk, then the counter. Compressed
// to 72 the walk takes tens of seconds.
void BM_CountAgainstWalk(benchmark::State& bench) {
    for (auto _ : bench) {
        auto walked = probe("1 1 72 1 walk");
        auto counted = probe("1 1 72 1");
        if (walked["count"] != counted["count"]) bench.SkipWithError("different counts");
        bench.SetIterationTime(counted["seconds"]);
        bench.counters["walk_s"] = walked["seconds"];
        bench.counters["times_faster"] = walked["seconds"] / counted["seconds"];
    }
}
BENCHMARK(BM_CountAgainstWalk)
    ->Iterations(1)
    ->Repetitions(3)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

// From the stop flag to the count's return, in the middle of 1..100.
void BM_CountStops(benchmark::State& bench) {
    for (auto _ : bench) {
        auto run = probe("1 0 100 2 stop=1000");
        if (run["count"] != 0 || run["stop_seconds"] < 0) bench.SkipWithError("not stopped");
        bench.SetIterationTime(run["stop_seconds"]);
    }
}
BENCHMARK(BM_CountStops)
    ->Iterations(1)
    ->Repetitions(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
