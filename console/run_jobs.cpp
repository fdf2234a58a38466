#include <thread>
#include <vector>

#include "console/jobs.hpp"

namespace cp {

// Where there are no threads (the page), the jobs take their turns.
void run_jobs(std::int32_t count, const std::function<void(std::int32_t)>& work) {
    if (!threads_available()) {
        for (std::int32_t job = 0; job < count; ++job) work(job);
        return;
    }
    std::vector<std::thread> others;
    for (std::int32_t job = 1; job < count; ++job) others.emplace_back(work, job);
    if (count > 0) work(0);
    for (std::thread& thread : others) thread.join();
}

}  // namespace cp
