#pragma once

#include <ctime>

namespace VeltaTest {

/// CPU time of the whole process, every thread (the software renderer's
/// included), in milliseconds. On a machine shared with other work a frame's
/// real time says little; the CPU time of all its threads says more.
inline double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

} // namespace VeltaTest
