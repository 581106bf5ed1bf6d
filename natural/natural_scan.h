// The natural scan whole: the windows scored against the genome's own composition,
// the cut-off fitted to their scores, and the islands assembled from 1000-letter
// bins. It finds a genome's own, older islands without planted or known ones.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/worker_pool.h"
#include "genome/genome.h"
#include "natural/natural_cutoff.h"
#include "natural/natural_settings.h"
#include "natural/window_scores.h"

namespace morvale::natural {

enum class NaturalStatus {
  kCompleted,    // windows, cut-off and islands are filled (islands may be none)
  kInterrupted,  // stopRequested said stop; nothing is filled
  kFailed,       // `error` says why (settings out of range, no memory)
};

struct NaturalScan {
  NaturalStatus status = NaturalStatus::kCompleted;
  std::string error;
  std::vector<ScoredWindow> windows;
  NaturalCutoff cutoff;
  std::vector<std::pair<std::int64_t, std::int64_t>> islands;  // genome letters [start, end)
};

// Runs the three steps on `workers`. `stopRequested` (may be empty) is asked on the
// calling thread between rounds of window blocks. Throws nothing.
NaturalScan runNaturalScan(const Genome& genome, const NaturalSettings& settings,
                           WorkerPool& workers,
                           const std::function<bool()>& stopRequested = nullptr);

}  // namespace morvale::natural
