#include "explorer/value_set.hpp"

namespace cp {
namespace {

constexpr std::size_t kInitialSlots = 1024;  // a power of two

std::uint64_t mix(SequenceValue v) {
    const auto bits = static_cast<UnsignedSequenceValue>(v);
    std::uint64_t h = static_cast<std::uint64_t>(bits) ^
                      (static_cast<std::uint64_t>(bits >> 64) * 0x9E3779B97F4A7C15ull);
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    return h;
}

}  // namespace

void ValueSet::clear() {
    size_ = 0;
    if (++generation_ == 0) {
        // Once in four billion runs the stamps wrap round: start afresh.
        for (Slot& slot : slots_) slot.generation = 0;
        generation_ = 1;
    }
}

std::size_t ValueSet::slot_of(SequenceValue v) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = static_cast<std::size_t>(mix(v)) & mask;
    while (slots_[i].generation == generation_ && slots_[i].value != v) i = (i + 1) & mask;
    return i;
}

bool ValueSet::contains(SequenceValue v) const {
    if (slots_.empty()) return false;
    return slots_[slot_of(v)].generation == generation_;
}

bool ValueSet::insert(SequenceValue v) {
    if ((size_ + 1) * 2 > slots_.size()) grow();
    Slot& slot = slots_[slot_of(v)];
    if (slot.generation == generation_) return false;
    slot.value = v;
    slot.generation = generation_;
    ++size_;
    return true;
}

void ValueSet::grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? kInitialSlots : old.size() * 2, Slot{});
    const std::uint32_t old_generation = generation_;
    generation_ = 1;
    size_ = 0;
    for (const Slot& slot : old) {
        if (slot.generation != old_generation) continue;
        Slot& fresh = slots_[slot_of(slot.value)];
        fresh.value = slot.value;
        fresh.generation = generation_;
        ++size_;
    }
}

}  // namespace cp
