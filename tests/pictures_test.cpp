// The pictures' records: what a search, a sequence run and a listing report
// to the page, checked against the screen and against the step map itself.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "command_runner.hpp"
#include "console/strings.hpp"
#include "driver/program.hpp"
#include "pictures/picture_records.hpp"
#include "scripted_terminal.hpp"
#include "search/permutation_search.hpp"

namespace cp {
namespace {

using testing::ScriptedTerminal;

std::vector<std::string> fields(std::string_view line) {
    std::vector<std::string> out(1);
    for (const char c : line) {
        if (c == ',') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

struct PicturesTest : ::testing::Test {
    std::string records;
    std::vector<std::string> batches;
    PictureRecorder recorder{[this](std::string_view batch) {
        batches.emplace_back(batch);
        records += batch;
    }};
    State state;

    void SetUp() override { state.observer = &recorder; }

    // A session from its first key: past the start table, then `keys`.
    void session(std::string_view keys) {
        records.clear();
        state = State{};
        state.observer = &recorder;
        ScriptedTerminal terminal(false);
        terminal.type("\r");
        terminal.type(keys);
        Console console(terminal);
        run_program(console, state);
        recorder.flush();
    }

    // The lines of the last picture of a kind ("search", "run", "listing"),
    // up to its end.
    std::vector<std::string> last(std::string_view kind) const {
        const std::string head = std::string(kind) + ",";
        std::vector<std::string> lines;
        bool in = false;
        for (std::size_t begin = 0; begin < records.size();) {
            const std::size_t end = records.find('\n', begin);
            const std::string line = records.substr(begin, end - begin);
            begin = end + 1;
            if (line.starts_with(head)) {
                lines.clear();
                in = true;
            }
            if (in) lines.push_back(line);
            if (line.starts_with("end")) in = false;
        }
        return lines;
    }

    static std::vector<std::string> csv(const std::vector<std::string>& lines) {
        std::vector<std::string> out;
        for (const std::string& line : lines)
            if (line.starts_with("c,")) out.push_back(line.substr(2));
        return out;
    }
};

using Lines = std::vector<std::string>;

// Every node and row of the tree: 1 at the root, each value one step before
// the last value one depth above it, its start numbers the table's.
TEST_F(PicturesTest, TheTreeIsTheWalkAndItsLeavesTheRows) {
    struct Case {
        std::string keys;
        std::int64_t exponent, sign;
        bool compressed;
        std::size_t values;  // the root, the nodes and the leaves
    };
    for (const Case& c : {Case{"8\r", 8, 1, false, 17}, Case{"M\r20\r", 20, -1, false, 0},
                          Case{"K\r", 17, 1, true, 0}, Case{"K\r32\r", 32, 1, true, 26762}}) {
        session(c.keys);
        const Lines lines = last("search");
        ASSERT_EQ(fields(lines[0]),
                  (Lines{"search", std::to_string(c.exponent), c.sign > 0 ? "3n+1" : "3n-1",
                         c.compressed ? "1" : "0"}));
        EXPECT_EQ(lines.back(), "end,0");
        std::vector<std::int64_t> path{1};  // the values from the root down
        std::vector<std::int64_t> leaves;
        std::size_t values = 1;
        const auto step = [&](std::int64_t v, bool multiplication) {
            if (!multiplication) return v / 2;
            return c.compressed ? (3 * v + c.sign) / 2 : 3 * v + c.sign;
        };
        for (const std::string& line : lines) {
            const Lines f = fields(line);
            std::int64_t depth = 0, value = 0;
            bool multiplication = false;
            if (f[0] == "n") {
                depth = std::stoll(f[1]);
                value = std::stoll(f[2]);
                multiplication = f[3] == "1";
            } else if (f[0] == "c" && f[1] != "exponent") {
                depth = c.exponent;
                value = std::stoll(f[3]);
                multiplication = f[5].front() == '1';
                leaves.push_back(value);
            } else {
                continue;
            }
            ++values;
            ASSERT_LE(static_cast<std::size_t>(depth), path.size()) << line;
            path.resize(static_cast<std::size_t>(depth));
            EXPECT_EQ(step(value, multiplication), path.back()) << line;
            EXPECT_EQ(multiplication, value % 2 != 0) << line;
            path.push_back(value);
        }
        EXPECT_EQ(leaves,
                  std::vector<std::int64_t>(state.startNumbers.begin(),
                                            state.startNumbers.begin() + state.lastIndex + 1));
        if (c.values != 0) {
            EXPECT_EQ(values, c.values) << c.keys;
        }
    }
}

// The CSV of a search and of a plain run is what `collatzperm search` and
// `collatzperm sequence` write for them.
TEST_F(PicturesTest, CsvAsTheCommandsWriteIt) {
    struct Case {
        std::string keys;
        std::vector<std::string> search, sequence;
    };
    for (const Case& c : {Case{"8\r007\r", {"search", "8"}, {"sequence", "7"}},
                          // 3n-1: a cycle ends at its first repeat.
                          Case{"M\r0010\r",
                               {"search", "17", "--variant=3n-1"},
                               {"sequence", "10", "--variant=3n-1"}},
                          Case{"K\r20\r0027\r",
                               {"search", "20", "--compressed"},
                               {"sequence", "27", "--compressed"}}}) {
        session(c.keys);
        for (const auto& [kind, words] : {std::pair{"search", c.search}, {"run", c.sequence}}) {
            std::vector<std::string> command = words;
            command.push_back("--format=csv");
            std::string written;
            for (const std::string& line : csv(last(kind))) written += line + "\n";
            EXPECT_EQ(written, testing::run(command).out) << c.keys;
        }
    }
}

// Runs that print more than a sequence: each value printed, with how it came.
TEST_F(PicturesTest, OtherRunsTellHowEachValueCame) {
    // The guard list: 16 printed, then the run of 111111111111111.
    session("M\r0016\r");
    const Lines guard = last("run");
    EXPECT_EQ(Lines(guard.begin(), guard.begin() + 6),
              (Lines{"run,00,3n-1,0", "c,step,value,repeat_of", "v,s,16", "c,0,16,",
                     "replaced,111111111111111", "v,m,333333333333332"}));
    // "88" from 24 in 3n-1: each candidate, and the repeat that rejects it.
    session("M\r88\r");
    Lines kinds;
    for (const std::string& line : last("run"))
        if (line.starts_with("v,")) kinds.push_back(line.substr(2));
    EXPECT_EQ(Lines(kinds.begin(), kinds.begin() + 13),
              (Lines{"s,24", "c,25", "r,74", "c,26", "r,14", "c,27", "r,20", "c,28", "r,14", "c,29",
                     "m,86", "h,43", "m,128"}));
    // A rejecting repeat came in the candidate's own sequence, not printed.
    EXPECT_EQ(csv(last("run"))[9], "8,14,");
    // "66": the odd values, each after its jump.
    session("667\r");
    kinds.clear();
    for (const std::string& line : last("run"))
        if (line.starts_with("v,")) kinds.push_back(line.substr(2));
    EXPECT_EQ(kinds, (Lines{"s,7", "m,13", "m,5", "m,1"}));
}

TEST_F(PicturesTest, AStoppedSearchHasTheRowsItShowed) {
    ScriptedTerminal terminal(true);
    Console console(terminal);
    console.set_screen_size(900, 2000);
    state.exponent = 20;
    terminal.type(" x\r");
    run_search(console, state);
    recorder.flush();
    const Lines lines = last("search");
    EXPECT_EQ(lines.back(), "end,1");
    EXPECT_EQ(csv(lines).size(), static_cast<std::size_t>(state.lastIndex) + 2);
}

// A listing's records are the search's records of its rows, each row followed
// by the terms it shows; the form D starts at the odd part.
TEST_F(PicturesTest, AListingHasItsRowsAndTheirTerms) {
    session("8\rG\rD\r");
    const Lines lines = last("listing");
    EXPECT_EQ(lines[0], "listing,D,3n+1");
    EXPECT_EQ(csv(lines), csv(last("search")));
    const auto row = std::find(lines.begin(), lines.end(), "row,2,40");
    ASSERT_NE(row, lines.end());
    EXPECT_EQ(Lines(row + 1, row + 6), (Lines{"v,h,5", "v,m,16", "v,h,8", "v,h,4", "v,h,2"}));
    EXPECT_EQ(*(row + 7), "c,8,4,6,2,01010000");
}

// What gathers goes out when the program waits for a command, whole lines.
TEST_F(PicturesTest, HandedOverAtEachPrompt) {
    session("5\r");
    ASSERT_GE(batches.size(), 2u);
    for (const std::string& batch : batches) EXPECT_EQ(batch.back(), '\n');
    EXPECT_TRUE(batches[0].ends_with("prompt\n"));
    EXPECT_TRUE(batches[1].starts_with("search,5,3n+1,0\n"));
}

}  // namespace
}  // namespace cp
