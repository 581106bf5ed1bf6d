// The three profile distances of the six measures: absolute (1, 4), Euclidean
// (2, 5) and symmetric Kullback-Leibler with the ratio bounded to [0.001, 1000]
// (3, 6). Sums run over key indices in ascending order, starting from 0.0.
#pragma once

#include <cstdint>
#include <vector>

#include "kmer/profile.h"

namespace morvale {

enum class Distance { kAbsolute, kEuclidean, kKullbackLeibler, kNone };

// The distance a measure (1..6) selects; kNone outside 1..6.
Distance distanceOf(int measure);

// R(u, v): 1000 when v is 0; otherwise u / v bounded to [0.001, 1000].
double boundedRatio(double u, double v);

// The per-key term of a distance (before the Euclidean square root).
double distanceTerm(Distance d, double x, double y);

// Working space of the distances, one per thread: the Kullback-Leibler terms of a
// pair are laid out first and summed afterwards, and the terms of keys present in
// both profiles are remembered by their two values (profiles of one window size
// hold few distinct values, so most of their logarithms are computed once).
class DistanceScratch {
 public:
  DistanceScratch();
  // The Kullback-Leibler term of two non-zero values, computed once per pair of
  // values while it stays in the table.
  double klTerm(double x, double y);

  std::vector<double> terms;
  std::vector<std::uint32_t> sharedAt;
  std::vector<double> sharedX;
  std::vector<double> sharedY;

 private:
  struct Entry {
    std::uint64_t x;
    std::uint64_t y;
    double term;
  };
  std::vector<Entry> memo_;
};

// Distance between profiles x and y from their non-zero entries. Keys zero in both
// profiles add exactly +0.0 to a sum that is never -0.0, so summing over the union
// of the keys in ascending order equals the sum over all 4^k keys bit for bit.
double profileDistance(Distance d, const SparseProfile& x, const SparseProfile& y,
                       DistanceScratch& scratch);

}  // namespace morvale
