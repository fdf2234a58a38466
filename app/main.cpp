// collatzperm: keys from standard input and the screen on standard output, each
// handled the terminal way when it is a terminal and the pipe way when it is not.
#include <unistd.h>

#include <csignal>
#include <memory>

#include "console/console.hpp"
#include "console/split_terminal.hpp"
#include "console/transcript_output.hpp"
#include "console/unix/pipe_input.hpp"
#include "console/unix/tty_input.hpp"
#include "console/unix/tty_output.hpp"
#include "driver/program.hpp"
#include "driver/state.hpp"

namespace {

std::unique_ptr<cp::KeySource> open_keys(int fd) {
    if (isatty(fd)) return std::make_unique<cp::TtyInput>(fd);
    return std::make_unique<cp::PipeInput>(fd);
}

std::unique_ptr<cp::ScreenSink> open_screen(int fd) {
    if (isatty(fd)) return std::make_unique<cp::TtyOutput>(fd);
    return std::make_unique<cp::TranscriptOutput>(fd);
}

}  // namespace

int main() {
    // A closed pipe shows up as a failed write, which ends the program quietly.
    std::signal(SIGPIPE, SIG_IGN);
    const std::unique_ptr<cp::KeySource> keys = open_keys(STDIN_FILENO);
    const std::unique_ptr<cp::ScreenSink> screen = open_screen(STDOUT_FILENO);
    cp::SplitTerminal terminal(*keys, *screen);
    cp::Console console(terminal);
    cp::State state;
    cp::run_program(console, state);
    console.finish();
    return 0;
}
