// Scoring one probing window against the sample pool, in two steps: drawing 3m
// acceptable pool rows from the C generator (in the program's order, one window
// after another), then, from those rows alone, the window's distances to the first
// m, the background distances between the other 2m in pairs, and the paired t-test.
// The second step touches no shared state, so windows may be scored in parallel.
#pragma once

#include <cstdint>
#include <vector>

#include "kmer/profile.h"
#include "kmer/sample_pool.h"
#include "stats/distance.h"
#include "stats/pool_pairs.h"

namespace morvale {

// True when some drawable row (0..P-2) starts outside the exclusion zone of the
// window at `windowStart` (S) of size `windowSize` (W): at or below S - W, or at or
// above S + W.
bool anyDrawableRow(const SamplePool& pool, std::int64_t windowStart, std::int64_t windowSize);

// Draws `wanted` acceptable rows into `drawn`: index rand() % (P - 1), accepted when
// the row starts outside the exclusion zone. One index is drawn before the count is
// tested, so a call consumes one rand() beyond the accepted and rejected draws.
// Requires anyDrawableRow and P >= 2 (PreconditionError otherwise).
void drawSamples(const SamplePool& pool, std::int64_t windowStart, std::int64_t windowSize,
                 int wanted, int* drawn);

struct WindowScore {
  double t = 0.0;
  double p = 1.0;
  // nullptr, or the t-test's failure message (tptest): the window has no score
  // and the scan cannot go on.
  const char* failure = nullptr;
  // A window-score row is written for the window: t >= 0 and p <= 0.1 (a t or p
  // that is not a number never is).
  bool selected() const { return t >= 0.0 && p <= 0.1; }
};

// Per-thread working storage of the second step.
struct ScoreScratch {
  DistanceScratch distance;
  std::vector<double> windowDistances;
  std::vector<double> backgroundDistances;
};

// Scores the window from the 3m rows drawn for it. Background pairs are read from
// `pairs` when it keeps them (they must have been wanted and filled), otherwise
// computed here. A numerical failure of the t-test comes back in `failure`.
WindowScore scoreDrawnSamples(Distance d, const Profile& window, const SamplePool& pool,
                              const int* drawn, int m, const PoolPairDistances& pairs,
                              ScoreScratch& scratch);

}  // namespace morvale
