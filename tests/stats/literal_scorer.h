// The window scorer done the literal way (copy every drawn pool row, sum every
// key of every distance), kept as the reference for the fast scorer.
#pragma once

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "islands/result_files.h"
#include "stats/ttest.h"

namespace morvale::testing {

// The scorer as the method states it: copy the window and every accepted pool row
// into the working arrays, then sum every key of every distance.
inline double literalRatio(double u, double v) {
  if (v == 0.0) return 1000.0;
  double r = u / v;
  if (r <= 0.001) r = 0.001;
  if (r >= 1000.0) r = 1000.0;
  return r;
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
// Returns the row the literal scorer would write, or "" for none.
inline std::string literalScore(int k, long w, int m, double centre, long s, int measure,
                                double** windowProfile, double** pool, int poolSize) {
  const int n = static_cast<int>(std::pow(4.0, k));
  std::vector<double> copy(windowProfile[0], windowProfile[0] + n);
  std::vector<double> store(static_cast<std::size_t>(3 * m * n));
  std::vector<double> diff(n);
  int accepted = 0;
  for (;;) {
    const int idx = std::rand() % (poolSize - 1);
    if (accepted == 3 * m) break;
    const double pos = pool[idx][0];
    if (pos <= static_cast<double>(s - w) || pos >= static_cast<double>(s + w)) {
      for (int i = 0; i < n; ++i) store[accepted * n + i] = pool[idx][i + 1];
      ++accepted;
    }
  }
  std::vector<double> window(m);
  std::vector<double> background(m);
  for (int j = 0; j < m; ++j) {
    window[j] = literalDistance(measure, copy.data(), &store[j * n], diff.data(), n);
    background[j] =
        literalDistance(measure, &store[(m + j) * n], &store[(2 * m + j) * n], diff.data(), n);
  }
  double r[2];
  tptest(window.data(), background.data(), m, r);
  if (!(r[0] >= 0.0 && r[1] <= 0.1)) return "";
  return formatWindowScoreRow(WindowScoreRow{w, centre, r[1]});
}

}  // namespace morvale::testing
