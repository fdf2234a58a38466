#include "console/standard_streams.hpp"

#include "console/pipe_input.hpp"
#include "console/transcript_output.hpp"
#include "console/windows/handles.hpp"
#include "console/windows/tty_input.hpp"
#include "console/windows/tty_output.hpp"

namespace cp {

namespace {
constexpr int kStandardInput = 0;
constexpr int kStandardOutput = 1;

std::unique_ptr<KeySource> open_keys(int fd) {
    if (is_console(fd)) return std::make_unique<TtyInput>(fd);
    return std::make_unique<PipeInput>(fd);
}

std::unique_ptr<ScreenSink> open_screen(int fd, const StreamOptions& options) {
    if (is_console(fd)) return std::make_unique<TtyOutput>(fd, options.colours);
    return std::make_unique<TranscriptOutput>(fd);
}
}  // namespace

StandardStreams open_standard_streams(const StreamOptions& options) {
    StandardStreams streams;
    streams.keys = open_keys(kStandardInput);
    streams.screen = open_screen(kStandardOutput, options);
    return streams;
}

}  // namespace cp
