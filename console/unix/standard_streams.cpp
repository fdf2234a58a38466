#include "console/standard_streams.hpp"

#include <unistd.h>

#include <csignal>

#include "console/pipe_input.hpp"
#include "console/transcript_output.hpp"
#include "console/unix/tty_input.hpp"
#include "console/unix/tty_output.hpp"

namespace cp {

namespace {

std::unique_ptr<KeySource> open_keys(int fd) {
    if (isatty(fd)) return std::make_unique<TtyInput>(fd);
    return std::make_unique<PipeInput>(fd);
}

std::unique_ptr<ScreenSink> open_screen(int fd, const StreamOptions& options) {
    if (isatty(fd)) return std::make_unique<TtyOutput>(fd, options.colours);
    return std::make_unique<TranscriptOutput>(fd);
}

}  // namespace

StandardStreams open_standard_streams(const StreamOptions& options) {
    // A closed pipe shows up as a failed write, which ends the program quietly.
    std::signal(SIGPIPE, SIG_IGN);
    StandardStreams streams;
    streams.keys = open_keys(STDIN_FILENO);
    streams.screen = open_screen(STDOUT_FILENO, options);
    return streams;
}

}  // namespace cp
