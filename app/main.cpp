// collatzperm: keys from standard input and the screen on standard output, each
// handled the terminal way when it is a terminal and the pipe way when it is not.
#include <csignal>

#include "console/console.hpp"
#include "console/pipe_input.hpp"
#include "console/split_terminal.hpp"
#include "console/transcript_output.hpp"
#include "driver/program.hpp"
#include "driver/state.hpp"

int main() {
    // A closed pipe shows up as a failed write, which ends the program quietly.
    std::signal(SIGPIPE, SIG_IGN);
    cp::PipeInput keys(0);
    cp::TranscriptOutput output(1);
    cp::SplitTerminal terminal(keys, output);
    cp::Console console(terminal);
    cp::State state;
    cp::run_program(console, state);
    console.finish();
    return 0;
}
