#pragma once
// The screen as a plain UTF-8 transcript, for a standard output that is not a
// terminal. A row is written as it then stands when the cursor leaves it by a
// line break or the wrap, when it leaves by a move or a clear only if it changed,
// and at the end if it changed. A beep is BEL at once, ahead of its row.
#include "console/fd_writer.hpp"
#include "console/screen_sink.hpp"

namespace cp {

class TranscriptOutput final : public ScreenSink {
  public:
    // fd -1 keeps the transcript in memory.
    explicit TranscriptOutput(int fd = 1) : out_(fd) {}
    std::string_view buffered() { return out_.text().view(); }

    void text(const Screen&, std::int32_t, std::int32_t, std::string_view) override {
        changed_ = true;
    }
    void row_left(const Screen& screen, std::int32_t row, RowExit how) override;
    void scrolled(const Screen&) override {}
    void moved(const Screen&) override {}
    void cleared(const Screen&) override { changed_ = false; }
    void beep() override;
    void flush() override { out_.flush(); }
    void finish(const Screen& screen) override;

  private:
    void write_row(const Screen& screen, std::int32_t row);

    OutputBuffer out_;
    bool changed_ = false;  // the cursor row changed since it was last written
};

}  // namespace cp
