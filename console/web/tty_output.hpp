#pragma once
// The screen drawn on the terminal in the page: the Unix renderer's bytes,
// handed over at each flush, which is also where the browser gets its turn.
// A resize of the page is noticed before the next output, as SIGWINCH is.
#include "console/screen_sink.hpp"
#include "console/tty_renderer.hpp"

namespace cp {

class TtyOutput final : public ScreenSink {
  public:
    explicit TtyOutput(bool colours = true);

    void text(const Screen& screen, std::int32_t row, std::int32_t column,
              std::string_view bytes) override;
    void row_left(const Screen& screen, std::int32_t row, RowExit how) override;
    void scrolled(const Screen& screen) override;
    void moved(const Screen& screen) override;
    void cleared(const Screen& screen) override;
    void beep() override;
    void flush() override;
    void finish(const Screen& screen) override;

  private:
    void catch_up();
    void write_out();

    TtyRenderer renderer_;
};

}  // namespace cp
