#pragma once
// The values a run has had: an open-addressing hash set that keeps its memory
// between runs, so that emptying it costs nothing and a long run or a search
// over many candidates allocates only while it grows.
#include <cstdint>
#include <vector>

#include "explorer/sequence_value.hpp"

namespace cp {

class ValueSet {
  public:
    void clear();
    // Adds v; false when v was already there.
    bool insert(SequenceValue v);
    bool contains(SequenceValue v) const;
    std::size_t size() const { return size_; }

  private:
    struct Slot {
        SequenceValue value = 0;
        std::uint32_t generation = 0;  // the slot is in use when it equals generation_
    };
    std::size_t slot_of(SequenceValue v) const;
    void grow();

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
    std::uint32_t generation_ = 1;
};

}  // namespace cp
