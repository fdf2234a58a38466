#include "console/tty_output.hpp"

#include <sys/ioctl.h>

#include "console/fd_writer.hpp"
#include "console/tty_guard.hpp"

namespace cp {

namespace {
constexpr std::size_t kLargeOutput = 64 * 1024;
constexpr std::int32_t kDefaultWidth = 80;
}  // namespace

std::int32_t terminal_width(int fd) {
    winsize size{};
    if (ioctl(fd, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return kDefaultWidth;
    return size.ws_col;
}

TtyOutput::TtyOutput(int fd) : fd_(fd), renderer_(terminal_width(fd)) {
    tty_guard::watch_output(fd);
    tty_guard::take_resized();
}

TtyOutput::~TtyOutput() {
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
    if (renderer_.output().size() >= kLargeOutput) flush();
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
    std::string& bytes = renderer_.output();
    if (bytes.empty()) return;
    write_or_end(fd_, bytes);
    bytes.clear();
}

void TtyOutput::finish(const Screen& screen) {
    catch_up(&screen);
    renderer_.finish();
    write_or_end(fd_, renderer_.output());
    renderer_.output().clear();
    tty_guard::unwatch_output();
}

}  // namespace cp
