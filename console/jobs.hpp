#pragma once
// Work side by side on the cores of the machine. The page has no threads:
// there the jobs run one after another.
#include <cstdint>
#include <functional>

namespace cp {

// How many jobs this machine runs side by side: its processors, at least 1;
// 1 where there are no threads.
std::int32_t hardware_jobs();

// Whether work may be shared among threads at all (not in the browser's build).
bool threads_available();

// Runs work(0) to work(count - 1) and returns when all have returned, each in
// a thread of its own where the machine runs more than one job at a time.
void run_jobs(std::int32_t count, const std::function<void(std::int32_t)>& work);

}  // namespace cp
