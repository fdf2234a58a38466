#pragma once
// Fixed-size lists of 64-bit integers, newest value first.
#include <cstdint>
#include <span>

#include "console/numbers/real.hpp"

namespace cp {

// 1-based position of the first element equal to v (v stored as a 64-bit
// integer first), scanning every element; 0 when none is equal.
std::int64_t list_find(std::span<const std::int64_t> list, Real v);
// Every element moves up one index, the last is lost, v goes to index 0.
void list_push_front(std::span<std::int64_t> list, Real v);

}  // namespace cp
