#include "console/unix/tty_input.hpp"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "console/unix/tty_guard.hpp"

namespace cp {

namespace {
constexpr std::size_t kChunk = 256;
}

TtyInput::TtyInput(int fd) : fd_(fd) {
    raw_ = tty_guard::enter_raw_input(fd);
}

TtyInput::~TtyInput() {
    if (raw_) tty_guard::leave_raw_input();
}

bool TtyInput::read_some(int timeout_ms) {
    pollfd waits[2] = {{fd_, POLLIN, 0}, {tty_guard::wake_fd(), POLLIN, 0}};
    const int ready = ::poll(waits, waits[1].fd >= 0 ? 2 : 1, timeout_ms);
    if (ready < 0 && errno != EINTR) return false;
    if (ready < 0 || (waits[1].revents & POLLIN) != 0) {
        // A resize or a resume: the screen catches up, then look again.
        tty_guard::take_wakes();
        if (screen_hook_) screen_hook_();
        if ((waits[0].revents & (POLLIN | POLLHUP | POLLERR)) == 0) return true;
    }
    if (ready == 0) return false;
    char bytes[kChunk];
    ssize_t got = 0;
    do {
        got = ::read(fd_, bytes, sizeof bytes);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
        // Hang-up or a read error: the keyboard is gone. A held-back Esc still counts.
        ended_ = true;
        decoder_.flush_pending();
        return true;
    }
    decoder_.feed(std::string_view(bytes, static_cast<std::size_t>(got)));
    last_byte_ = std::chrono::steady_clock::now();
    return true;
}

int TtyInput::pending_wait_ms() const {
    const auto waited = std::chrono::steady_clock::now() - last_byte_;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(kEscTimeout - waited);
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

void TtyInput::expire_pending() {
    if (decoder_.pending() && pending_wait_ms() == 0) decoder_.flush_pending();
}

bool TtyInput::key_ready() {
    if (!decoder_.has_key() && !ended_) {
        read_some(0);
        expire_pending();
    }
    return decoder_.has_key();
}

std::optional<std::string> TtyInput::next_key() {
    while (!decoder_.has_key()) {
        if (ended_) return std::nullopt;
        if (decoder_.pending()) {
            if (!read_some(pending_wait_ms())) decoder_.flush_pending();
        } else {
            read_some(-1);
        }
    }
    return decoder_.pop_key();
}

}  // namespace cp
