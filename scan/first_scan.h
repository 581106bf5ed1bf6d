// The first phase: scan the whole genome with windows of growing size, each size
// with a fresh pool of random samples, and score every window position.
#pragma once

#include <cstdint>
#include <string>

#include "base/worker_pool.h"
#include "scan/scan_progress.h"
#include "scan/settings.h"
#include "scan/window_scan.h"

namespace morvale {

// Window sizes W0, W0 + increment, ... while below L and at most 10000. For each
// size: the generator is seeded with `seed`, a pool of samples is drawn at
// Rand(L - W - 1) (negatives redrawn), and windows are scored at starts 0, step,
// 2 step, ... while start < L - W, centre start + W / 2. Rows are appended to
// `scoreFile`, which is removed first. Requires L > W0 (the caller checks).
ScanOutcome IslandI(const FirstPhaseSettings& settings, const std::string& letters, unsigned seed,
                    const std::string& scoreFile, ScanProgress& progress, WorkerPool& workers);

// The number of windows of size `w` in a genome of `length` letters at `step`.
std::int64_t windowsOfSize(std::int64_t length, std::int64_t w, std::int64_t step);

}  // namespace morvale
