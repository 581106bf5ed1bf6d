#include "compare/island_links.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <utility>

namespace morvale::compare {

namespace {

class UnionFind {
 public:
  explicit UnionFind(std::size_t n) : parent_(n) {
    std::iota(parent_.begin(), parent_.end(), std::size_t{0});
  }
  std::size_t find(std::size_t i) {
    while (parent_[i] != i) i = parent_[i] = parent_[parent_[i]];
    return i;
  }
  // The lower root becomes the root of both: the root is the set's first member.
  void join(std::size_t a, std::size_t b) {
    a = find(a);
    b = find(b);
    if (a != b) parent_[std::max(a, b)] = std::min(a, b);
  }

 private:
  std::vector<std::size_t> parent_;
};

}  // namespace

std::vector<std::size_t> linkIslands(const std::vector<Sketch>& sketches, double maxDistance) {
  const std::size_t n = sketches.size();
  // Every distance is at most 1.
  if (maxDistance >= 1.0) return std::vector<std::size_t>(n, 0);
  // Distances are 1 - shared / fewer with at most 65,535 hashes, so two that differ
  // differ by more than 1e-10; the slack only absorbs the rounding of 1 - x.
  const double limit = maxDistance + 1e-12;
  // The index, hash -> islands: every (hash, island) sorted, then each hash's islands
  // (ascending) stored together; `slot` says where each sketch entry went.
  std::vector<std::pair<std::uint64_t, std::uint32_t>> pairs;
  std::size_t total = 0;
  for (const Sketch& s : sketches) total += s.hashes.size();
  pairs.reserve(total);
  for (std::size_t i = 0; i < n; ++i)
    for (std::uint64_t h : sketches[i].hashes) pairs.emplace_back(h, static_cast<std::uint32_t>(i));
  std::sort(pairs.begin(), pairs.end());
  std::vector<std::uint32_t> island(total);    // posting lists, end to end
  std::vector<std::uint32_t> runStart(total);  // where the posting list of entry k starts
  std::vector<std::size_t> offset(n + 1, 0);   // island i's entries: [offset[i], offset[i+1])
  for (std::size_t k = 0; k < total; ++k) {
    island[k] = pairs[k].second;
    runStart[k] = k > 0 && pairs[k - 1].first == pairs[k].first ? runStart[k - 1]
                                                                : static_cast<std::uint32_t>(k);
    ++offset[pairs[k].second + 1];
  }
  for (std::size_t i = 0; i < n; ++i) offset[i + 1] += offset[i];
  std::vector<std::uint32_t> entries(total);  // island i's positions in the index
  {
    std::vector<std::size_t> next(offset.begin(), offset.end() - 1);
    for (std::size_t k = 0; k < total; ++k)
      entries[next[pairs[k].second]++] = static_cast<std::uint32_t>(k);
  }
  pairs.clear();
  pairs.shrink_to_fit();

  UnionFind sets(n);
  // Hashes island i shares with each earlier island (at most kSketchSize of them).
  std::vector<std::uint16_t> shared(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t e = offset[i]; e < offset[i + 1]; ++e) {
      const std::uint32_t at = entries[e];
      for (std::uint32_t k = runStart[at]; k < at; ++k) ++shared[island[k]];
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (shared[j] == 0) continue;
      if (sets.find(j) != sets.find(i) &&
          containmentDistance(sketches[i], sketches[j], shared[j]) <= limit)
        sets.join(i, j);
      shared[j] = 0;
    }
  }
  std::vector<std::size_t> cluster(n);
  for (std::size_t i = 0; i < n; ++i) cluster[i] = sets.find(i);
  return cluster;
}

}  // namespace morvale::compare
