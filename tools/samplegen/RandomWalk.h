#pragma once

#include <cstdint>
#include <ostream>

// Writes nBars daily K-line rows "YYYY-MM-DD,open,high,low,close,volume" on consecutive
// weekdays from 2015-01-05: a random walk with two-decimal prices where the high is the highest
// and the low the lowest of the four. The same seed gives the same file on every machine.
void WriteRandomWalkKLines(std::ostream& out, long nBars, std::uint64_t nSeed);
