#include <algorithm>
#include <thread>

#include "console/jobs.hpp"

namespace cp {

std::int32_t hardware_jobs() {
    return static_cast<std::int32_t>(std::max(1u, std::thread::hardware_concurrency()));
}

bool threads_available() {
    return true;
}

}  // namespace cp
