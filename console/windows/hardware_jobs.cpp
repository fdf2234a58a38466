#include <windows.h>

#include <algorithm>

#include "console/jobs.hpp"

namespace cp {

// Every processor group counts: a machine of more than 64 processors has
// several, and the standard library's count sees only one.
std::int32_t hardware_jobs() {
    return static_cast<std::int32_t>(
        std::max<DWORD>(1, GetActiveProcessorCount(ALL_PROCESSOR_GROUPS)));
}

bool threads_available() {
    return true;
}

}  // namespace cp
