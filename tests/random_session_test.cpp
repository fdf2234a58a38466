// Generated sessions against the real program in pipe mode: commands, numbers,
// entry codes, option letters, junk, very long lines, control bytes, and the
// input ending anywhere. Every session must end by itself with status 0 and
// leave a clean transcript; under the sanitizer build, any report fails it.
// SOAK_SESSIONS=n runs n more in the Soak test (make soak).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "timed_session.hpp"

namespace cp {
namespace {

using namespace std::chrono_literals;
using testing::run_timed_session;
using testing::TimedSession;

// Far above what a session of small exponents needs, far below a hang.
constexpr auto kSessionLimit = 20s;

class SessionMaker {
  public:
    explicit SessionMaker(std::uint32_t seed) : random_(seed) {}

    std::string make() {
        std::string keys;
        if (chance(90)) keys += "\n";  // past the start table (or not)
        const int lines = pick(1, 14);
        for (int i = 0; i < lines; ++i) keys += line() + newline();
        // The input ends anywhere: after a whole line, mid-line or not at all early.
        if (chance(40))
            keys.resize(static_cast<std::size_t>(pick(0, static_cast<int>(keys.size()))));
        return keys;
    }

  private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool chance(int percent) { return pick(1, 100) <= percent; }
    template <typename T>
    const T& one_of(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(pick(0, static_cast<int>(items.size()) - 1))];
    }

    std::string newline() { return one_of<std::string>({"\n", "\n", "\n", "\r", "\r\n"}); }

    // Start values for the entry codes, the ones that used to run for ever among them.
    std::string start_value() {
        return one_of<std::string>({"7", "27", "24", "0", "1", "-1", "-5", "10", "14", "20",
                                    "8528817511", "99999999999999999999", "3.5", "&HFF",
                                    "-2147483648", "1e30"});
    }

    std::string line() {
        switch (pick(0, 9)) {
            case 0:
            case 1:  // an exponent, small enough to keep the session short
                return std::to_string(pick(1, chance(85) ? 16 : 22));
            case 2:
                return one_of<std::string>({"", "", "-3", "0", "33", "40", "1e3", "&H10", " 12 ",
                                            "99999999999999999999999", "12,34", "\"7\""});
            case 3:
                return one_of<std::string>({"K", "M", "Z", "X", "B", "J", "k", "m", " z", "T"});
            case 4:
                return one_of<std::string>({"F", "D", "G", "f", "g"});
            case 5:
            case 6: {
                std::string code = one_of<std::string>(
                    {"00", "66", "75", "77", "88", "99", "A", "C", "0", "a", "c"});
                if (chance(60)) code.append(",").append(start_value());
                return code;
            }
            case 7:
                return junk(pick(1, 40));
            case 8:
                return chance(20) ? junk(pick(5000, 20000)) : junk(pick(40, 300));
            default:
                return chance(30) ? "Q" : std::to_string(pick(1, 12));
        }
    }

    // Any bytes but line ends: control bytes, Esc, high bytes.
    std::string junk(int length) {
        std::string text;
        for (int i = 0; i < length; ++i) {
            char c = static_cast<char>(pick(0, 255));
            if (c == '\n' || c == '\r') c = '\x1b';
            text.push_back(c);
        }
        return text;
    }

