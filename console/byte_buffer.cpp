#include "console/byte_buffer.hpp"

#include <algorithm>

namespace cp {

namespace {
constexpr std::size_t kFirstRoom = 256;
}

void ByteBuffer::grow(std::size_t n) {
    // Doubled, so that the fill that comes with a std::string's growth is paid
    // once per doubling, not per write.
    storage_.resize(std::max({size_ + n, 2 * storage_.size(), kFirstRoom}));
}

}  // namespace cp
