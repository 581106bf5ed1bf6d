// Scoring one probing window: draw 3m acceptable rows of the sample pool, take the
// window's distances to the first m and the background distances between the
// other 2m in pairs, run the paired t-test, and append a window-score row when
// t >= 0 and p <= 0.1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kmer/kmer_tree.h"
#include "stats/distance.h"

namespace morvale {

// Distances between pool rows, remembered for the life of one pool: a distance is
// symmetric bit for bit, and the same pairs recur across the windows of a pool.
class PairCache {
 public:
  // Forgets everything; call whenever the pool is redrawn. Pools too large for a
  // table of P x P doubles are not cached.
  void reset(int rows);
  double get(Distance d, const SamplePool& pool, int a, int b);

 private:
  int rows_ = 0;
  std::vector<double> value_;
  std::vector<std::uint8_t> known_;
};

// Working storage a scan allocates once and hands to every scoring.
struct ScoreWorkspace {
  std::vector<int> drawn;  // the 3m accepted pool rows, in draw order
  std::vector<double> windowDistances;
  std::vector<double> backgroundDistances;
  PairCache pairs;
};

enum class ScoreOutcome {
  kNotSelected,         // the test did not select the window
  kRowWritten,          // a row was appended
  kNoAcceptableSample,  // every drawable row starts within W of the window start
  kWriteFailed,         // the row could not be written (errno tells why)
};

// Scores the window at `windowStart` (S) of size `windowSize` (W) against the
// pool. Rows 0..P-2 are drawn with rand() % (P - 1); a row is acceptable when its
// start is <= S - W or >= S + W. The generator is not re-seeded here: successive
// scorings continue one sequence. When no drawable row is acceptable, nothing is
// drawn and kNoAcceptableSample is returned. Rows go to `scoreFile`.
ScoreOutcome scoreWindow(int tupleSize, std::int64_t windowSize, int drawCount, ScoreWorkspace& ws,
                         double windowCentre, std::int64_t windowStart, int measure,
                         const Profile& window, const SamplePool& pool, int poolSize,
                         const std::string& scoreFile);

// First phase: rows go to the measure's first-phase window-score file.
ScoreOutcome distanceI(int tupleSize, std::int64_t windowSize, int drawCount, ScoreWorkspace& ws,
                       double windowCentre, std::int64_t windowStart, int measure,
                       const Profile& window, const SamplePool& pool, int poolSize);

// Refinement: rows go to the measure's refinement window-score file.
// `genomeLength` is accepted for the caller's convenience and not used.
ScoreOutcome distanceII(int tupleSize, std::int64_t windowSize, int drawCount, ScoreWorkspace& ws,
                        double windowCentre, std::int64_t windowStart, std::int64_t genomeLength,
                        int measure, const Profile& window, const SamplePool& pool, int poolSize);

}  // namespace morvale
