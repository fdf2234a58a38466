#include "console/web/tty_output.hpp"

#include "console/web/page.hpp"

namespace cp {

namespace {
constexpr std::size_t kLargeOutput = 32 * 1024;
}

TtyOutput::TtyOutput(bool colours) : renderer_(page::columns(), colours) {}

void TtyOutput::catch_up() {
    const std::int32_t width = page::columns();
    if (width != renderer_.width()) renderer_.set_width(width);
}

void TtyOutput::text(const Screen& screen, std::int32_t row, std::int32_t column,
                     std::string_view bytes) {
    catch_up();
    renderer_.text(screen, row, column, bytes);
    // Memory stays flat during a long run between two flushes.
    if (renderer_.output().size() >= kLargeOutput) write_out();
}

void TtyOutput::row_left(const Screen&, std::int32_t row, RowExit how) {
    catch_up();
    renderer_.row_left(row, how);
}

void TtyOutput::scrolled(const Screen&) {
    catch_up();
    renderer_.scrolled();
}

void TtyOutput::moved(const Screen& screen) {
    catch_up();
    renderer_.moved(screen);
}

void TtyOutput::cleared(const Screen& screen) {
    catch_up();
    renderer_.cleared(screen);
}

void TtyOutput::beep() {
    renderer_.beep();
    flush();
}

void TtyOutput::write_out() {
    page::write(renderer_.output());
    renderer_.output().clear();
}

void TtyOutput::flush() {
    catch_up();
    renderer_.place_cursor();
    write_out();
    page::yield();
}

void TtyOutput::finish(const Screen&) {
    catch_up();
    renderer_.finish();
    write_out();
    page::ended();
}

}  // namespace cp
