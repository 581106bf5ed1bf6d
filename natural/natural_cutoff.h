// The cut-off of the natural scan, fitted to the genome's own window scores: the
// scores, capped at their 99.5th percentile, split in two by exact two-means; the
// cut-off is the smallest score of the upper group. A split that calls too many
// windows, or whose groups hardly differ, says the genome has no islands.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "natural/window_scores.h"

namespace morvale::natural {

constexpr double kCapPercentile = 0.995;
constexpr int kMostCalledPercent = 30;          // more windows called than this: no islands
constexpr double kLeastMeanDifference = 0.005;  // upper mean - lower mean below this: none

struct NaturalCutoff {
  bool islandsCalled = false;
  std::string noIslandsReason;  // one line when islandsCalled is false
  double cutoff = 0.0;          // scores at or above it are called
  double lowerMean = 0.0;       // mean capped score of each group
  double upperMean = 0.0;
  std::size_t windows = 0;  // windows scored
  std::size_t called = 0;   // windows in the upper group
  double cap = 0.0;         // the 99.5th percentile (nearest rank)
};

// The rule above. The groups and their means are filled whenever a split exists,
// even when a guard then says no islands.
NaturalCutoff naturalCutoff(const std::vector<ScoredWindow>& windows);

}  // namespace morvale::natural
