#include "natural/bin_islands.h"

#include <algorithm>

namespace morvale::natural {

std::vector<std::pair<std::int64_t, std::int64_t>> binIslands(
    const Genome& genome, const std::vector<ScoredWindow>& windows, double cutoff,
    const NaturalSettings& settings) {
  std::vector<std::pair<std::int64_t, std::int64_t>> islands;
  std::vector<std::vector<const ScoredWindow*>> byRecord(genome.records.size());
  for (const ScoredWindow& w : windows)
    if (w.record < byRecord.size()) byRecord[w.record].push_back(&w);
  std::vector<double> sum;
  std::vector<std::int64_t> count;
  for (std::size_t r = 0; r < genome.records.size(); ++r) {
    const std::int64_t rs = genome.records[r].joinedStart;
    const std::int64_t re = genome.records[r].joinedEnd;
    const std::int64_t bins = (re - rs + kBinLetters - 1) / kBinLetters;
    sum.assign(static_cast<std::size_t>(bins), 0.0);
    count.assign(static_cast<std::size_t>(bins), 0);
    for (const ScoredWindow* w : byRecord[r]) {
      const std::int64_t start = std::max(w->start, rs);
      const std::int64_t end = std::min(w->end, re);
      if (start >= end) continue;
      for (std::int64_t b = (start - rs) / kBinLetters; b <= (end - 1 - rs) / kBinLetters; ++b) {
        sum[static_cast<std::size_t>(b)] += w->score;
        ++count[static_cast<std::size_t>(b)];
      }
    }
    std::int64_t open = -1;  // the first bin of the run being joined, -1 for none
    for (std::int64_t b = 0; b <= bins; ++b) {
      const std::size_t i = static_cast<std::size_t>(b);
      const bool high =
          b < bins && count[i] > 0 && sum[i] / static_cast<double>(count[i]) >= cutoff;
      if (high && open < 0) open = b;
      if (high || open < 0) continue;
      const std::int64_t start = rs + open * kBinLetters;
      const std::int64_t end = std::min(rs + b * kBinLetters, re);
      if (end - start >= settings.minLength) islands.emplace_back(start, end);
      open = -1;
    }
  }
  return islands;
}

}  // namespace morvale::natural
