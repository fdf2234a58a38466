#include "console/pipe_input.hpp"

#include "console/fd_reader.hpp"

namespace cp {

namespace {
constexpr std::size_t kChunk = 4096;
constexpr char kEnter = 13;
}  // namespace

bool PipeInput::fill() {
    if (ended_) return false;
    if (screen_hook_ && !readable_now(fd_)) screen_hook_();
    buffer_.resize(kChunk);
    buffer_.resize(read_bytes(fd_, buffer_.data(), kChunk));
    next_ = 0;
    // The end of the input, or a read error, ends the program like "Q".
    ended_ = buffer_.empty();
    return !ended_;
}

std::optional<std::string> PipeInput::next_key() {
    for (;;) {
        if (next_ >= buffer_.size() && !fill()) return std::nullopt;
        const char c = buffer_[next_++];
        const bool lf_after_cr = after_cr_ && c == '\n';
        after_cr_ = c == '\r';
        if (lf_after_cr) continue;
        if (c == '\r' || c == '\n') return std::string(1, kEnter);
        return std::string(1, c);
    }
}

}  // namespace cp
