// The refinement phase: rescan the islands of an island list with a fixed window,
// against random samples drawn once from the rest of the genome (the background),
// scoring each window position several times in a row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/worker_pool.h"
#include "scan/scan_progress.h"
#include "scan/settings.h"
#include "scan/window_scan.h"

namespace morvale {

// The genome with every island [start, end) cut out, the rest joined in order.
// `islands` holds start, end, start, end, ... ascending and inside the genome.
std::string backgroundSequence(const std::string& genome, const std::vector<std::int64_t>& islands);

// Seeds the generator with `seed` once and draws the pool from the background at
// Rand(B - W - 1), kept while the offset, read as unsigned, is below G - W. Then
// for every island, windows [start, start + W) with start = island start, + step,
// ... while start < end - W, each scored `scanCount` times in a row with centre
// start + 0.5 W. Rows are appended to `scoreFile`, which is removed first.
// Requires a checked island list whose background has at least W + 2 letters.
ScanOutcome IslandII(const RefinementSettings& settings, int tupleSize, int measure,
                     const std::string& letters, const std::vector<std::int64_t>& islands,
                     unsigned seed, const std::string& scoreFile, ScanProgress& progress,
                     WorkerPool& workers);

}  // namespace morvale
