#pragma once
// The figures every benchmark takes from its samples: medians, percentiles, elapsed times.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <vector>

// The sample at fraction p of the sorted samples (0.5: the median); 0 without samples.
inline double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t i = size_t(p * double(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

inline double Median(std::vector<double> v) {
    return Percentile(std::move(v), 0.5);
}

template <class F> double TimeMs(F&& f) {
    auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// This process's memory counters now.
inline PROCESS_MEMORY_COUNTERS_EX ProcessMemory() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return counters;
}

inline double Mb(SIZE_T bytes) {
    return double(bytes) / (1024.0 * 1024.0);
}
