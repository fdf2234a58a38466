#include "console/fd_reader.hpp"

#include "console/windows/handles.hpp"

namespace cp {

// ReadFile on the handle itself: the C runtime's text mode would turn CR LF
// into LF and end the input at a Ctrl+Z byte.
std::size_t read_bytes(int fd, char* data, std::size_t size) {
    const HANDLE handle = handle_of(fd);
    DWORD got = 0;
    // A closed pipe reads as an error here: the end of the input all the same.
    if (handle == INVALID_HANDLE_VALUE ||
        !ReadFile(handle, data, static_cast<DWORD>(size), &got, nullptr)) {
        return 0;
    }
    return got;
}

bool readable_now(int fd) {
    // Only a pipe can keep a reader waiting; a file or a device answers at once.
    const HANDLE handle = handle_of(fd);
    if (GetFileType(handle) != FILE_TYPE_PIPE) return true;
    DWORD available = 0;
    return !PeekNamedPipe(handle, nullptr, 0, nullptr, &available, nullptr) || available > 0;
}

}  // namespace cp
