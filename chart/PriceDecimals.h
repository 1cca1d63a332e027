#pragma once

// Prices are shown with as many decimals as their file writes, from cents up to this many:
// enough for prices around 1e-8 to keep two significant digits.
constexpr int kMinPriceDecimals = 2;
constexpr int kMaxPriceDecimals = 10;
