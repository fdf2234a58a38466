#pragma once
// Every heap allocation of the benchmark binary is counted, so that a benchmark
// can report how many a row or a term costs.
#include <cstdint>

namespace cp::bench {

std::uint64_t allocations();

}  // namespace cp::bench
