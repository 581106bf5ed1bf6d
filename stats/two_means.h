// Splitting one-dimensional values into a lower and an upper group (exact
// two-means), and the nearest-rank percentile: the generic pieces of a cut-off
// fitted to a genome's own scores.
#pragma once

#include <cstddef>
#include <vector>

namespace morvale {

struct TwoMeansSplit {
  bool found = false;         // false for fewer than 2 values or when all are equal
  double threshold = 0.0;     // the smallest value of the upper group
  std::size_t lowerSize = 0;  // values below the threshold
  std::size_t upperSize = 0;  // values at or above it
  double lowerMean = 0.0;     // mean of each group
  double upperMean = 0.0;
  double withinSquares = 0.0;  // the sum of squared deviations from the group means
};

// The split of `values` (any order) into the lower i and the upper n - i of the
// sorted values, 1 <= i < n, with the least sum of squared deviations within the
// groups. Only splits between two different values are candidates, so equal values
// always share a group and the threshold separates the groups exactly. Of splits
// with the same sum (as computed), the one with the smallest lower group wins.
TwoMeansSplit twoMeans(std::vector<double> values);  // values must be numbers (no NaN)

// The nearest-rank percentile: the value at 1-based position ceil(q * n) of the
// sorted values, q in (0, 1], the position at least 1. A product within a relative
// 1e-12 of a whole number counts as that number. `values` must not be empty.
double nearestRankPercentile(std::vector<double> values, double q);

}  // namespace morvale
