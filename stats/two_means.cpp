#include "stats/two_means.h"

#include <algorithm>
#include <cmath>

namespace morvale {

TwoMeansSplit twoMeans(std::vector<double> values) {
  TwoMeansSplit split;
  const std::size_t n = values.size();
  if (n < 2) return split;
  std::sort(values.begin(), values.end());
  // Deviations from the overall mean keep the prefix sums small. With S the sum of
  // the lower group's deviations (the upper one's is -S) and Q the sum of all
  // squared deviations, the within-group sum is Q - S^2 / i - S^2 / (n - i).
  double total = 0.0;
  for (double v : values) total += v;
  const double mean = total / static_cast<double>(n);
  double squares = 0.0;
  for (double v : values) squares += (v - mean) * (v - mean);
  double lower = 0.0;
  std::size_t best = 0;
  double bestWithin = 0.0;
  for (std::size_t i = 1; i < n; ++i) {
    lower += values[i - 1] - mean;
    if (!(values[i - 1] < values[i])) continue;
    const double within = squares - lower * lower / static_cast<double>(i) -
                          lower * lower / static_cast<double>(n - i);
    if (best == 0 || within < bestWithin) {
      best = i;
      bestWithin = within;
    }
  }
  if (best == 0) return split;
  split.found = true;
  split.threshold = values[best];
  split.lowerSize = best;
  split.upperSize = n - best;
  double lowerSum = 0.0;
  double upperSum = 0.0;
  for (std::size_t i = 0; i < best; ++i) lowerSum += values[i];
  for (std::size_t i = best; i < n; ++i) upperSum += values[i];
  split.lowerMean = lowerSum / static_cast<double>(split.lowerSize);
  split.upperMean = upperSum / static_cast<double>(split.upperSize);
  split.withinSquares = bestWithin;
  return split;
}

double nearestRankPercentile(std::vector<double> values, double q) {
  const double product = q * static_cast<double>(values.size());
  const double rank = std::ceil(product - std::fabs(product) * 1e-12);
  const std::size_t at =
      static_cast<std::size_t>(std::clamp(rank, 1.0, static_cast<double>(values.size())) - 1);
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(at), values.end());
  return values[at];
}

}  // namespace morvale
