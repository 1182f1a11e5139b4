// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/RunningTime.h"

#include <windows.h>

#include <realtimeapiset.h>

// The unbiased interrupt time leaves out sleep and hibernation, which the
// performance counter counts; its unit is 100 ns.
long long platformRunningMilliseconds()
{
    ULONGLONG units = 0;
    QueryUnbiasedInterruptTime(&units);
    return static_cast<long long>(units / 10000);
}
