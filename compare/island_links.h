// Single-linkage clusters of sketched islands: two islands are linked when their
// containment distance is at most a limit, and clusters are the connected groups.
// Only pairs that share a hash are compared (two islands that share none are 1
// apart), found through an index from hash to islands, so the work grows with the
// hashes shared (the sum over hashes of the squared number of islands holding it),
// not with all n^2 pairs.
#pragma once

#include <cstddef>
#include <vector>

#include "compare/sketch.h"

namespace morvale::compare {

// The cluster of each island, named by its first (lowest-numbered) member:
// cluster[i] == cluster[j] exactly when a chain of links of distance at most
// `maxDistance` joins i and j; a distance equal to `maxDistance` as written (0.3 for
// 7 of 10 hashes shared, which 1 - 0.7 rounds above 0.3) joins. A `maxDistance` of 1
// joins every island, those with empty sketches too; below 1, islands with empty
// sketches stay alone. The result
// depends only on the sketches, not on their order or on threads. Sketches hold at
// most 65,535 hashes (kSketchSize is 1,000).
std::vector<std::size_t> linkIslands(const std::vector<Sketch>& sketches, double maxDistance);

}  // namespace morvale::compare
