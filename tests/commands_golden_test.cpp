// A few commands for scripts through the real program against their recorded
// output, the same bytes on every platform (the node build has a script of
// its own for the same record). COLLATZPERM_UPDATE_GOLDEN=1 records them anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "timed_session.hpp"

namespace cp {
namespace {

constexpr std::string_view kPrompt = "$ collatzperm ";

TEST(CommandsGolden, OutputsMatchTheirRecord) {
    const std::filesystem::path path =
        std::filesystem::path(COLLATZPERM_GOLDEN_DIR) / "commands.txt";
    const bool update = std::getenv("COLLATZPERM_UPDATE_GOLDEN") != nullptr;
    std::istringstream record(testing::read_file(path));
    std::string recorded;
    std::string line;
    std::vector<std::string> commands;
    std::vector<std::string> expected;
    while (std::getline(record, line)) {
        if (line.starts_with(kPrompt)) {
            commands.push_back(line.substr(kPrompt.size()));
            expected.emplace_back();
        } else if (!expected.empty()) {
            expected.back() += line + "\n";
        }
    }
    ASSERT_FALSE(commands.empty());
    for (std::size_t c = 0; c < commands.size(); ++c) {
        std::vector<std::string> arguments;
        std::istringstream words(commands[c]);
        for (std::string word; words >> word;) arguments.push_back(word);
        const auto run = testing::run_timed_session("", std::chrono::seconds(60), arguments);
        EXPECT_EQ(run.exit_status, 0) << commands[c];
        EXPECT_EQ(run.errors, "") << commands[c];
        if (!update) {
            EXPECT_EQ(run.transcript, expected[c]) << commands[c];
        }
        recorded += std::string(kPrompt) + commands[c] + "\n" + run.transcript;
    }
    if (update) std::ofstream(path, std::ios::binary) << recorded;
}

}  // namespace
}  // namespace cp
