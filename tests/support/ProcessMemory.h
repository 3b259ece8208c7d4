#pragma once
// This process's memory counters, for the tests and benchmarks that check memory does not
// grow. Wine leaves PrivateUsage at 0 but keeps PagefileUsage (the commit charge), which is
// the same figure.
#include <windows.h>

#include <psapi.h>

#include <algorithm>

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

// The private bytes, whichever of the two counters holds them.
inline SIZE_T PrivateBytes(const PROCESS_MEMORY_COUNTERS_EX& counters) {
    return std::max(counters.PrivateUsage, counters.PagefileUsage);
}
