#include "stats/window_score.h"

#include <cstdlib>

#include "base/precondition.h"
#include "stats/ttest.h"

namespace morvale {

namespace {
bool outsideZone(double start, double low, double high) {
  return start <= low || start >= high;
}
}  // namespace

bool anyDrawableRow(const SamplePool& pool, std::int64_t windowStart, std::int64_t windowSize) {
  const double low = static_cast<double>(windowStart - windowSize);
  const double high = static_cast<double>(windowStart + windowSize);
  for (int j = 0; j < pool.size() - 1; ++j)
    if (outsideZone(pool.starts[static_cast<std::size_t>(j)], low, high)) return true;
  return false;
}

void drawSamples(const SamplePool& pool, std::int64_t windowStart, std::int64_t windowSize,
                 int wanted, int* drawn) {
  require(pool.size() >= 2 && anyDrawableRow(pool, windowStart, windowSize),
          "samples drawn from a pool without an acceptable row");
  const double low = static_cast<double>(windowStart - windowSize);
  const double high = static_cast<double>(windowStart + windowSize);
  for (int accepted = 0;;) {
    const int idx = std::rand() % (pool.size() - 1);
    if (accepted == wanted) break;
    if (outsideZone(pool.starts[static_cast<std::size_t>(idx)], low, high)) drawn[accepted++] = idx;
  }
}

WindowScore scoreDrawnSamples(Distance d, const Profile& window, const SamplePool& pool,
                              const int* drawn, int m, const PoolPairDistances& pairs,
                              ScoreScratch& s) {
  s.windowDistances.resize(static_cast<std::size_t>(m));
  s.backgroundDistances.resize(static_cast<std::size_t>(m));
  for (int j = 0; j < m; ++j) {
    const auto at = static_cast<std::size_t>(j);
    s.windowDistances[at] = profileDistance(d, window.sparse(), pool.sparse(drawn[j]), s.distance);
    const int a = drawn[m + j];
    const int b = drawn[2 * m + j];
    s.backgroundDistances[at] =
        pairs.keeps() ? pairs.get(a, b)
                      : profileDistance(d, pool.sparse(a), pool.sparse(b), s.distance);
  }
  double result[2];
  const char* failure = tptest(s.windowDistances.data(), s.backgroundDistances.data(), m, result);
  return WindowScore{result[0], result[1], failure};
}

}  // namespace morvale
