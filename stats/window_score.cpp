#include "stats/window_score.h"

#include <cstdlib>

#include "islands/result_files.h"
#include "stats/ttest.h"

namespace morvale {

namespace {
constexpr std::size_t kMaxCachedPairs = std::size_t{1} << 22;  // 32 MiB of doubles

// True when some drawable row (0..P-2) lies outside the exclusion zone.
bool anyAcceptable(const SamplePool& pool, int poolSize, double low, double high) {
  for (int j = 0; j < poolSize - 1; ++j) {
    const double pos = pool.row(j)[0];
    if (pos <= low || pos >= high) return true;
  }
  return false;
}

// Draws 3m acceptable rows. One index is drawn before the count is tested, so a
// call consumes one rand() beyond the accepted and rejected draws.
void drawSamples(ScoreWorkspace& ws, const SamplePool& pool, int poolSize, int wanted, double low,
                 double high) {
  ws.drawn.resize(static_cast<std::size_t>(wanted));
  int accepted = 0;
  for (;;) {
    const int idx = std::rand() % (poolSize - 1);
    if (accepted == wanted) break;
    const double pos = pool.row(idx)[0];
    if (pos <= low || pos >= high) ws.drawn[static_cast<std::size_t>(accepted++)] = idx;
  }
}
}  // namespace

void PairCache::reset(int rows) {
  const std::size_t cells = static_cast<std::size_t>(rows) * static_cast<std::size_t>(rows);
  rows_ = cells <= kMaxCachedPairs ? rows : 0;
  value_.assign(rows_ ? cells : 0, 0.0);
  known_.assign(rows_ ? cells : 0, 0);
}

double PairCache::get(Distance d, const SamplePool& pool, int a, int b) {
  const auto compute = [&] { return profileDistance(d, pool.sparse(a), pool.sparse(b)); };
  if (a >= rows_ || b >= rows_) return compute();
  const std::size_t cell = static_cast<std::size_t>(a < b ? a : b) * rows_ + (a < b ? b : a);
  if (!known_[cell]) {
    value_[cell] = compute();
    known_[cell] = 1;
  }
  return value_[cell];
}

ScoreOutcome scoreWindow(int tupleSize, std::int64_t windowSize, int drawCount, ScoreWorkspace& ws,
                         double windowCentre, std::int64_t windowStart, int measure,
                         const Profile& window, const SamplePool& pool, int poolSize,
                         const std::string& scoreFile) {
  (void)tupleSize;  // the profiles carry their own length
  const Distance d = distanceOf(measure);
  const double low = static_cast<double>(windowStart - windowSize);
  const double high = static_cast<double>(windowStart + windowSize);
  if (!anyAcceptable(pool, poolSize, low, high)) return ScoreOutcome::kNoAcceptableSample;
  const int m = drawCount;
  drawSamples(ws, pool, poolSize, 3 * m, low, high);
  if (d == Distance::kNone) return ScoreOutcome::kNotSelected;

  ws.windowDistances.resize(static_cast<std::size_t>(m));
  ws.backgroundDistances.resize(static_cast<std::size_t>(m));
  for (int j = 0; j < m; ++j) {
    const int row = ws.drawn[static_cast<std::size_t>(j)];
    ws.windowDistances[static_cast<std::size_t>(j)] =
        profileDistance(d, window.sparse(), pool.sparse(row));
    ws.backgroundDistances[static_cast<std::size_t>(j)] =
        ws.pairs.get(d, pool, ws.drawn[static_cast<std::size_t>(m + j)],
                     ws.drawn[static_cast<std::size_t>(2 * m + j)]);
  }
  double result[2];
  tptest(ws.windowDistances.data(), ws.backgroundDistances.data(), m, result);
  if (!(result[0] >= 0.0 && result[1] <= 0.1)) return ScoreOutcome::kNotSelected;
  return appendWindowScoreRow(scoreFile, WindowScoreRow{windowSize, windowCentre, result[1]})
             ? ScoreOutcome::kRowWritten
             : ScoreOutcome::kWriteFailed;
}

ScoreOutcome distanceI(int tupleSize, std::int64_t windowSize, int drawCount, ScoreWorkspace& ws,
                       double windowCentre, std::int64_t windowStart, int measure,
                       const Profile& window, const SamplePool& pool, int poolSize) {
  return scoreWindow(tupleSize, windowSize, drawCount, ws, windowCentre, windowStart, measure,
                     window, pool, poolSize, resultFileNames(measure).firstScores);
}

ScoreOutcome distanceII(int tupleSize, std::int64_t windowSize, int drawCount, ScoreWorkspace& ws,
                        double windowCentre, std::int64_t windowStart, std::int64_t genomeLength,
                        int measure, const Profile& window, const SamplePool& pool, int poolSize) {
  (void)genomeLength;
  return scoreWindow(tupleSize, windowSize, drawCount, ws, windowCentre, windowStart, measure,
                     window, pool, poolSize, resultFileNames(measure).refinementScores);
}

}  // namespace morvale
