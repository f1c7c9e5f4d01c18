#pragma once

#include <cstdio>
#include <ctime>
#include <sys/resource.h>

// Timestamps on CLOCK_MONOTONIC, the clock the driver script reads too.
inline double monotonicSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

inline double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline long peakRssKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

inline void mark(const char* what, double value)
{
    std::printf("BENCH %s %.6f\n", what, value);
    std::fflush(stdout);
}
