#include "console/unix/tty_output.hpp"

#include <sys/ioctl.h>

#include "console/fd_writer.hpp"
#include "console/unix/tty_guard.hpp"

namespace cp {

namespace {
constexpr std::size_t kLargeOutput = 32 * 1024;
constexpr std::int32_t kDefaultWidth = 80;
}  // namespace

std::int32_t terminal_width(int fd) {
    winsize size{};
    if (ioctl(fd, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return kDefaultWidth;
    return size.ws_col;
}

TtyOutput::TtyOutput(int fd, bool colours) : fd_(fd), renderer_(terminal_width(fd), colours) {
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
    if (tty_guard::take_resized()) renderer_.set_width(terminal_width(fd_));
    if (tty_guard::take_resumed()) {
        renderer_.forget_colours();
        if (screen_ != nullptr) renderer_.redraw_recent(*screen_);
    }
}

void TtyOutput::flush_if_large() {
    // Handed to the writing thread: drawing goes on while the terminal takes it.
    if (renderer_.output().size() >= kLargeOutput && !writer_.hand_over(renderer_.output())) {
        end_after_failed_output();
    }
}

void TtyOutput::text(const Screen& screen, std::int32_t row, std::int32_t column,
                     std::string_view bytes) {
    catch_up(&screen);
    renderer_.text(screen, row, column, bytes);
    flush_if_large();
}

void TtyOutput::row_left(const Screen& screen, std::int32_t row, RowExit how) {
    catch_up(&screen);
    renderer_.row_left(row, how);
}

void TtyOutput::scrolled(const Screen& screen) {
    catch_up(&screen);
    renderer_.scrolled();
}

void TtyOutput::moved(const Screen& screen) {
    catch_up(&screen);
    renderer_.moved(screen);
}

void TtyOutput::cleared(const Screen& screen) {
    catch_up(&screen);
    renderer_.cleared(screen);
}

void TtyOutput::beep() {
    renderer_.beep();
    flush();
}

void TtyOutput::flush() {
    catch_up(nullptr);
    renderer_.place_cursor();
    write_out();
}

void TtyOutput::write_out() {
    // What the writing thread holds goes first; the rest is written right
    // here, so that a flush per row (a key check at a terminal) costs no
    // hand-over.
    if (!writer_.drain()) end_after_failed_output();
    std::string& bytes = renderer_.output();
    if (bytes.empty()) return;
    write_or_end(fd_, bytes);
    bytes.clear();
}

void TtyOutput::finish(const Screen& screen) {
    catch_up(&screen);
    renderer_.finish();
    write_out();
    tty_guard::unwatch_output();
}

}  // namespace cp
