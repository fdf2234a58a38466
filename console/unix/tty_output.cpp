#include "console/unix/tty_output.hpp"

#include <sys/ioctl.h>

#include "console/fd_writer.hpp"
#include "console/unix/tty_guard.hpp"

namespace cp {

namespace {
constexpr std::int32_t kDefaultWidth = 80;
}  // namespace

std::int32_t terminal_width(int fd) {
    winsize size{};
    if (ioctl(fd, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return kDefaultWidth;
    return size.ws_col;
}

TtyOutput::TtyOutput(int fd, bool colours) : RenderedOutput(terminal_width(fd), colours), fd_(fd) {
    tty_guard::watch_output(fd, colours);
    tty_guard::take_resized();
}

TtyOutput::~TtyOutput() {
    // The modes go back only once the terminal has had everything.
    writer_.drain();
    tty_guard::unwatch_output();
}

void TtyOutput::catch_up(const Screen* screen) {
    if (screen != nullptr) screen_ = screen;
    if (tty_guard::take_resized()) renderer().set_width(terminal_width(fd_));
    if (tty_guard::take_resumed()) {
        renderer().forget_colours();
        if (screen_ != nullptr) renderer().redraw_recent(*screen_);
    }
}

void TtyOutput::write_large() {
    // Handed to the writing thread: drawing goes on while the terminal takes it.
    if (!writer_.hand_over(renderer().output())) end_after_failed_output();
}

void TtyOutput::write_out() {
    // What the writing thread holds goes first; the rest is written right
    // here, so that a flush costs no hand-over.
    if (!writer_.drain()) end_after_failed_output();
    ByteBuffer& bytes = renderer().output();
    if (bytes.empty()) return;
    write_or_end(fd_, bytes.view());
    bytes.clear();
}

void TtyOutput::finish(const Screen& screen) {
    RenderedOutput::finish(screen);
    tty_guard::unwatch_output();
}

}  // namespace cp
