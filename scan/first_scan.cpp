#include "scan/first_scan.h"

#include <cstdlib>

namespace morvale {

std::int64_t windowsOfSize(std::int64_t length, std::int64_t w, std::int64_t step) {
  return length > w ? (length - w + step - 1) / step : 0;
}

ScanOutcome IslandI(const FirstPhaseSettings& s, const std::string& letters, unsigned seed,
                    const std::string& scoreFile, ScanProgress& progress, WorkerPool& workers) {
  ScanContext scan(s.tupleSize, s.measure, s.drawCount, scoreFile, progress, workers);
  ScanOutcome outcome;
  outcome.error = removeStaleFile(scan);
  if (!outcome.error.empty()) {
    outcome.result = ScanResult::kFailed;
    return outcome;
  }
  if (s.windowSize > kMaxFirstPhaseWindow) return outcome;
  const auto length = static_cast<std::int64_t>(letters.size());
  std::int64_t planned = 0;
  for (std::int64_t w = s.windowSize; w < length && w <= kMaxFirstPhaseWindow;
       w += s.windowIncrement)
    planned += windowsOfSize(length, w, s.windowStep);
  progress.scanPlanned(planned);

  for (std::int64_t w = s.windowSize;;) {
    if (length - w - 1 < 1) {
      progress.noRoomForSamples(w, length);
      break;
    }
    progress.windowSizeStarted(w);
    std::srand(seed);
    // Sample starts lie in [0, L - W - 2].
    outcome.error = drawPool(scan, s.poolSize, letters, w, length - w - 1, length - w);
    if (!outcome.error.empty()) {
      outcome.result = ScanResult::kFailed;
      return outcome;
    }
    ScanOutcome size =
        scoreWindows(scan, ScanPhase::kFirst, letters, w,
                     {WindowRun{0, s.windowStep, windowsOfSize(length, w, s.windowStep)}}, 1);
    size.windowsTested += outcome.windowsTested;
    if (size.result != ScanResult::kCompleted) return size;
    outcome.windowsTested = size.windowsTested;
    w += s.windowIncrement;
    if (w >= length || w > kMaxFirstPhaseWindow) break;
  }
  return outcome;
}

}  // namespace morvale
