#pragma once
#include "console/numbers/real.hpp"

namespace cp {

// Seconds since local midnight, with millisecond resolution.
Real local_seconds_since_midnight();

}  // namespace cp
