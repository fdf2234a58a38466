#pragma once
#include <string_view>

#include "console/byte_buffer.hpp"

namespace cp {

// Why an output failed: its reader went away (a closed pipe), it is full,
// or something else.
enum class WriteFailure { none, closed, full, other };

// Writes all of bytes to fd, retrying partial writes and interrupts, and says
// why it could not.
WriteFailure write_bytes(int fd, std::string_view bytes);

// write_bytes, false when the output fails.
bool write_all(int fd, std::string_view bytes);

// The program ends quietly with status 0 when its output fails: the reader has
// gone (a closed pipe) or the output is unusable, and nobody is left to show
// anything to.
[[noreturn]] void end_after_failed_output();

// write_all, ending the program when the output fails.
void write_or_end(int fd, std::string_view bytes);

// Output collected in memory and handed to fd in large pieces.
class OutputBuffer {
  public:
    explicit OutputBuffer(int fd) : fd_(fd) {}
    ByteBuffer& text() { return text_; }
    void flush();
    // Flushes when the buffer has grown large, so memory stays flat between flush points.
    void flush_if_large();

  private:
    int fd_;
    ByteBuffer text_;
};

}  // namespace cp
