// Memory stays flat over thousands of commands: once the screen is cleared, a
// program that has run 3,000 commands holds no more than one that has run 300.
#include <malloc.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "console/console.hpp"
#include "driver/program.hpp"
#include "driver/state.hpp"
#include "quiet_terminal.hpp"

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime (g++ ships no header for it): the bytes in use.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace cp {
namespace {

using testing::QuietTerminal;

std::size_t live_heap_bytes() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

// One of each kind of command, cheap ones: searches, options, listings, the
// entry codes with and without start values, junk.
const std::vector<std::string> kCycle = {"9",    "K",    "",   "M",   "7",     "F",     "G",  "J",
                                         "D",    "00,7", "66", "75",  "77,5",  "88",    "99", "A",
                                         "C",    "0",    "Z",  "X",   "B",     "3",     "M",  "K",
                                         "zz,9", "-3",   "40", "&H7", "\"5\"", "12,34", "8"};

TEST(MemoryFlat, MoreCommandsHoldNoMoreMemory) {
    QuietTerminal terminal;
    Console console(terminal);
    State state;
    terminal.type("\r");
    run_program(console, state);  // start-up and the first search
    Console commands(terminal);
    commands.set_screen_size(900, 16000);

    auto run_cycles = [&](int cycles) {
        for (int c = 0; c < cycles; ++c) {
            for (const std::string& line : kCycle) {
                terminal.type(line + "\r");
                ASSERT_TRUE(run_command(commands, state)) << line;
            }
        }
    };
    run_cycles(60);  // the screen's ring of rows has gone round by now
    commands.clear_screen();
    const std::size_t after_hundreds = live_heap_bytes();
    run_cycles(120);
    commands.clear_screen();
    const std::size_t after_thousands = live_heap_bytes();

    // A little room for allocator noise, nothing per command.
    EXPECT_LT(after_thousands, after_hundreds + 16 * 1024)
        << "from " << after_hundreds << " to " << after_thousands << " bytes";
}

}  // namespace
}  // namespace cp
