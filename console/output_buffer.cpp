// The parts of fd_writer.hpp that every platform shares; each platform folder
// gives write_bytes.
#include "console/fd_writer.hpp"

#include <cstdlib>

namespace cp {

namespace {
constexpr std::size_t kLargeBuffer = 64 * 1024;
}

bool write_all(int fd, std::string_view bytes) {
    return write_bytes(fd, bytes) == WriteFailure::none;
}

void end_after_failed_output() {
    std::exit(0);
}

void write_or_end(int fd, std::string_view bytes) {
    if (!write_all(fd, bytes)) end_after_failed_output();
}

void OutputBuffer::flush() {
    if (text_.empty() || fd_ < 0) return;
    write_or_end(fd_, text_.view());
    text_.clear();
}

void OutputBuffer::flush_if_large() {
    if (text_.size() >= kLargeBuffer) flush();
}

}  // namespace cp
