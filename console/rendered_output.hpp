#pragma once
// A screen drawn on a terminal through the shared renderer: what every
// platform's terminal output does alike. The platform says how its terminal
// may have changed since the last output (a resize, a resume) and how the
// renderer's bytes reach it.
#include "console/screen_sink.hpp"
#include "console/tty_renderer.hpp"

namespace cp {

class RenderedOutput : public ScreenSink {
  public:
    void text(const Screen& screen, std::int32_t row, std::int32_t column,
              std::string_view bytes) override;
    void row_left(const Screen& screen, std::int32_t row, RowExit how) override;
    void scrolled(const Screen& screen) override;
    void moved(const Screen& screen) override;
    void cleared(const Screen& screen) override;
    void beep() override;
    void flush() override;
    void finish(const Screen& screen) override;

  protected:
    RenderedOutput(std::int32_t width, bool colours) : renderer_(width, colours) {}

    // Takes in what changed at the terminal since the last output; `screen`
    // is the console's screen, or null where the caller has none at hand.
    virtual void catch_up(const Screen* screen) = 0;
    // Hands everything the renderer holds to the terminal and clears it.
    virtual void write_out() = 0;
    // Much output between two flushes: by default it goes out at once, so
    // that memory stays flat.
    virtual void write_large() { write_out(); }

    TtyRenderer& renderer() { return renderer_; }

  private:
    TtyRenderer renderer_;
};

}  // namespace cp
