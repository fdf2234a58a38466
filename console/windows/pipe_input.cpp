#include "console/windows/pipe_input.hpp"

#include <io.h>
#include <windows.h>

namespace cp {

namespace {
constexpr std::size_t kChunk = 4096;
}

PipeInput::PipeInput(int fd) : handle_(reinterpret_cast<HANDLE>(_get_osfhandle(fd))) {}

bool PipeInput::readable_now() const {
    // Only a pipe can keep a reader waiting; a file or a device answers at once.
    if (GetFileType(handle_) != FILE_TYPE_PIPE) return true;
    DWORD available = 0;
    return !PeekNamedPipe(handle_, nullptr, 0, nullptr, &available, nullptr) || available > 0;
}

bool PipeInput::fill() {
    if (ended_) return false;
    if (screen_hook_ && !readable_now()) screen_hook_();
    buffer_.resize(kChunk);
    DWORD got = 0;
    if (handle_ != INVALID_HANDLE_VALUE &&
        ReadFile(handle_, buffer_.data(), kChunk, &got, nullptr) && got > 0) {
        buffer_.resize(got);
        next_ = 0;
        return true;
    }
    // The end of the input (a closed pipe reads as an error here), or no
    // input at all, ends the program like "Q".
    ended_ = true;
    buffer_.clear();
    next_ = 0;
    return false;
}

std::optional<std::string> PipeInput::next_key() {
    for (;;) {
        if (next_ >= buffer_.size() && !fill()) return std::nullopt;
        if (std::optional<std::string> key = keys_.key_for(buffer_[next_++])) return key;
    }
}

}  // namespace cp
