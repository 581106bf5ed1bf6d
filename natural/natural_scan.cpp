#include "natural/natural_scan.h"

#include <new>

#include "natural/bin_islands.h"

namespace morvale::natural {

NaturalScan runNaturalScan(const Genome& genome, const NaturalSettings& settings,
                           WorkerPool& workers, const std::function<bool()>& stopRequested) {
  NaturalScan scan;
  scan.error = naturalSettingsProblem(settings);
  if (!scan.error.empty()) {
    scan.status = NaturalStatus::kFailed;
    return scan;
  }
  try {
    std::optional<std::vector<ScoredWindow>> windows =
        scoreWindows(genome, settings, workers, stopRequested);
    if (!windows) {
      scan.status = NaturalStatus::kInterrupted;
      return scan;
    }
    scan.windows = std::move(*windows);
    scan.cutoff = naturalCutoff(scan.windows);
    if (scan.cutoff.islandsCalled)
      scan.islands = binIslands(genome, scan.windows, scan.cutoff.cutoff, settings);
  } catch (const std::bad_alloc&) {
    scan = NaturalScan();
    scan.status = NaturalStatus::kFailed;
    scan.error = "the natural scan ran out of memory";
  }
  return scan;
}

}  // namespace morvale::natural
