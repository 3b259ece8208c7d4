#pragma once
// The figures every benchmark takes from its samples: medians, percentiles, elapsed times;
// the memory counters come from the tests' support.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "tests/support/ProcessMemory.h"

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
