// Whole sessions of the real program in pipe mode against their recorded
// transcripts. Run times are the only thing that may differ between runs.
// COLLATZPERM_UPDATE_GOLDEN=1 records the transcripts anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "timed_session.hpp"

namespace cp {
namespace {

namespace fs = std::filesystem;

// " 0 sek" at a search's result line and " .01 Sek. " after a listing.
std::string without_times(const std::string& transcript) {
    static const std::regex search_time(R"( -?[0-9.E+-]+ sek\n)");
    static const std::regex listing_time(R"(\n -?[0-9.E+-]+ Sek\. )");
    std::string text = std::regex_replace(transcript, search_time, " T sek\n");
    return std::regex_replace(text, listing_time, "\n T Sek. ");
}

TEST(GoldenSession, TranscriptsMatchTheirRecords) {
    const fs::path dir = COLLATZPERM_GOLDEN_DIR;
    const bool update = std::getenv("COLLATZPERM_UPDATE_GOLDEN") != nullptr;
    std::size_t sessions = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".keys") continue;
        ++sessions;
        const fs::path record = fs::path(entry.path()).replace_extension(".transcript");
        const auto result = testing::run_session(testing::read_file(entry.path()));
        EXPECT_EQ(result.exit_status, 0) << entry.path();
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
            ASSERT_TRUE(std::getline(a, actual_line)) << record << " ends early at line " << line;
            ASSERT_EQ(actual_line, expected_line) << record << " line " << line;
        }
        EXPECT_FALSE(std::getline(a, actual_line)) << record << " has more lines";
    }
    EXPECT_GT(sessions, 0u);
}

}  // namespace
}  // namespace cp
