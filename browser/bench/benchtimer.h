#pragma once
// The median time of repeated work, for the browser's benchmarks.
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace browser::bench {

inline double medianMicroseconds(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace browser::bench
