#pragma once
// The screen drawn on a terminal on standard output: colours, UTF-8, and the
// cursor kept on the right cell however narrow the terminal is. A resize is
// noticed before the next output; after a resume from Ctrl+Z the colours and
// the last rows are drawn again.
#include "console/rendered_output.hpp"
#include "console/unix/background_writer.hpp"

namespace cp {

class TtyOutput final : public RenderedOutput {
  public:
    // Without colours the terminal gets no colour codes at all.
    explicit TtyOutput(int fd = 1, bool colours = true);
    ~TtyOutput() override;
    TtyOutput(const TtyOutput&) = delete;
    TtyOutput& operator=(const TtyOutput&) = delete;

    void finish(const Screen& screen) override;

  private:
    void catch_up(const Screen* screen) override;
    void write_out() override;
    void write_large() override;

    int fd_;
    BackgroundWriter writer_{fd_};
    const Screen* screen_ = nullptr;  // the console's screen, for drawing again after a resume
};

// Columns of the terminal on fd; 80 when it does not say.
std::int32_t terminal_width(int fd);

}  // namespace cp
