#include "core/ReplaySpeed.h"

#include "platform/StringFormat.h"

int FasterReplayPeriod(int nPeriodMs)
{
    for (int i = kReplaySpeedStepCount - 1; i >= 0; --i)
        if (kReplaySpeedSteps[i] < nPeriodMs)
            return kReplaySpeedSteps[i];
    return nPeriodMs;
}

int SlowerReplayPeriod(int nPeriodMs)
{
    for (int nStep : kReplaySpeedSteps)
        if (nStep > nPeriodMs)
            return nStep;
    return nPeriodMs;
}

int ReplaySpeedIndex(int nPeriodMs)
{
    for (int i = 0; i < kReplaySpeedStepCount; ++i)
        if (kReplaySpeedSteps[i] == nPeriodMs)
            return i;
    return -1;
}

std::string ReplaySpeedSeconds(int nPeriodMs)
{
    // %g drops the trailing zeros: 0.5 and 2, not 0.500 and 2.000.
    return StringFormat("%g", nPeriodMs / 1000.0);
}
