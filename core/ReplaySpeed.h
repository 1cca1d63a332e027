#pragma once

#include <string>

// The replay speeds offered to the user, as timer periods in milliseconds per bar, fastest first.
constexpr int kReplaySpeedSteps[] = {100, 200, 500, 1000, 2000, 5000};
constexpr int kReplaySpeedStepCount = sizeof(kReplaySpeedSteps) / sizeof(kReplaySpeedSteps[0]);

// The next faster step below nPeriodMs; a period at or beyond the fastest step stays as it is.
int FasterReplayPeriod(int nPeriodMs);
// The next slower step above nPeriodMs; a period at or beyond the slowest step stays as it is.
int SlowerReplayPeriod(int nPeriodMs);
// The index of nPeriodMs in kReplaySpeedSteps, or -1 for a period that is not a step.
int ReplaySpeedIndex(int nPeriodMs);
// Seconds per bar of a period, without trailing zeros: "0.5", "2", "1.5".
std::string ReplaySpeedSeconds(int nPeriodMs);
