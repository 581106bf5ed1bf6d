#include "scan/island_one.h"

#include <cstdlib>
#include <iostream>

#include "app/platform.h"
#include "islands/result_files.h"

namespace morvale {

namespace {

// Scores every window of size w. False when a row could not be written.
bool slide(ScanState& run, std::int64_t w) {
  const std::int64_t length = run.genome.length;
  for (std::int64_t start = 0; start < length - w; start += run.windowStep) {
    const std::int64_t centre = start + w / 2;
    platform().clearScreen(std::cout);
    std::cout << w << " window is running at " << centre << " bp position" << std::endl;
    profileWindow(run.tree, run.genome.letters, start, static_cast<int>(w), run.measure,
                  run.window);
    const ScoreOutcome outcome =
        distanceI(run.k, w, run.drawCount, run.ws, static_cast<double>(centre), start, run.measure,
                  run.window, run.pool, run.poolSize);
    if (!handleScore(outcome, centre, run.scoreFile)) return false;
  }
  return true;
}

}  // namespace

ScanResult IslandI(int tupleSize, int windowSize, int drawCount, int windowStep,
                   int windowIncrement, const std::string& genomeFileName, int measure,
                   int poolSize) {
  ScanState run;
  run.setParameters(tupleSize, drawCount, windowStep, measure, poolSize,
                    resultFileNames(measure).firstScores);
  // The genome is checked before the last run's window-score file is removed, so
  // a run that cannot start leaves the earlier results as they were.
  if (!loadGenome(genomeFileName, windowSize, run.genome)) return ScanResult::kFailed;
  if (run.genome.status == GenomeStatus::kTooShort) {
    std::cout << "Check the Window size [Sugg: Minimize it]" << std::endl;
    return ScanResult::kStopOk;
  }
  removeStaleFile(run.scoreFile);
  buildtree(run.tree, tupleSize);
  if (windowSize > kMaxFirstPhaseWindow) return ScanResult::kCompleted;

  const std::int64_t length = run.genome.length;
  for (std::int64_t w = windowSize;;) {
    if (length - w - 1 < 1) {
      std::cout << "No room for a random sample of " << w << " letters in a genome of " << length
                << " letters; larger window sizes are not scanned" << std::endl;
      break;
    }
    std::cout << "Generating random sample for " << w << " probing window" << std::endl;
    std::srand(static_cast<unsigned>(platform().now()));
    // Sample starts lie in [0, L - W - 2].
    if (!drawPool(run, run.genome.letters, w, length - w - 1, length - w) || !slide(run, w))
      return ScanResult::kFailed;
    w += windowIncrement;
    if (w >= length || w > kMaxFirstPhaseWindow) break;
  }
  return ScanResult::kCompleted;
}

}  // namespace morvale
