// One count in a process of its own, so that its peak memory is the count's:
//   count_probe SIGN COMPRESSED DEEPEST JOBS [walk | stop=MS]
// `walk` counts node by node, as a plain depth-first walk does; `stop=MS`
// sets the stop flag after MS milliseconds. Prints one line of key=value.
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "search/level_counts.hpp"

namespace {

using Clock = std::chrono::steady_clock;

__extension__ using Value = unsigned __int128;

// The depth-first walk, node by node, the way to count without residues:
// values of more than 64 bits, so without division (2^64 is 1 modulo 3, and
// an exact division by 3 is a multiplication by the inverse of 3).
void walk(Value value, std::int32_t depth, std::int32_t deepest, cp::StepRules rules,
          std::uint64_t* counts) {
    static constexpr Value kInverseOf3 =
        (Value{0xAAAAAAAAAAAAAAAAull} << 64) | 0xAAAAAAAAAAAAAAABull;
    ++counts[depth];
    if (depth == deepest) return;
    walk(2 * value, depth + 1, deepest, rules, counts);
    const Value base = rules.compressed ? 2 * value : value;
    const auto mod3 =
        (static_cast<std::uint64_t>(base) % 3 + static_cast<std::uint64_t>(base >> 64) % 3) % 3;
    if (mod3 != (rules.sign > 0 ? 1u : 2u)) return;
    const Value p = (rules.sign > 0 ? base - 1 : base + 1) * kInverseOf3;
    if ((p & 1) != 0 && p > 1) walk(p, depth + 1, deepest, rules, counts);
}

double cpu_seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The peak resident memory of this process, in KiB.
long peak_kib() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) return 2;
    const cp::StepRules rules{std::atoi(argv[1]), std::atoi(argv[2]) != 0};
    const std::int32_t deepest = std::atoi(argv[3]);
    const std::string how = argc > 5 ? argv[5] : "count";
    cp::WorkProgress progress;
    std::atomic<bool> stop{false};
    cp::CountOptions options{std::atoi(argv[4]), &stop, &progress};
    const long stop_after_ms = how.rfind("stop=", 0) == 0 ? std::atol(how.c_str() + 5) : -1;

    // Watches the progress every millisecond for its longest standstill, and
    // sets the stop flag when asked to.
    std::atomic<bool> finished{false};
    double longest_standstill = 0;
    Clock::time_point stopped_at;
    const Clock::time_point started = Clock::now();
    std::thread watcher([&] {
        std::uint64_t done = 0;
        Clock::time_point changed = Clock::now();
        while (!finished.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            const Clock::time_point now = Clock::now();
            if (progress.done.load() != done) {
                done = progress.done.load();
                longest_standstill = std::max(longest_standstill,
                                              std::chrono::duration<double>(now - changed).count());
                changed = now;
            }
            if (stop_after_ms >= 0 && !stop.load() &&
                now - started >= std::chrono::milliseconds(stop_after_ms)) {
                stopped_at = Clock::now();
                stop = true;
            }
        }
    });

    std::uint64_t last = 0;
    if (how == "walk") {
        std::vector<std::uint64_t> counts(static_cast<std::size_t>(deepest) + 1, 0);
        walk(1, 0, deepest, rules, counts.data());
        last = counts.back();
    } else {
        const cp::TreePart root{};
        const auto counts = cp::count_levels(rules, std::span(&root, 1), deepest, options);
        last = counts ? counts->back() : 0;
    }
    const Clock::time_point ended = Clock::now();
    const bool was_stopped = stop.load();
    finished = true;
    watcher.join();
    std::printf("count=%llu seconds=%.4f cpu=%.3f peak_kib=%ld standstill=%.4f stop_seconds=%.4f\n",
                static_cast<unsigned long long>(last),
                std::chrono::duration<double>(ended - started).count(), cpu_seconds(), peak_kib(),
                longest_standstill,
                was_stopped ? std::chrono::duration<double>(ended - stopped_at).count() : -1.0);
    return 0;
}