    std::mt19937 random_;
};

// Valid UTF-8 (shortest forms, no surrogates), no Esc, and no control bytes
// besides the line ends and the beep.
std::string transcript_fault(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            if (b < 32 && b != '\n' && b != '\a') return "control byte " + std::to_string(b);
            ++i;
            continue;
        }
        int extra = 0;
        std::uint32_t cp = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            extra = 1;
            cp = b & 0x1Fu;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2;
            cp = b & 0x0Fu;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3;
            cp = b & 0x07u;
        } else {
            return "bad UTF-8 lead byte at " + std::to_string(i);
        }
        if (i + static_cast<std::size_t>(extra) >= text.size()) {
            return "cut UTF-8 character at " + std::to_string(i);
        }
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0u) != 0x80u) return "bad UTF-8 continuation at " + std::to_string(i);
            cp = cp << 6 | (c & 0x3Fu);
        }
        const bool overlong = (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
        if (overlong || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            return "bad UTF-8 character at " + std::to_string(i);
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return {};
}

struct Figures {
    int sessions = 0;
    double longest_seconds = 0;
    std::uint32_t longest_seed = 0;
    long peak_rss_kb = 0;
};

// Runs the sessions of seeds first .. first+count-1 and checks each.
Figures run_sessions(std::uint32_t first, int count) {
    Figures figures;
    for (int n = 0; n < count; ++n) {
        const std::uint32_t seed = first + static_cast<std::uint32_t>(n);
        const std::string keys = SessionMaker(seed).make();
        const TimedSession run = run_timed_session(keys, kSessionLimit);
        ++figures.sessions;
        if (run.elapsed.count() > figures.longest_seconds) {
            figures.longest_seconds = run.elapsed.count();
            figures.longest_seed = seed;
        }
        figures.peak_rss_kb = std::max(figures.peak_rss_kb, run.max_rss_kb);
        EXPECT_EQ(ending(run), "exit status 0") << "seed " << seed << "\n"
                                                << run.errors.substr(0, 4000);
        EXPECT_EQ(run.errors, "") << "seed " << seed;
        EXPECT_EQ(transcript_fault(run.transcript), "") << "seed " << seed;
        if (::testing::Test::HasFailure()) break;  // one seed is enough to reproduce
    }
    return figures;
}

void report(const char* name, const Figures& f) {
    std::printf("%s: %d sessions, longest %.3f s (seed %u), peak memory %ld KB\n", name, f.sessions,
                f.longest_seconds, f.longest_seed, f.peak_rss_kb);
}

// Four shards, so that ctest can run them side by side.
constexpr int kSessionsPerShard = 75;
TEST(RandomSessions, Shard1) {
    report("shard 1", run_sessions(1000, kSessionsPerShard));
}
TEST(RandomSessions, Shard2) {
    report("shard 2", run_sessions(2000, kSessionsPerShard));
}
TEST(RandomSessions, Shard3) {
    report("shard 3", run_sessions(3000, kSessionsPerShard));
}
TEST(RandomSessions, Shard4) {
    report("shard 4", run_sessions(4000, kSessionsPerShard));
}

TEST(RandomSessions, Soak) {
    const char* wanted = std::getenv("SOAK_SESSIONS");
    if (wanted == nullptr) GTEST_SKIP() << "SOAK_SESSIONS is not set (make soak sets it)";
    const char* seed = std::getenv("SOAK_SEED");
    const auto first = static_cast<std::uint32_t>(seed != nullptr ? std::atol(seed) : 100000);
    report("soak", run_sessions(first, std::atoi(wanted)));

    // One session of a few commands and one of thousands: the peak memory of
    // the long one may exceed the short one's by the screen's rows, no more.
    auto commands = [](int count) {
        std::string keys = "\n";
        for (int i = 0; i < count; ++i) keys += std::to_string(3 + i % 10) + "\nK\nG\n00,7\n";
        return keys;
    };
    const TimedSession brief = run_timed_session(commands(5), 60s);
    const TimedSession longer = run_timed_session(commands(2000), 600s);
    EXPECT_EQ(brief.exit_status, 0);
    EXPECT_EQ(longer.exit_status, 0);
    std::printf("memory: 20 commands %ld KB, 8000 commands %ld KB (%.1f s)\n", brief.max_rss_kb,
                longer.max_rss_kb, longer.elapsed.count());
}

TEST(RandomSessions, TranscriptCheckKnowsBadText) {
    EXPECT_EQ(transcript_fault("ok \u25A0\n\a"), "");
    EXPECT_NE(transcript_fault("\x1b[0m"), "");
    EXPECT_NE(transcript_fault("\xc3"), "");
    EXPECT_NE(transcript_fault("\xc0\x80"), "");
    EXPECT_NE(transcript_fault("\xed\xa0\x80"), "");
    EXPECT_NE(transcript_fault("a\x02"), "");
}

}  // namespace
}  // namespace cp
