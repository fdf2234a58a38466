#pragma once
// Bytes being built for output, written in place: a hot path asks for room
// for the most it may write, writes straight into it and says where it ended.
// Appending a few bytes at a time to a std::string costs a capacity check and
// a terminator per call, and making room in one costs a fill. The room is
// kept: once grown, the buffer costs no fill again.
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace cp {

class ByteBuffer {
  public:
    // Room for at least n more bytes after the last; write from here, then commit.
    char* room(std::size_t n) {
        if (storage_.size() - size_ < n) grow(n);
        return storage_.data() + size_;
    }
    // The bytes now end at `end`, a position within the room.
    void commit(const char* end) { size_ = static_cast<std::size_t>(end - storage_.data()); }

    void append(std::string_view bytes) {
        char* p = room(bytes.size());
        if (!bytes.empty()) std::memcpy(p, bytes.data(), bytes.size());
        size_ += bytes.size();
    }
    void push_back(char c) {
        *room(1) = c;
        ++size_;
    }

    std::string_view view() const { return {storage_.data(), size_}; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear() { size_ = 0; }

  private:
    void grow(std::size_t n);

    std::string storage_;  // all of it room: the bytes are its first size_
    std::size_t size_ = 0;
};

}  // namespace cp
