// The first phase: scan the whole genome with windows of growing size, each size
// with a fresh pool of random samples, and score every window position.
#pragma once

#include <string>

#include "scan/scan_common.h"

namespace morvale {

constexpr int kMaxFirstPhaseWindow = 10000;

// Window sizes W0, W0 + increment, ... while below L and at most 10000; for each,
// a pool of `poolSize` samples at Rand(L - W - 1) (negatives redrawn), then windows
// at starts 0, step, 2 step, ... while start < L - W, centre start + W / 2.
// Rows go to the measure's first-phase window-score file, which is removed once the
// genome has been read (a genome that cannot be scanned leaves it alone).
ScanResult IslandI(int tupleSize, int windowSize, int drawCount, int windowStep,
                   int windowIncrement, const std::string& genomeFileName, int measure,
                   int poolSize);

}  // namespace morvale
