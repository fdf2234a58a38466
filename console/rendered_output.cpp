#include "console/rendered_output.hpp"

namespace cp {

namespace {
constexpr std::size_t kLargeOutput = 32 * 1024;
}

void RenderedOutput::text(const Screen& screen, std::int32_t row, std::int32_t column,
                          std::string_view bytes) {
    catch_up(&screen);
    renderer_.text(screen, row, column, bytes);
    if (renderer_.output().size() >= kLargeOutput) write_large();
}

void RenderedOutput::row_left(const Screen& screen, std::int32_t row, RowExit how) {
    catch_up(&screen);
    renderer_.row_left(row, how);
}

void RenderedOutput::scrolled(const Screen& screen) {
    catch_up(&screen);
    renderer_.scrolled();
}

void RenderedOutput::moved(const Screen& screen) {
    catch_up(&screen);
    renderer_.moved(screen);
}

void RenderedOutput::cleared(const Screen& screen) {
    catch_up(&screen);
    renderer_.cleared(screen);
}

void RenderedOutput::beep() {
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
