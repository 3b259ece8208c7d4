#pragma once
// The figures every benchmark takes from its samples: medians, percentiles, elapsed times;
// the memory counters come from the tests' support.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/Launch.h"
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

// Runs this benchmark program again with the arguments, and waits for it: a measure taken in
// a fresh process (a peak of memory, say) that what this one did before cannot touch. Its
// output goes to the same console, after what this one printed so far. False if it could
// not start.
inline bool RunSelf(const std::wstring& arguments) {
    std::fflush(stdout);
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    tk::KernelHandle process;
    if (!Launch(L"\"" + std::wstring(self) + L"\" " + arguments, &process, true)) return false;
    WaitForSingleObject(process.Get(), INFINITE);
    return true;
}
