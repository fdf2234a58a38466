#include "console/fd_writer.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace cp {

namespace {
constexpr std::size_t kLargeBuffer = 64 * 1024;
}

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t done = ::write(fd, bytes.data(), bytes.size());
        if (done > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(done));
            continue;
        }
        if (done < 0 && errno == EINTR) continue;
        return false;
    }
    return true;
}

void end_after_failed_output() {
    std::exit(0);
}

void write_or_end(int fd, std::string_view bytes) {
    if (!write_all(fd, bytes)) end_after_failed_output();
}

void OutputBuffer::flush() {
    if (text_.empty() || fd_ < 0) return;
    write_or_end(fd_, text_);
    text_.clear();
}

void OutputBuffer::flush_if_large() {
    if (text_.size() >= kLargeBuffer) flush();
}

}  // namespace cp
