#pragma once
// The screen drawn on the terminal in the page: the Unix renderer's bytes,
// handed over at each flush, which is also where the browser gets its turn.
// A resize of the page is noticed before the next output, as SIGWINCH is.
#include "console/rendered_output.hpp"

namespace cp {

class TtyOutput final : public RenderedOutput {
  public:
    explicit TtyOutput(bool colours = true);

    void flush() override;
    void finish(const Screen& screen) override;

  private:
    void catch_up(const Screen* screen) override;
    void write_out() override;
};

}  // namespace cp
