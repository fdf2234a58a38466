#include "console/fd_writer.hpp"

#include <unistd.h>

#include <cerrno>

namespace cp {

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

}  // namespace cp
