// collatzperm: keys from standard input and the screen on standard output, each
// handled the terminal way when it is a terminal and the pipe way when it is not.
#include "console/console.hpp"
#include "console/split_terminal.hpp"
#include "console/standard_streams.hpp"
#include "driver/program.hpp"
#include "driver/state.hpp"

int main() {
    const cp::StandardStreams streams = cp::open_standard_streams();
    cp::SplitTerminal terminal(*streams.keys, *streams.screen);
    cp::Console console(terminal);
    cp::State state;
    cp::run_program(console, state);
    console.finish();
    return 0;
}
