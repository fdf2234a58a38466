// The commands for scripts, run in the test's own process: their records
// against the interactive search and a forward run, their counts, the same
// bytes whatever the threads and pieces, and one line for each wrong argument.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "command_runner.hpp"
#include "scripted_terminal.hpp"
#include "search/permutation_search.hpp"
#include "search/search_walk.hpp"

namespace cp {
namespace {

using testing::Outcome;
using testing::run;

std::vector<std::vector<std::string>> csv_records(const std::string& text) {
    std::vector<std::vector<std::string>> records;
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);  // the header
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream in(line);
        for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
        records.push_back(fields);
    }
    return records;
}

TreeValue value_of(const std::string& digits) {
    TreeValue v = 0;
    for (const char c : digits) v = 10 * v + static_cast<TreeValue>(c - '0');
    return v;
}

struct Mode {
    const char* variant;
    bool compressed;
    StepRules rules() const { return {std::string(variant) == "3n+1" ? 1 : -1, compressed}; }
    std::vector<std::string> options() const {
        std::vector<std::string> words = {std::string("--variant=") + variant};
        if (compressed) words.emplace_back("--compressed");
        return words;
    }
};
constexpr Mode kModes[] = {{"3n+1", false}, {"3n+1", true}, {"3n-1", false}, {"3n-1", true}};

std::vector<std::string> words_of(std::vector<std::string> words, const Mode& mode) {
    for (std::string& option : mode.options()) words.push_back(option);
    return words;
}

// The parity vector is the steps of the start number's own sequence, which
// reaches 1 after exactly `exponent` of them and not before.
void expect_forward_run(const std::vector<std::string>& record, StepRules rules) {
    const std::size_t exponent = std::stoul(record[0]);
    const std::string& parity = record[4];
    ASSERT_EQ(parity.size(), exponent);
    EXPECT_EQ(std::count(parity.begin(), parity.end(), '1'), std::stol(record[3]));
    TreeValue v = value_of(record[2]);
    for (std::size_t k = 0; k < exponent; ++k) {
        ASSERT_NE(v, 1u) << record[2] << " reaches 1 early";
        const bool odd = v % 2 == 1;
        ASSERT_EQ(parity[k], odd ? '1' : '0') << record[2] << " step " << k + 1;
        if (odd) {
            v = rules.sign > 0 ? 3 * v + 1 : 3 * v - 1;
            if (rules.compressed) v /= 2;
        } else {
            v /= 2;
        }
    }
    EXPECT_EQ(v, 1u) << record[2];
}

// The interactive search's start numbers, with m read from their rows' labels.
std::vector<std::pair<std::int64_t, std::int64_t>> interactive_rows(std::int32_t exponent,
                                                                    const Mode& mode) {
    testing::ScriptedTerminal terminal(false);
    Console console(terminal);
    console.set_screen_size(900, 16000);
    State state;
    state.exponent = exponent;
    state.multiplierSign = mode.rules().sign;
    state.compressedMode = mode.compressed ? 1 : 0;
    run_search(console, state);
    std::vector<std::pair<std::int64_t, std::int64_t>> rows;
    for (std::int64_t r = 0; r <= state.lastIndex; ++r) {
        const std::string label =
            testing::row_text(console.screen(), static_cast<std::int32_t>(r)).substr(0, 15);
        const std::int64_t m = std::stol(label.substr(label.find('.', 8) + 1));
        rows.emplace_back(state.startNumbers[static_cast<std::size_t>(r)], m);
    }
    return rows;
}

TEST(SearchCommand, RecordsAreTheInteractiveRowsInAllFourModes) {
    for (const Mode& mode : kModes) {
        for (std::int32_t exponent = 1; exponent <= 32; ++exponent) {
            const Outcome outcome =
                run(words_of({"search", std::to_string(exponent), "--format=csv"}, mode));
            ASSERT_EQ(outcome.status, 0);
            const auto records = csv_records(outcome.out);
            const auto rows = interactive_rows(exponent, mode);
            ASSERT_EQ(records.size(), rows.size()) << mode.variant << mode.compressed << exponent;
            for (std::size_t r = 0; r < rows.size(); ++r) {
                ASSERT_EQ(records[r][1], std::to_string(r + 1));
                ASSERT_EQ(records[r][2], std::to_string(rows[r].first))
                    << exponent << " row " << r + 1;
                ASSERT_EQ(records[r][3], std::to_string(rows[r].second))
                    << exponent << " row " << r + 1;
                expect_forward_run(records[r], mode.rules());
            }
        }
    }
}

