#pragma once
// The program's keys and screen on the process's standard streams: each the
// terminal way when it is a terminal and the pipe way when it is not. Every
// platform folder gives its own body.
#include <memory>

#include "console/key_source.hpp"
#include "console/screen_sink.hpp"

namespace cp {

struct StreamOptions {
    bool colours = true;  // false: a terminal gets no colour codes at all
};

struct StandardStreams {
    std::unique_ptr<KeySource> keys;
    std::unique_ptr<ScreenSink> screen;  // declared last: closed first, before the keys
};

// Prepares the process for them and opens both, keys first.
StandardStreams open_standard_streams(const StreamOptions& options);

}  // namespace cp
