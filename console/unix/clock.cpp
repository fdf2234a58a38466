#include "console/clock.hpp"

#include <time.h>

#include <cerrno>

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

void pause_ms(std::int32_t ms) {
    timespec left{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

}  // namespace cp
