// Runs that used to go on for ever end, each with its closing line: every entry
// code in 3n+1 and 3n-1, compressed and plain, from the cycles of 3n-1, zero,
// negatives, 1 and starts whose values pass 2^63.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console.hpp"
#include "driver/program.hpp"
#include "driver/state.hpp"
#include "scripted_terminal.hpp"

namespace cp {
namespace {

using testing::ScriptedTerminal;

// The state start-up leaves, made once.
const State& started_state() {
    static const State state = [] {
        ScriptedTerminal terminal{false};
        Console console{terminal};
        State s;
        terminal.type("\r");
        run_program(console, s);
        return s;
    }();
    return state;
}

bool has_line_with(const std::vector<std::string>& rows, std::string_view text) {
    for (const std::string& row : rows) {
        if (row.find(text) != std::string::npos) return true;
    }
    return false;
}

TEST(LongRuns, EveryCodeInBothVariantsCompressedAndPlainEnds) {
    const std::vector<std::string> codes = {"00", "66", "75", "77", "88", "99", "A", "C", "0"};
    const std::vector<std::string> starts = {"",
                                             "10",
                                             "14",
                                             "20",
                                             "0",
                                             "-1",
                                             "-5",
                                             "1",
                                             "8528817511",
                                             "27",
                                             "-17",
                                             "9223372036854775807",
                                             "99999999999999999999"};
    int runs = 0;
    for (const std::int32_t sign : {+1, -1}) {
        for (const std::int32_t compressed : {0, 1}) {
            for (const std::string& code : codes) {
                for (const std::string& start : starts) {
                    const std::string line = start.empty() ? code : code + "," + start;
                    State state = started_state();
                    state.multiplierSign = sign;
                    state.compressedMode = compressed;
                    ScriptedTerminal terminal{false};
                    Console console{terminal};
                    console.set_screen_size(900, 16000);
                    terminal.type(line + "\r");
                    ASSERT_TRUE(run_command(console, state)) << line;
                    ASSERT_FALSE(console.input_ended()) << line << " sign " << sign;
                    const std::vector<std::string> rows = terminal.transcript();
                    // Display runs close with their summary, "66" with its note.
                    const std::string_view closing =
                        code == "66" ? "REKURSIVE BERECHNUNG" : "        Ca =";
                    EXPECT_TRUE(has_line_with(rows, closing))
                        << line << " sign " << sign << " compressed " << compressed;
                    ++runs;
                }
            }
        }
    }
    EXPECT_EQ(runs, 2 * 2 * 9 * 13);
}

}  // namespace
}  // namespace cp
