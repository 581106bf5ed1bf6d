// The three profile distances of the six measures: absolute (1, 4), Euclidean
// (2, 5) and symmetric Kullback-Leibler with the ratio bounded to [0.001, 1000]
// (3, 6). Sums run over key indices in ascending order, starting from 0.0.
#pragma once

#include "kmer/kmer_tree.h"

namespace morvale {

enum class Distance { kAbsolute, kEuclidean, kKullbackLeibler, kNone };

// The distance a measure (1..6) selects; kNone outside 1..6.
Distance distanceOf(int measure);

// R(u, v): 1000 when v is 0; otherwise u / v bounded to [0.001, 1000].
double boundedRatio(double u, double v);

// The per-key term of a distance (before the Euclidean square root).
double distanceTerm(Distance d, double x, double y);

// Distance between profiles x and y from their non-zero entries. Keys zero in both
// profiles add exactly +0.0 to a sum that is never -0.0, so summing over the union
// of the keys in ascending order equals the sum over all 4^k keys bit for bit.
double profileDistance(Distance d, const SparseProfile& x, const SparseProfile& y);

}  // namespace morvale
