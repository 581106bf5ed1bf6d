// The window scorer done the literal way (copy every drawn pool row, sum every
// key of every distance), kept as the reference for the fast scorer.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "stats/ttest.h"

namespace morvale::testing {

inline double literalRatio(double u, double v) {
  return v == 0.0 ? 1000.0 : std::clamp(u / v, 0.001, 1000.0);
}

inline double literalDistance(int measure, const double* x, const double* y, double* diff, int n) {
  double sum = 0.0;
  for (int i = 0; i < n; ++i) {
    if (measure == 1 || measure == 4) diff[i] = std::fabs(x[i] - y[i]);
    if (measure == 2 || measure == 5) diff[i] = (x[i] - y[i]) * (x[i] - y[i]);
    if (measure == 3 || measure == 6)
      diff[i] =
          x[i] * std::log(literalRatio(x[i], y[i])) + y[i] * std::log(literalRatio(y[i], x[i]));
    sum += diff[i];
  }
  return measure == 2 || measure == 5 ? std::sqrt(sum) : sum;
}

struct LiteralScore {
  double t, p;
};

// One window scored as the method states it, from dense profiles: `pool[j]` is
// row j's profile and `starts[j]` its start. Draws from the C generator as seeded.
inline LiteralScore literalScore(int n, long w, int m, long s, int measure,
                                 const std::vector<double>& window,
                                 const std::vector<std::vector<double>>& pool,
                                 const std::vector<double>& starts) {
  const int poolSize = static_cast<int>(pool.size());
  std::vector<double> store(static_cast<std::size_t>(3 * m * n));
  std::vector<double> diff(static_cast<std::size_t>(n));
  int accepted = 0;
  for (;;) {
    const int idx = std::rand() % (poolSize - 1);
    if (accepted == 3 * m) break;
    const double pos = starts[idx];
    if (pos <= static_cast<double>(s - w) || pos >= static_cast<double>(s + w)) {
      for (int i = 0; i < n; ++i) store[accepted * n + i] = pool[idx][i];
      ++accepted;
    }
  }
  std::vector<double> near(static_cast<std::size_t>(m)), background(near);
  for (int j = 0; j < m; ++j) {
    near[j] = literalDistance(measure, window.data(), &store[j * n], diff.data(), n);
    background[j] =
        literalDistance(measure, &store[(m + j) * n], &store[(2 * m + j) * n], diff.data(), n);
  }
  double r[2];
  tptest(near.data(), background.data(), m, r);
  return {r[0], r[1]};
}

}  // namespace morvale::testing
