#include "console/fd_writer.hpp"

#include <algorithm>

#include "console/windows/handles.hpp"

namespace cp {

namespace {
// WriteFile takes a 32-bit count.
constexpr std::size_t kLargestWrite = 1 << 30;
}  // namespace

// Straight to the handle: the C runtime's text mode would turn LF into CR LF,
// and the bytes must be the same as on every other platform.
bool write_all(int fd, std::string_view bytes) {
    const HANDLE handle = handle_of(fd);
    if (handle == INVALID_HANDLE_VALUE) return false;
    while (!bytes.empty()) {
        DWORD done = 0;
        const auto size = static_cast<DWORD>(std::min(bytes.size(), kLargestWrite));
        if (!WriteFile(handle, bytes.data(), size, &done, nullptr) || done == 0) return false;
        bytes.remove_prefix(done);
    }
    return true;
}

}  // namespace cp
