// Distances between pool rows, kept for the life of one pool: a distance is
// symmetric bit for bit, and the same pairs recur across the windows of a pool.
// Pairs are asked for first (in draw order) and computed afterwards, possibly on
// several threads, so reading them needs no lock.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "kmer/sample_pool.h"
#include "stats/distance.h"

namespace morvale {

class PoolPairDistances {
 public:
  // Forgets everything; call whenever the pool is redrawn. Pools of more than
  // 2048 rows are not kept (their table would pass 32 MiB).
  void reset(int rows);
  bool keeps() const { return rows_ > 0; }

  // Notes that the pair (a, b) will be read; unknown pairs join the pending list.
  void want(int a, int b);
  // The pairs noted since the last fill, each once.
  const std::vector<std::pair<int, int>>& pending() const { return pending_; }
  // Stores the distance of pending pair i.
  void fill(std::size_t i, double distance);
  void clearPending() { pending_.clear(); }

  // The distance of a pair that was wanted and filled.
  double get(int a, int b) const { return value_[cell(a, b)]; }

 private:
  std::size_t cell(int a, int b) const {
    return static_cast<std::size_t>(a < b ? a : b) * static_cast<std::size_t>(rows_) +
           static_cast<std::size_t>(a < b ? b : a);
  }
  int rows_ = 0;
  std::vector<double> value_;
  std::vector<std::uint8_t> known_;
  std::vector<std::pair<int, int>> pending_;
};

}  // namespace morvale
