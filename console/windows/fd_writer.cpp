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
WriteFailure write_bytes(int fd, std::string_view bytes) {
    const HANDLE handle = handle_of(fd);
    if (handle == INVALID_HANDLE_VALUE) return WriteFailure::other;
    while (!bytes.empty()) {
        DWORD done = 0;
        const auto size = static_cast<DWORD>(std::min(bytes.size(), kLargestWrite));
        if (!WriteFile(handle, bytes.data(), size, &done, nullptr)) {
            switch (GetLastError()) {
                case ERROR_BROKEN_PIPE:
                case ERROR_NO_DATA:
                    return WriteFailure::closed;
                case ERROR_DISK_FULL:
                case ERROR_HANDLE_DISK_FULL:
                    return WriteFailure::full;
                default:
                    return WriteFailure::other;
            }
        }
        if (done == 0) return WriteFailure::other;
        bytes.remove_prefix(done);
    }
    return WriteFailure::none;
}

}  // namespace cp
