#pragma once
// Where a command's bytes go: records to standard output in large writes,
// and what went wrong with the output, if anything.
#include <string_view>

#include "console/byte_buffer.hpp"
#include "console/fd_writer.hpp"

namespace cp {

class OutputSink {
  public:
    virtual ~OutputSink() = default;
    virtual WriteFailure write(std::string_view bytes) = 0;
};

// A file descriptor of the process.
class FdSink final : public OutputSink {
  public:
    explicit FdSink(int fd) : fd_(fd) {}
    WriteFailure write(std::string_view bytes) override { return write_bytes(fd_, bytes); }

  private:
    int fd_;
};

// Records collected and written in large pieces. Once a write has failed,
// nothing more is written.
class RecordOutput {
  public:
    explicit RecordOutput(OutputSink& sink) : sink_(sink) {}
    ByteBuffer& text() { return text_; }
    // False once the output has failed.
    bool write_if_large() { return text_.size() < kLarge || write(); }
    bool write();
    // Writes what is collected, then `bytes` as they are, without a copy.
    bool write(std::string_view bytes);
    WriteFailure failure() const { return failure_; }

  private:
    static constexpr std::size_t kLarge = 64 * 1024;
    OutputSink& sink_;
    ByteBuffer text_;
    WriteFailure failure_ = WriteFailure::none;
};

}  // namespace cp
