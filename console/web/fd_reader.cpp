#include "console/fd_reader.hpp"

#include <unistd.h>

namespace cp {

// Under node the standard input is read through node's own file functions;
// no signal ever cuts into a read.
std::size_t read_bytes(int fd, char* data, std::size_t size) {
    const ssize_t got = ::read(fd, data, size);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

// Node's files cannot be polled, so the answer is always "it may wait": the
// screen is brought up to date before each read, which happens once per
// buffer of keys.
bool readable_now(int) {
    return false;
}

}  // namespace cp
