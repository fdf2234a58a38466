#include "console/fd_writer.hpp"

#include <unistd.h>

#include <cerrno>

namespace cp {

WriteFailure write_bytes(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t done = ::write(fd, bytes.data(), bytes.size());
        if (done > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(done));
            continue;
        }
        if (done < 0 && errno == EINTR) continue;
        if (done < 0 && errno == EPIPE) return WriteFailure::closed;
        if (done < 0 && (errno == ENOSPC || errno == EDQUOT)) return WriteFailure::full;
        return WriteFailure::other;
    }
    return WriteFailure::none;
}

}  // namespace cp
