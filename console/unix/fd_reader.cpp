#include "console/fd_reader.hpp"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace cp {

std::size_t read_bytes(int fd, char* data, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd, data, size);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) return 0;
    }
}

bool readable_now(int fd) {
    pollfd ready{fd, POLLIN, 0};
    return ::poll(&ready, 1, 0) > 0;
}

}  // namespace cp
