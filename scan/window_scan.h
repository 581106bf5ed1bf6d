// The machinery both scans share: the sample pool, and the loop that scores
// windows in batches. Within a batch the random draws are made first, one window
// after another in the program's order from the one C generator; the windows are
// then profiled and tested, on as many threads as the pool has; the progress
// events and window-score rows follow in window order. So the files do not depend
// on the number of threads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/worker_pool.h"
#include "kmer/kmer_counts.h"
#include "kmer/sample_pool.h"
#include "scan/scan_progress.h"
#include "stats/pool_pairs.h"
#include "stats/window_score.h"

namespace morvale {

enum class ScanResult {
  kCompleted,    // go on with island assembly
  kFailed,       // the scan could not go on (lost rows, no memory, the t-test failed)
  kInterrupted,  // the front end asked the scan to stop
};

struct ScanOutcome {
  ScanResult result = ScanResult::kCompleted;
  std::string error;               // one line when kFailed
  std::string numericalFailure;    // the t-test's own message when it failed (tptest)
  std::int64_t windowsTested = 0;  // windows scored or skipped, every repetition counted
};

// Working storage of one thread.
struct WorkerScratch {
  KmerCountTable table;
  Profile window;
  ScoreScratch score;
};

// What a scan holds while it runs.
struct ScanContext {
  ScanContext(int k, int measure, int drawCount, std::string scoreFile, ScanProgress& progress,
              WorkerPool& workers);
  int k;
  int measure;
  int drawCount;
  Distance distance;
  std::string scoreFile;
  ScanProgress& progress;
  WorkerPool& workers;
  std::vector<WorkerScratch> scratch;  // one per thread
  SamplePool pool;
  PoolPairDistances pairs;
};

// Removes the window-score file of an earlier run ("NAME is deleted"); a file that
// does not exist is no error. Returns "" or one line saying why it could not go.
std::string removeStaleFile(ScanContext& scan);

// Fills the pool with `rows` samples of `w` letters of `text`: row j starts at
// Rand(modulus), drawn again while the start, read as unsigned, is not below
// `limit` (so negative draws are rejected). Consumes the C generator as seeded by
// the caller. Returns "" or one line when the pool does not fit in memory.
std::string drawPool(ScanContext& scan, int rows, const std::string& text, std::int64_t w,
                     std::int64_t modulus, std::int64_t limit);

// Windows of `w` letters starting at first, first + step, ... (count of them).
struct WindowRun {
  std::int64_t first;
  std::int64_t step;
  std::int64_t count;
};

enum class ScanPhase {
  kFirst,       // centre start + w / 2 (integer division), one scoring per window
  kRefinement,  // centre start + 0.5 w, `repeats` scorings per window in a row
};

// Scores every window of `runs` against the pool, `repeats` times each, and
// appends the selected rows to the score file. Stops early when the progress asks
// it to (kInterrupted), a row cannot be written or the t-test fails numerically
// (kFailed). A failing window stops the scan before its own progress events: the
// events and rows of the windows before it are out, as if they were scored one by
// one, whatever the number of threads.
ScanOutcome scoreWindows(ScanContext& scan, ScanPhase phase, const std::string& letters,
                         std::int64_t w, const std::vector<WindowRun>& runs, int repeats);

}  // namespace morvale
