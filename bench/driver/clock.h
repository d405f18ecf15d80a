// The benchmark's clock: QueryPerformanceCounter in milliseconds, the same clock in every process
// of the prefix.
#pragma once

#include <windows.h>

namespace bench {

inline double ticksToMs(long long ticks) {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(ticks) * 1000.0 / frequency;
}

inline double nowMs() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return ticksToMs(now.QuadPart);
}

}  // namespace bench
