#pragma once
// The screen drawn on a terminal on standard output: colours, UTF-8, and the
// cursor kept on the right cell however narrow the terminal is. A resize is
// noticed before the next output; after a resume from Ctrl+Z the colours and
// the last rows are drawn again.
#include "console/screen_sink.hpp"
#include "console/tty_renderer.hpp"
#include "console/unix/background_writer.hpp"

namespace cp {

class TtyOutput final : public ScreenSink {
  public:
    // Without colours the terminal gets no colour codes at all.
    explicit TtyOutput(int fd = 1, bool colours = true);
    ~TtyOutput() override;
    TtyOutput(const TtyOutput&) = delete;
    TtyOutput& operator=(const TtyOutput&) = delete;

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
    // Takes in a resize or a resume that happened since the last output.
    void catch_up(const Screen* screen);
    void flush_if_large();
    // Everything drawn so far, out to the terminal.
    void write_out();

    int fd_;
    TtyRenderer renderer_;
    BackgroundWriter writer_{fd_};
    const Screen* screen_ = nullptr;  // the console's screen, for drawing again after a resume
};

// Columns of the terminal on fd; 80 when it does not say.
std::int32_t terminal_width(int fd);

}  // namespace cp
