#include "stats/pool_pairs.h"

namespace morvale {

namespace {
constexpr int kMaxKeptRows = 2048;
}

void PoolPairDistances::reset(int rows) {
  rows_ = rows <= kMaxKeptRows ? rows : 0;
  const std::size_t cells = static_cast<std::size_t>(rows_) * static_cast<std::size_t>(rows_);
  value_.assign(cells, 0.0);
  known_.assign(cells, 0);
  pending_.clear();
}

void PoolPairDistances::want(int a, int b) {
  std::uint8_t& known = known_[cell(a, b)];
  if (known) return;
  known = 1;
  pending_.emplace_back(a, b);
}

void PoolPairDistances::fill(std::size_t i, double distance) {
  value_[cell(pending_[i].first, pending_[i].second)] = distance;
}

}  // namespace morvale
