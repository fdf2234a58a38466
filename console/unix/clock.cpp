#include "console/clock.hpp"

#include <time.h>

namespace cp {

Real local_seconds_since_midnight() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    const long long ms = local.tm_hour * 3600000LL + local.tm_min * 60000LL +
                         local.tm_sec * 1000LL + now.tv_nsec / 1000000L;
    return static_cast<Real>(ms) / 1000;
}

}  // namespace cp
