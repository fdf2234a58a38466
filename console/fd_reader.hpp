#pragma once
// Reading the raw bytes of a standard stream that is not a terminal: a pipe,
// a file, a device. Every platform folder gives its own body.
#include <cstddef>

namespace cp {

// Up to `size` bytes from fd into data, waiting for them if need be; 0 at the
// end of the input or on an error.
std::size_t read_bytes(int fd, char* data, std::size_t size);
// A read now would return at once: bytes are there, or the input has ended.
bool readable_now(int fd);

}  // namespace cp
