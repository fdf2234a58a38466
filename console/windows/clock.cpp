#include "console/clock.hpp"

#include <windows.h>

namespace cp {

Real local_seconds_since_midnight() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const long long ms =
        now.wHour * 3600000LL + now.wMinute * 60000LL + now.wSecond * 1000LL + now.wMilliseconds;
    return static_cast<Real>(ms) / 1000;
}

void pause_ms(std::int32_t ms) {
    Sleep(static_cast<DWORD>(ms));
}

}  // namespace cp
