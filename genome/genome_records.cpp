#include "genome/genome_records.h"

#include <algorithm>

namespace morvale {

std::int64_t recordPosition(const GenomeRecord& r, std::int64_t at) {
  auto run = std::upper_bound(r.runs.begin(), r.runs.end(), at,
                              [](std::int64_t a, const RecordRun& x) { return a < x.joinedStart; });
  if (run == r.runs.begin()) return 0;
  --run;
  return run->recordStart + (at - run->joinedStart);
}

std::int64_t joinedPosition(const GenomeRecord& r, std::int64_t position) {
  auto run = std::upper_bound(
      r.runs.begin(), r.runs.end(), position,
      [](std::int64_t p, const RecordRun& x) { return p < x.recordStart + x.length; });
  if (run == r.runs.end()) return r.joinedEnd;
  return run->joinedStart + std::max<std::int64_t>(0, position - run->recordStart);
}

std::vector<RecordPiece> recordPieces(const std::vector<GenomeRecord>& records, std::int64_t start,
                                      std::int64_t end) {
  std::vector<RecordPiece> pieces;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const GenomeRecord& r = records[i];
    const std::int64_t from = std::max(start, r.joinedStart);
    const std::int64_t to = std::min(end, r.joinedEnd);
    if (from >= to) continue;
    pieces.push_back({i, recordPosition(r, from), recordPosition(r, to - 1) + 1});
  }
  return pieces;
}

}  // namespace morvale
