#include "console/transcript_output.hpp"

#include "console/cp437.hpp"

namespace cp {

void TranscriptOutput::write_row(const Screen& screen, std::int32_t row) {
    ByteBuffer& text = out_.text();
    append_cp437_as_utf8(text, screen.row_text(row), ControlBytes::Kept);
    text.push_back('\n');
    changed_ = false;
    out_.flush_if_large();
}

void TranscriptOutput::row_left(const Screen& screen, std::int32_t row, RowExit how) {
    if (how != RowExit::Move || changed_) write_row(screen, row);
    changed_ = false;
}

void TranscriptOutput::beep() {
    out_.text().push_back('\a');
}

void TranscriptOutput::finish(const Screen& screen) {
    if (changed_) write_row(screen, screen.cursor_row());
    out_.flush();
}

}  // namespace cp