TEST(SearchCommand, DeepRecordsRunForwardsExactly) {
    // The first records of 2^127 and 2^64: values past 64 bits, the reader
    // gone after a few hundred kilobytes, which ends the command quietly.
    for (const Mode& mode : kModes) {
        for (const char* exponent : {"127", "64"}) {
            const Outcome outcome =
                run(words_of({"search", exponent, "--format=csv"}, mode), 300000);
            EXPECT_EQ(outcome.status, 0);
            EXPECT_EQ(outcome.err, "");
            auto records = csv_records(outcome.out);
            records.pop_back();  // cut by the closed output
            ASSERT_GT(records.size(), 500u);
            for (const auto& record : records) expect_forward_run(record, mode.rules());
        }
    }
}

TEST(SearchWalk, WidePredecessorAgreesWithThePlainOne) {
    TreeValue v = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < 20000; ++i) {
        v = v * 6364136223846793005u + 1442695040888963407u;
        const TreeValue value = (v >> (i % 8 + 2)) | 1u << (i % 3);  // below 2^126, any residue
        for (const Mode& mode : kModes) {
            ASSERT_EQ(walk_predecessor(value, mode.rules()),
                      multiplication_predecessor(value, mode.rules()).value_or(0));
        }
    }
}

std::string count_of(const std::vector<std::string>& words) {
    const Outcome outcome = run(words);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const auto records = csv_records(outcome.out);
    return records.empty() ? "" : records.back()[1];
}

TEST(CountCommand, CountsAsKnown) {
    EXPECT_EQ(count_of({"count", "29", "--format=csv"}), "578");
    EXPECT_EQ(count_of({"count", "29", "--compressed", "--format=csv"}), "2829");
    EXPECT_EQ(count_of({"count", "40", "--format=csv"}), "7628");
    EXPECT_EQ(count_of({"count", "1..60", "--format=csv"}), "823238");
    EXPECT_EQ(count_of({"count", "32", "--variant=3n-1", "--compressed", "--format=csv"}), "5772");
    const Outcome range = run({"count", "1..8", "--format=csv"});
    EXPECT_EQ(range.out, "exponent,count\n1,1\n2,1\n3,1\n4,1\n5,2\n6,2\n7,4\n8,4\n");
}

TEST(Commands, SameBytesWhateverTheJobsAndPieces) {
    const auto pieces = [](std::vector<std::string> words, int n) {
        std::string joined;
        words.emplace_back();
        for (int k = 1; k <= n; ++k) {
            words.back() = "--part=" + std::to_string(k) + "/" + std::to_string(n);
            joined += run(words).out;
        }
        return joined;
    };
    // 2^42 is deep enough to be shared among threads.
    const std::vector<std::string> deep = {"search", "42", "--format=csv", "--variant=3n-1"};
    const std::string whole = run(deep).out;
    for (const char* jobs : {"--jobs=1", "--jobs=5"}) {
        auto words = deep;
        words.emplace_back(jobs);
        EXPECT_EQ(run(words).out, whole) << jobs;
        EXPECT_EQ(pieces(words, 3), whole) << jobs;
    }
    for (const Mode& mode : kModes) {
        for (const char* format : {"--format=text", "--format=json"}) {
            const auto words = words_of({"search", "32", format}, mode);
            const std::string all = run(words).out;
            for (const int n : {2, 7})
                EXPECT_EQ(pieces(words, n), all) << n << mode.variant << format;
        }
    }
}

TEST(Commands, CountPiecesSumToTheWhole) {
    const auto whole = csv_records(run({"count", "1..34", "--compressed", "--format=csv"}).out);
    std::vector<std::uint64_t> sums(whole.size(), 0);
    for (int k = 1; k <= 5; ++k) {
        const Outcome part = run({"count", "1..34", "--compressed", "--format=csv",
                                  "--part=" + std::to_string(k) + "/5"});
        // Only the first piece has the header.
        EXPECT_EQ(part.out.starts_with("exponent,"), k == 1);
        const auto records = csv_records(k == 1 ? part.out : "\n" + part.out);
        ASSERT_EQ(records.size(), whole.size());
        for (std::size_t e = 0; e < records.size(); ++e) sums[e] += std::stoull(records[e][1]);
    }
    for (std::size_t e = 0; e < whole.size(); ++e) EXPECT_EQ(std::to_string(sums[e]), whole[e][1]);
}

