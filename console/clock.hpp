#pragma once
#include <cstdint>

#include "console/numbers/real.hpp"

namespace cp {

// Seconds since local midnight, with millisecond resolution.
Real local_seconds_since_midnight();
// Suspends the program for ms milliseconds (more than 0), whatever signals come.
void pause_ms(std::int32_t ms);

}  // namespace cp
