// Whole sessions of the real program in pipe mode against their recorded
// transcripts, in both languages. Run times are the only thing that may
// differ between runs.
// COLLATZPERM_UPDATE_GOLDEN=1 records the transcripts anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "timed_session.hpp"

namespace cp {
namespace {

namespace fs = std::filesystem;

// " 0 sek" at a search's result line and " .01 Sek. " after a listing (in
// English "sec" and "sec.").
std::string without_times(const std::string& transcript) {
    static const std::regex search_time(R"( -?[0-9.E+-]+ (sek|sec)\n)");
    static const std::regex listing_time(R"(\n -?[0-9.E+-]+ (Sek|sec)\. )");
    std::string text = std::regex_replace(transcript, search_time, " T $1\n");
    return std::regex_replace(text, listing_time, "\n T $1. ");
}

// Each session's keys, once in German (name.transcript) and once in English
// (name_en.transcript).
struct SessionLanguage {
    std::string suffix;
    std::vector<std::string> arguments;
};

TEST(GoldenSession, TranscriptsMatchTheirRecords) {
    const fs::path dir = COLLATZPERM_GOLDEN_DIR;
    const bool update = std::getenv("COLLATZPERM_UPDATE_GOLDEN") != nullptr;
    const SessionLanguage languages[] = {{"", {}}, {"_en", {"--language=en"}}};
    std::size_t sessions = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".keys") continue;
        for (const SessionLanguage& language : languages) {
            ++sessions;
            const fs::path record =
                dir / (entry.path().stem().string() + language.suffix + ".transcript");
            const auto result = testing::run_timed_session(
                testing::read_file(entry.path()), std::chrono::minutes(2), language.arguments);
            EXPECT_EQ(result.exit_status, 0) << record;
            const std::string actual = without_times(result.transcript);
            if (update) {
                std::ofstream(record, std::ios::binary) << actual;
                continue;
            }
            const std::string expected = testing::read_file(record);
            // Line by line, so that a difference names its line.
            std::istringstream a(actual);
            std::istringstream e(expected);
            std::string actual_line;
            std::string expected_line;
            for (int line = 1; std::getline(e, expected_line); ++line) {
                ASSERT_TRUE(std::getline(a, actual_line))
                    << record << " ends early at line " << line;
                ASSERT_EQ(actual_line, expected_line) << record << " line " << line;
            }
            EXPECT_FALSE(std::getline(a, actual_line)) << record << " has more lines";
        }
    }
    EXPECT_GT(sessions, 0u);
}

}  // namespace
}  // namespace cp
