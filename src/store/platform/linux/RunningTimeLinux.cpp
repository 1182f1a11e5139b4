// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/RunningTime.h"

#include <ctime>

// CLOCK_MONOTONIC is not stepped by date changes and leaves out suspend
// (CLOCK_BOOTTIME would count it).
long long platformRunningMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}
