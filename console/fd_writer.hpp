#pragma once
#include <string>
#include <string_view>

namespace cp {

// Writes all of bytes to fd, retrying partial writes and interrupts. When the
// reader has gone (a closed pipe) or the output fails otherwise, the program
// ends quietly with status 0: nobody is left to show anything to.
void write_or_end(int fd, std::string_view bytes);

// Output collected in memory and handed to fd in large pieces.
class OutputBuffer {
  public:
    explicit OutputBuffer(int fd) : fd_(fd) {}
    std::string& text() { return text_; }
    void flush();
    // Flushes when the buffer has grown large, so memory stays flat between flush points.
    void flush_if_large();

  private:
    int fd_;
    std::string text_;
};

}  // namespace cp
