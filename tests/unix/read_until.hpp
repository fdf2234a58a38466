#pragma once
// What a test reads from the program's other end: bytes gathered until the
// text it waits for has come.
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <string_view>

namespace cp::testing {

// Reads fd into `seen` until `needle` stands in it at or after `from`. False
// once the other end has closed, or when `limit` has passed.
inline bool read_until(int fd, std::string& seen, std::string_view needle, std::size_t from = 0,
                       std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (seen.find(needle, from) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 50) <= 0) continue;
        char bytes[4096];
        const ssize_t got = read(fd, bytes, sizeof bytes);
        if (got <= 0) return false;
        seen.append(bytes, static_cast<std::size_t>(got));
    }
    return true;
}

}  // namespace cp::testing
