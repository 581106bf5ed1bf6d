#include "scan/refinement_scan.h"

#include <cstdlib>

namespace morvale {

std::string backgroundSequence(const std::string& genome, const std::vector<std::int64_t>& v) {
  std::string background;
  std::int64_t from = 0;
  for (std::size_t i = 0; i + 1 < v.size(); i += 2) {
    background.append(genome, static_cast<std::size_t>(from),
                      static_cast<std::size_t>(v[i] - from));
    from = v[i + 1];
  }
  background.append(genome, static_cast<std::size_t>(from), std::string::npos);
  return background;
}

ScanOutcome IslandII(const RefinementSettings& s, int tupleSize, int measure,
                     const std::string& letters, const std::vector<std::int64_t>& islands,
                     unsigned seed, const std::string& scoreFile, ScanProgress& progress,
                     WorkerPool& workers) {
  ScanContext scan(tupleSize, measure, s.drawCount, scoreFile, progress, workers);
  ScanOutcome outcome;
  outcome.error = removeStaleFile(scan);
  if (!outcome.error.empty()) {
    outcome.result = ScanResult::kFailed;
    return outcome;
  }
  const std::int64_t w = s.windowSize;
  std::vector<WindowRun> runs;
  std::int64_t planned = 0;
  for (std::size_t i = 0; i + 1 < islands.size(); i += 2) {
    const std::int64_t span = islands[i + 1] - w - islands[i];
    const std::int64_t count = span > 0 ? (span + s.windowStep - 1) / s.windowStep : 0;
    runs.push_back(WindowRun{islands[i], s.windowStep, count});
    planned += count * s.scanCount;
  }
  progress.scanPlanned(planned);

  const std::string background = backgroundSequence(letters, islands);
  const auto b = static_cast<std::int64_t>(background.size());
  const auto g = static_cast<std::int64_t>(letters.size());
  std::srand(seed);
  // One pool for the whole call; offsets lie in [0, B - W - 2].
  outcome.error = drawPool(scan, s.poolSize, background, w, b - w - 1, g - w);
  if (!outcome.error.empty()) {
    outcome.result = ScanResult::kFailed;
    return outcome;
  }
  return scoreWindows(scan, ScanPhase::kRefinement, letters, w, runs, s.scanCount);
}

}  // namespace morvale
