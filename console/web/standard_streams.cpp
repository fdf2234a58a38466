#include "console/standard_streams.hpp"

#include "console/pipe_input.hpp"
#include "console/transcript_output.hpp"
#include "console/web/page.hpp"
#include "console/web/tty_input.hpp"
#include "console/web/tty_output.hpp"

namespace cp {

namespace {
constexpr int kStandardInput = 0;
constexpr int kStandardOutput = 1;
}  // namespace

// In a page, the terminal there; under node, the process's standard streams,
// which are pipes or files here: keys byte by byte and a plain transcript.
StandardStreams open_standard_streams(const StreamOptions& options) {
    StandardStreams streams;
    if (page::present()) {
        streams.keys = std::make_unique<TtyInput>();
        streams.screen = std::make_unique<TtyOutput>(options.colours);
    } else {
        streams.keys = std::make_unique<PipeInput>(kStandardInput);
        streams.screen = std::make_unique<TranscriptOutput>(kStandardOutput);
    }
    return streams;
}

}  // namespace cp