TEST(Commands, WrongArgumentsGetOneLineAndStatus2) {
    struct Case {
        std::vector<std::string> words;
        std::string line;
    };
    const Case cases[] = {
        {{"search"}, "collatzperm search: missing exponent I (1 to 127)"},
        {{"search", "0"}, "collatzperm search: exponent 0 is out of range (1 to 127)"},
        {{"search", "128"}, "collatzperm search: exponent 128 is out of range (1 to 127)"},
        {{"search", "-5"}, "collatzperm search: exponent -5 is out of range (1 to 127)"},
        {{"search", "x"}, "collatzperm search: exponent 'x' is not a whole number (1 to 127)"},
        {{"search", "5", "6"},
         "collatzperm search: unexpected argument '6' (one exponent I, 1 to 127)"},
        {{"count", "5..3"}, "collatzperm count: range 5..3 is empty (1 <= A <= B <= 127)"},
        {{"count", "1..200"}, "collatzperm count: exponent 200 is out of range (1 to 127)"},
        {{"count", "1..x"}, "collatzperm count: '1..x' is not A..B or I (1 <= A <= B <= 127)"},
        {{"search", "5", "--part=0/3"},
         "collatzperm search: --part=0/3 is out of range (K/N with 1 <= K <= N <= 10000)"},
        {{"count", "5", "--part=4/3"},
         "collatzperm count: --part=4/3 is out of range (K/N with 1 <= K <= N <= 10000)"},
        {{"search", "5", "--part=1"},
         "collatzperm search: --part=1 is not K/N (K/N with 1 <= K <= N <= 10000)"},
        {{"search", "5", "--jobs=0"}, "collatzperm search: --jobs=0 is out of range (1 to 1024)"},
        {{"search", "5", "--format=xml"},
         "collatzperm search: unknown format 'xml' (text, csv or json)"},
        {{"search", "5", "--variant=5n+1"},
         "collatzperm search: unknown variant '5n+1' (3n+1 or 3n-1)"},
        {{"search", "5", "--progress=sometimes"},
         "collatzperm search: unknown progress 'sometimes' (auto, always or never)"},
        {{"search", "5", "--format"},
         "collatzperm search: option '--format' needs a value (text, csv or json)"},
        {{"search", "5", "--compressed=yes"},
         "collatzperm search: option '--compressed' takes no value"},
        {{"search", "5", "--frob"},
         "collatzperm search: unknown option '--frob' (--variant, --compressed, --format, --jobs, "
         "--part, "
         "--progress, --help)"},
        {{"sequence", "27", "--jobs=2"},
         "collatzperm sequence: unknown option '--jobs=2' (--variant, --compressed, --format, "
         "--help)"},
        {{"sequence", "1.5"},
         "collatzperm sequence: '1.5' is not an integer (decimal digits, with - before a "
         "negative)"},
        {{"help", "frob"},
         "collatzperm help: unknown command 'frob' (search, count, sequence or help)"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = run(c.words);
        EXPECT_EQ(outcome.status, 2) << c.line;
        EXPECT_EQ(outcome.err, c.line + "\n");
        EXPECT_EQ(outcome.out, "") << c.line;
    }
}

TEST(Commands, HelpAndArgumentForms) {
    const std::string search_help = run({"help", "search"}).out;
    EXPECT_TRUE(search_help.starts_with("Usage: collatzperm search I")) << search_help;
    for (const auto& words :
         {std::vector<std::string>{"search", "--help"}, {"search", "999", "-h"}}) {
        EXPECT_EQ(run(words).out, search_help);
    }
    EXPECT_NE(run({"help"}).out.find("  count A..B"), std::string::npos);
    // --opt value as well as --opt=value; -- ends the options.
    EXPECT_EQ(run({"search", "8", "--format", "csv"}).out,
              run({"search", "--format=csv", "8"}).out);
    EXPECT_EQ(run({"count", "--", "8"}).out, run({"count", "8..8"}).out);
}

TEST(Commands, WriteErrorsAreNamedAndAClosedOutputIsNot) {
    const Outcome full = run({"search", "40"}, 1000, WriteFailure::full);
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err,
              "collatzperm search: cannot write to standard output: no space left on the device\n");
    const Outcome closed = run({"count", "1..20"}, 10, WriteFailure::closed);
    EXPECT_EQ(closed.status, 0);
    EXPECT_EQ(closed.err, "");
}

}  // namespace
}  // namespace cp
