// The whole program end to end, replaying bench/session.keys: into a file (the
// pipe back ends), through a pseudo-terminal whose other end is read and
// thrown away as fast as possible (the terminal renderer), and, as the limit,
// cat of the same bytes (what the program wrote to the terminal, recorded
// once) through the same kind of pseudo-terminal.
// Each figure is the median of several runs; the pseudo-terminal runs take
// turns with the cat runs, so that both see the same load.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "program_runs.hpp"

namespace {

using namespace cp::bench;

constexpr int kRuns = 9;
constexpr int kStartRuns = 21;
constexpr unsigned short kPtyColumns = 80;
constexpr unsigned short kPtyRows = 24;
constexpr std::string_view kStartTableEnd = "Bitte EMTER  ..........";

std::string transcript_path() {
    return std::string(COLLATZPERM_BENCH_DIR) + "/session_transcript.txt";
}

struct Pty {
    int master = -1;
    int slave = -1;
    Pty() {
        winsize size{kPtyRows, kPtyColumns, 0, 0};
        if (::openpty(&master, &slave, nullptr, nullptr, &size) != 0) std::abort();
        // A child must hold nothing but its own standard descriptors.
        ::fcntl(master, F_SETFD, FD_CLOEXEC);
        ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    }
    ~Pty() {
        if (master >= 0) ::close(master);
        if (slave >= 0) ::close(slave);
    }
    // Reads everything until the child side is closed, keeping it in `kept`
    // if asked to.
    void drain(std::string* kept = nullptr) const {
        static char buffer[1 << 16];
        for (;;) {
            const ssize_t got = ::read(master, buffer, sizeof buffer);
            if (got > 0) {
                if (kept != nullptr) kept->append(buffer, static_cast<std::size_t>(got));
                continue;
            }
            if (got < 0 && errno == EINTR) continue;
            return;  // EIO: every slave descriptor is closed
        }
    }
};

// (a) keys from the file, the transcript into a file.
Run run_into_file(const std::string& out_path) {
    const int keys = open_or_die(COLLATZPERM_SESSION_KEYS, O_RDONLY);
    const int out = open_or_die(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC);
    const auto started = Clock::now();
    const pid_t pid = spawn({program()}, keys, out);
    ::close(keys);
    ::close(out);
    return reap(pid, started);
}

// (b) and (c): a command with the given standard input, its output through a pseudo-terminal.
// Without translation the terminal takes its line ends as they come, as the
// program sets it (cat gets it so set).
Run run_through_pty(const std::vector<std::string>& argv, const char* input,
                    std::string* kept = nullptr, bool translate = true) {
    Pty pty;
    if (!translate) {
        termios modes{};
        ::tcgetattr(pty.slave, &modes);
        modes.c_oflag &= ~static_cast<tcflag_t>(ONLCR);
        ::tcsetattr(pty.slave, TCSANOW, &modes);
    }
    const int in = open_or_die(input, O_RDONLY);
    const auto started = Clock::now();
    const pid_t pid = spawn(argv, in, pty.slave);
    ::close(in);
    ::close(pty.slave);
    pty.slave = -1;
    pty.drain(kept);
    return reap(pid, started);
}

// Peak resident memory in MiB, as /usr/bin/time sees it.
double peak_mib(bool through_pty) {
    const std::string report = transcript_path() + ".peak";
    const std::vector<std::string> argv = {"/usr/bin/time", "-f", "%M", "-o", report, program()};
    if (through_pty) {
        run_through_pty(argv, COLLATZPERM_SESSION_KEYS);
    } else {
        const int keys = open_or_die(COLLATZPERM_SESSION_KEYS, O_RDONLY);
        const int out = open_or_die("/dev/null", O_WRONLY);
        reap(spawn(argv, keys, out), Clock::now());
        ::close(keys);
        ::close(out);
    }
    return peak_mib_in(report);
}

const std::string& session_transcript() {
    static const std::string path = [] {
        run_into_file(transcript_path());
        return transcript_path();
    }();
    return path;
}

// What the program writes to the terminal in the session, for cat to write again.
const std::string& terminal_bytes() {
    static const std::string path = [] {
        std::string bytes;
        run_through_pty({program()}, COLLATZPERM_SESSION_KEYS, &bytes);
        const std::string file = transcript_path() + ".terminal";
        std::FILE* f = std::fopen(file.c_str(), "wb");
        if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
            std::abort();
        std::fclose(f);
        return file;
    }();
    return path;
}

void report(benchmark::State& bench, const std::vector<Run>& runs, const char* prefix) {
    std::vector<double> cpu;
    for (const Run& r : runs) {
        if (r.seconds < 0) bench.SkipWithError("the program did not end with status 0");
        cpu.push_back(r.cpu_seconds);
    }
    const std::string p(prefix);
    bench.counters[p + "cpu_ms"] = median(cpu) * 1e3;
}

void BM_SessionIntoFile(benchmark::State& bench) {
    std::vector<Run> runs;
    for (auto _ : bench) {
        for (int i = 0; i < kRuns; ++i) runs.push_back(run_into_file(session_transcript() + ".a"));
        std::vector<double> seconds;
        for (const Run& r : runs) seconds.push_back(r.seconds);
        bench.SetIterationTime(median(seconds));
    }
    report(bench, runs, "");
    bench.counters["peak_MiB"] = peak_mib(false);
}
BENCHMARK(BM_SessionIntoFile)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The figure: program through the pseudo-terminal / cat of the same bytes through one.
void BM_SessionThroughPty(benchmark::State& bench) {
    const std::string bytes = terminal_bytes();
    std::vector<Run> ours, cat;
    for (auto _ : bench) {
        for (int i = 0; i < kRuns; ++i) {
            ours.push_back(run_through_pty({program()}, COLLATZPERM_SESSION_KEYS));
            cat.push_back(run_through_pty({"/bin/cat", bytes}, "/dev/null"));
        }
        std::vector<double> seconds;
        for (const Run& r : ours) seconds.push_back(r.seconds);
        bench.SetIterationTime(median(seconds));
    }
    std::vector<double> p, c, pc, cc;
    for (const Run& r : ours) {
        p.push_back(r.seconds);
        pc.push_back(r.cpu_seconds);
    }
    for (const Run& r : cat) {
        c.push_back(r.seconds);
        cc.push_back(r.cpu_seconds);
    }
    report(bench, ours, "");
    bench.counters["peak_MiB"] = peak_mib(true);
    bench.counters["cat_ms"] = median(c) * 1e3;
    bench.counters["pty_ratio"] = median(p) / median(c);
    bench.counters["cat_cpu_ms"] = median(cc) * 1e3;
}
BENCHMARK(BM_SessionThroughPty)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// From the start of the program until the start table's last line has been
// read from the pseudo-terminal, with no key given yet.
void BM_StartToStartTable(benchmark::State& bench) {
    std::vector<double> seconds;
    std::vector<Run> runs;
    for (auto _ : bench) {
        for (int i = 0; i < kStartRuns; ++i) {
            Pty pty;
            int keys[2];
            if (::pipe2(keys, O_CLOEXEC) != 0) std::abort();
            const auto started = Clock::now();
            const pid_t pid = spawn({program()}, keys[0], pty.slave);
            ::close(keys[0]);
            ::close(pty.slave);
            pty.slave = -1;
            std::string seen;
            char buffer[4096];
            for (;;) {
                const ssize_t got = ::read(pty.master, buffer, sizeof buffer);
                if (got <= 0) break;
                seen.append(buffer, static_cast<std::size_t>(got));
                const std::size_t end = seen.find(kStartTableEnd);
                if (end != std::string::npos && seen.find('\n', end) != std::string::npos) break;
            }
            seconds.push_back(std::chrono::duration<double>(Clock::now() - started).count());
            ::close(keys[1]);  // the end of the input ends the program
            pty.drain();
            runs.push_back(reap(pid, started));
        }
        bench.SetIterationTime(median(seconds));
    }
    report(bench, runs, "");
}
BENCHMARK(BM_StartToStartTable)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The compressed search of 2^32 (about 6,700 rows) with a person at the
// terminal: keys and screen on the same pseudo-terminal, so that the key
// check after every row may see a key. From the Enter after "32" to the
// prompt after the search; the median of kRuns.
void BM_Search32AtATerminal(benchmark::State& bench) {
    constexpr std::string_view kPrompt = "Eingabe i (max 32)";
    std::vector<double> seconds;
    for (auto _ : bench) {
        for (int i = 0; i < kRuns; ++i) {
            Pty pty;
            const pid_t pid = spawn({program()}, pty.slave, pty.slave);
            ::close(pty.slave);
            pty.slave = -1;
            std::string seen;
            std::size_t prompts = 0;
            // Reads until the prompt has been shown `count` times in all.
            auto await_prompt = [&](std::size_t count) {
                char buffer[1 << 16];
                while (prompts < count) {
                    const ssize_t got = ::read(pty.master, buffer, sizeof buffer);
                    if (got <= 0) std::abort();
                    seen.append(buffer, static_cast<std::size_t>(got));
                    for (std::size_t at; (at = seen.find(kPrompt)) != std::string::npos;) {
                        ++prompts;
                        seen.erase(0, at + kPrompt.size());
                    }
                    if (seen.size() > kPrompt.size()) seen.erase(0, seen.size() - kPrompt.size());
                }
            };
            auto type = [&](std::string_view keys) {
                if (::write(pty.master, keys.data(), keys.size()) < 0) std::abort();
            };
            type("\r");  // past the start table: the search of 17
            await_prompt(1);
            type("K\r");
            await_prompt(2);
            const auto started = Clock::now();
            type("32\r");
            await_prompt(3);
            seconds.push_back(std::chrono::duration<double>(Clock::now() - started).count());
            type("Q\rx");
            pty.drain();
            reap(pid, started);
        }
        bench.SetIterationTime(median(seconds));
    }
}
BENCHMARK(BM_Search32AtATerminal)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
