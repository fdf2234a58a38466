#include "console/jobs.hpp"

namespace cp {

// Threads in the page would need SharedArrayBuffer and the headers it takes.
std::int32_t hardware_jobs() {
    return 1;
}

bool threads_available() {
    return false;
}

}  // namespace cp
