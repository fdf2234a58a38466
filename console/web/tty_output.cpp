#include "console/web/tty_output.hpp"

#include "console/web/page.hpp"

namespace cp {

TtyOutput::TtyOutput(bool colours) : RenderedOutput(page::columns(), colours) {}

void TtyOutput::catch_up(const Screen*) {
    const std::int32_t width = page::columns();
    if (width != renderer().width()) renderer().set_width(width);
}

void TtyOutput::write_out() {
    page::write(renderer().output().view());
    renderer().output().clear();
}

void TtyOutput::flush() {
    RenderedOutput::flush();
    page::yield();
}

void TtyOutput::finish(const Screen& screen) {
    RenderedOutput::finish(screen);
    page::ended();
}

}  // namespace cp
