#pragma once
// The screen drawn on a console on standard output. The shared terminal
// renderer decides what to draw, as on a Unix terminal; the console's own
// functions carry it out (see vt_interpreter.hpp). Where the console has a
// window of its own, its buffer takes the screen's size, 900 x 16,000, as the
// program asks; elsewhere the renderer wraps long rows at the buffer's width.
#include <windows.h>

#include <memory>

#include "console/rendered_output.hpp"
#include "console/windows/vt_interpreter.hpp"

namespace cp {

class TtyOutput final : public RenderedOutput {
  public:
    // Without colours the console's own colours stay as they are.
    explicit TtyOutput(int fd = 1, bool colours = true);
    ~TtyOutput() override;
    TtyOutput(const TtyOutput&) = delete;
    TtyOutput& operator=(const TtyOutput&) = delete;

    void resized(const Screen& screen) override;
    void maximize_window() override;
    PixelSize window_pixel_size() override;
    PixelSize work_area_pixel_size() override;
    void move_window(std::int32_t x, std::int32_t y) override;

  private:
    // The buffer's size as the console has it now.
    void measure();
    void catch_up(const Screen* screen) override;
    void write_out() override;

    HANDLE handle_;
    bool watched_ = false;
    std::unique_ptr<ConsoleCells> cells_;
    VtInterpreter interpreter_;
};

}  // namespace cp
