#include "console/rendered_output.hpp"

namespace cp {

namespace {
constexpr std::size_t kLargeOutput = 32 * 1024;
}

void RenderedOutput::text(const Screen& screen, std::int32_t row, std::int32_t column,
                          std::string_view bytes) {
    // Drawing waits for the row to be left or the output to go out, and
    // catches up with the terminal then.
    renderer_.text(screen, row, column, bytes);
}

void RenderedOutput::row_left(const Screen& screen, std::int32_t row, RowExit how) {
    catch_up(&screen);
    renderer_.row_left(row, how);
    if (renderer_.output().size() >= kLargeOutput) write_large();
}

void RenderedOutput::scrolled(const Screen& screen) {
    // The row left before a scroll is drawn already, as a rule.
    if (renderer_.has_changes()) catch_up(&screen);
    renderer_.scrolled();
}

void RenderedOutput::moved(const Screen& screen) {
    // Only where the cursor is to be shown changes: nothing is drawn.
    renderer_.moved(screen);
}

void RenderedOutput::cleared(const Screen& screen) {
    catch_up(&screen);
    renderer_.cleared(screen);
}

void RenderedOutput::beep() {
    catch_up(nullptr);
    renderer_.beep();
    flush();
}

void RenderedOutput::flush() {
    catch_up(nullptr);
    renderer_.place_cursor();
    write_out();
}

void RenderedOutput::finish(const Screen& screen) {
    catch_up(&screen);
    renderer_.finish();
    write_out();
}

}  // namespace cp
