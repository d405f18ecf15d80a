// Clocks for the measurements: wall time, CPU time of another Windows process, and CPU time of
// a Linux process (the prefix's wineserver) read through Wine's Z: drive.
#pragma once

#include <windows.h>

#include <optional>

namespace bench {

// Milliseconds of QueryPerformanceCounter; the same clock in every process of the prefix.
double nowMs();
double ticksToMs(long long ticks);

// User plus kernel time the process has used so far: the sum of GetThreadTimes over its threads.
// Not GetProcessTimes: for another process Wine 8 answers with the caller's own times (checked
// here: a child spinning for 2.5 s read as the caller's 20 ms). Linux accounts CPU in 10 ms
// ticks, so that is the resolution. A thread that has ended no longer counts.
std::optional<double> processCpuMs(DWORD processId);

// utime + stime of /proc/<pid>/stat, in ms; nothing when it cannot be read.
std::optional<double> linuxProcessCpuMs(unsigned long pid);

// The Linux pid of the prefix's wineserver, as bench/run.sh found it (HARBEK_BENCH_WINESERVER_PID).
std::optional<unsigned long> wineserverPid();

}  // namespace bench
