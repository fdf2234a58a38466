#include "console/unix/pipe_input.hpp"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace cp {

namespace {
constexpr std::size_t kChunk = 4096;
}  // namespace

bool PipeInput::readable_now() const {
    pollfd ready{fd_, POLLIN, 0};
    return ::poll(&ready, 1, 0) > 0;
}

bool PipeInput::fill() {
    if (ended_) return false;
    if (screen_hook_ && !readable_now()) screen_hook_();
    buffer_.resize(kChunk);
    for (;;) {
        const ssize_t got = ::read(fd_, buffer_.data(), kChunk);
        if (got > 0) {
            buffer_.resize(static_cast<std::size_t>(got));
            next_ = 0;
            return true;
        }
        if (got < 0 && errno == EINTR) continue;
        // The end of the input, or a read error, ends the program like "Q".
        ended_ = true;
        buffer_.clear();
        next_ = 0;
        return false;
    }
}

std::optional<std::string> PipeInput::next_key() {
    for (;;) {
        if (next_ >= buffer_.size() && !fill()) return std::nullopt;
        if (std::optional<std::string> key = keys_.key_for(buffer_[next_++])) return key;
    }
}

}  // namespace cp
